#pragma once

#include "ui/pages/ButtonStrip.h"

#include <QWidget>
#include <functional>

class QVBoxLayout;

namespace ornis {

// A page of `pcMain` other than "Konfigurace": what it shows above, its strip of three
// buttons below.
class TransferPage final : public QWidget
{
    Q_OBJECT

public:
    // `name` is the page's object name (tsSetting); `suffix` names its buttons.
    TransferPage(const QString &name, const MainActions &actions, const QString &suffix,
        QWidget *parent = nullptr);

    // Puts the page's own controls above the buttons; the page becomes their parent.
    void setContent(QWidget *content);
    // Builds the page's own controls with `build` (given the page as parent) when the page
    // is first shown or ensureContent() asks: a window does not build pages nobody opens.
    void setContentBuilder(std::function<QWidget *(QWidget *parent)> build);
    void ensureContent();
    // Keeps `height` for the page's own controls while they are not built yet.
    void reserveContentHeight(int height);

signals:
    // The page's own controls were built and stand above the buttons.
    void contentBuilt(QWidget &content);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void putButtonsAfter(QWidget &content);

    QVBoxLayout *layout_;
    ButtonStrip *strip_;
    std::function<QWidget *(QWidget *parent)> build_;
};

} // namespace ornis
