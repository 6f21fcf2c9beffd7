#pragma once

#include "ui/MainPages.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QWidget;

namespace ornis {

class ConfigEditor;
class UserDialogs;
struct MainActions;

// acUndo and acRedo: each walks one step of the history and names it in the status bar
// ("Zpět: Pobočka 21, Call"), with the pages it changed when they are not in view. Undoing
// a read is asked about first, as the read was.
class HistoryActions final : public QObject
{
    Q_OBJECT

public:
    struct Setup
    {
        UserDialogs &dialogs;
        QWidget *dialogParent;
        // The page in view; none while no page is.
        std::function<std::optional<MainPage>()> pageInView;
        // Shows a word in the status bar.
        std::function<void(const QString &text)> say;
    };

    HistoryActions(ConfigEditor &editor, const MainActions &actions, Setup setup, QObject *parent);

    void undo();
    void redo();

private:
    enum class Way { Back, Forward };

    void walk(Way way);
    // " (na stránce Služby)": the pages of `pages` other than the one in view.
    [[nodiscard]] QString pagesNote(const std::vector<MainPage> &pages) const;
    void showStep(QAction *action, Way way, const QString &step, const QString &idle) const;

    ConfigEditor &editor_;
    Setup setup_;
};

} // namespace ornis
