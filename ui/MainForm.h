#pragma once

#include "ui/MainActions.h"
#include "ui/MainPages.h"
#include "ui/document/UserSettings.h"

#include <QMainWindow>
#include <QString>
#include <memory>

class QLabel;

namespace ornis {

class ClockBeat;
class ConfigEditor;
class ConfigView;
class Document;
class FileActions;
class FileChooser;
class LinkPortList;
class LocalClock;
class MainPageTabs;
class PortChooser;
class ProgressPanel;
class TransferEngine;
class TransferFlow;
class TransferPage;
class UnsavedAtClose;
class UserDialogs;
struct ExchangeConfig;

// What the window is given to work with; all of it outlives the window.
struct MainFormServices
{
    LinkPortList &ports;
    UserDialogs &dialogs;
    const LocalClock &clock;
    // The preferences file; empty keeps no preferences.
    QString preferencesPath;
    // The port entry the start-up probe tries before the others (the built-in virtual
    // exchange of the demo mode); -1 for list order.
    int preferredPort = -1;
    // The folder the file dialogs start in until one is used; empty for the dialogs' own
    // choice. Each kind of file then starts in the folder last used for it.
    QString fileFolder;
    // The list of settings files last used; empty keeps it for this run only.
    QString recentFilesPath;
    // Where the line trace writes a file for each transfer when the user switches it on;
    // empty offers no trace.
    QString traceFolder;
    // The folder of the automatic backups; empty keeps none.
    QString backupFolder;
    // What the window remembers for the user ("Ověřit po zápisu", a write ended by
    // closing, edits kept at closing, the folders of the file dialogs); empty keeps it for
    // this run only.
    QString userSettingsPath;
    // The beat of the clock button; none: a timer of the window's own.
    ClockBeat *clockBeat = nullptr;
};

// The program's one window. It composes the parts and hands each action to its part: the
// document (the configuration and what keeps it), the pages that show it, the transfers,
// the port list, the files and the report.
class TMainForm final : public QMainWindow
{
    Q_OBJECT

public:
    // At 8-point type on a 96-dpi screen.
    static constexpr QSize ClientSize {603, 470};

    explicit TMainForm(const MainFormServices &services, QWidget *parent = nullptr);
    ~TMainForm() override;

    [[nodiscard]] Document &document() const { return *document_; }
    [[nodiscard]] const ExchangeConfig &config() const;
    // The one way into the configuration, and the history of its changes.
    [[nodiscard]] ConfigEditor &editor() const;
    [[nodiscard]] TransferEngine &engine() const;
    [[nodiscard]] const MainActions &actions() const { return actions_; }
    [[nodiscard]] TransferPage &page(MainPage page) const;
    // The view that shows `page`; the window tells it what changed and collects its edits.
    void setView(MainPage page, ConfigView *view);
    // Builds the controls of every page now rather than when each is first shown.
    void ensurePagesBuilt();
    // The settings file last opened or saved; empty until then.
    [[nodiscard]] const QString &FileName() const;

    // Shows the exchange model the configuration holds, and the pages that go with it.
    void cbCentralTypeChange();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A settings file dropped on the window opens as if chosen in the open dialog.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void setUpFrame();
    // The fixed size: the client area at 8-point type, or what the pages built so far need.
    void fitToContents();
    // Where the user last left the window, if it is still on a screen.
    void restorePosition();
    void buildStatusBar();
    // The transfers, the port list, and the gate of changes while a transfer runs.
    void buildTransfers(const MainFormServices &services);
    void buildFileAndTableActions(const MainFormServices &services);
    void connectActions();
    void connectHistory();
    void startClock(ClockBeat *beat);
    void FormCreate(int preferredPort);
    // The caption names the file, followed by "*" while the window holds edits that are in
    // no file.
    void showFileName(const QString &path);

    // Handlers.
    void acReceiveExecute();
    void acSendExecute();
    void acSendRTCExecute();
    void acStopExecute();
    void acDefExecute();
    void acAboutExecute();
    void acTraceExecute(bool on);
    void acCompareExecute();
    void ClockTimerTimer();
    void pcMainChange();
    // What the user is typing in the focused field goes into the model, before any action.
    void commitTypedText();

    MainActions actions_;
    UserDialogs &dialogs_;
    const LocalClock &clock_;
    const QString traceFolder_;
    QString appTitle_;
    UserSettings settings_;
    Document *document_;
    std::unique_ptr<UnsavedAtClose> unsavedAtClose_;
    MainPageTabs *pcMain_ = nullptr;
    QLabel *transferStatus_ = nullptr;
    ProgressPanel *progress_ = nullptr;
    std::unique_ptr<FileChooser> fileChooser_;
    FileActions *fileActions_ = nullptr;
    TransferFlow *transfers_ = nullptr;
    std::unique_ptr<PortChooser> portChooser_;
};

} // namespace ornis
