#pragma once

#include "config/ExchangeConfig.h"
#include "link/TransferObserver.h"
#include "ui/DocumentHost.h"
#include "ui/MainActions.h"
#include "ui/MainPages.h"
#include "ui/document/BackupFolder.h"
#include "ui/document/UserSettings.h"
#include "ui/transfer/ExchangeComparison.h"
#include "ui/transfer/WriteVerification.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QTabWidget;

namespace ornis {

class ClockBeat;
class ConfigEditor;
class ConfigView;
class DialClipboard;
class DialPage;
class FileActions;
class LinkPortList;
class LocalClock;
class PacedRepaints;
class PortChooser;
class ProgressPanel;
class ReportPrinter;
class SetupPage;
class TransferEngine;
class TransferGuard;
class TransferPage;
class TransferWatch;
class UserDialogs;

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
    // The folder the file dialogs start in; empty for the dialogs' own choice.
    QString fileFolder;
    // The list of settings files last used; empty keeps it for this run only.
    QString recentFilesPath;
    // Where the line trace writes a file for each transfer when the user switches it on;
    // empty offers no trace.
    QString traceFolder;
    // The folder of the automatic backups; empty keeps none.
    QString backupFolder;
    // What the window remembers for the user ("Ověřit po zápisu", a write ended by
    // closing); empty keeps it for this run only.
    QString userSettingsPath;
    // The beat of the clock button; none: a timer of the window's own.
    ClockBeat *clockBeat = nullptr;
};

// The program's one window: it owns the configuration, the link to the exchange and the
// views, and runs the actions.
class TMainForm final : public QMainWindow, public DocumentHost, private TransferObserver
{
    Q_OBJECT

public:
    static constexpr QSize ClientSize {603, 470};

    explicit TMainForm(const MainFormServices &services, QWidget *parent = nullptr);
    ~TMainForm() override;

    [[nodiscard]] const ExchangeConfig &config() const override;
    // The one way into the configuration, and the history of its changes.
    [[nodiscard]] ConfigEditor &editor() override { return *editor_; }
    [[nodiscard]] TransferEngine &engine() { return *engine_; }
    [[nodiscard]] const MainActions &actions() const { return actions_; }
    [[nodiscard]] TransferPage &page(MainPage page) const;
    // The view that shows `page`; the window refreshes it and collects its edits.
    void setView(MainPage page, ConfigView *view);
    // Builds the controls of every page now rather than when each is first shown.
    void ensurePagesBuilt();

    // Operations on the views. The rows of the dial pages are bound to their records: a
    // store only commits what the user is typing in one of them.
    void FillShortDialPage();
    void StoreShortDialPage() override;
    void FillPEPage();
    void StorePEPage() override;
    // Shows the exchange model the configuration holds, and the pages that go with it.
    void cbCentralTypeChange();

    [[nodiscard]] const BackupFolder &backups() const { return backups_; }
    // The configuration's `blocks` as they are now are kept: in a file, or in the exchange
    // and a backup.
    void markConfigKept(BlockSet blocks = BlockSet::all()) override;

    // DocumentHost
    void backUpUnsavedEdits() override;
    [[nodiscard]] QString backupPath() const override { return backups_.path(); }
    [[nodiscard]] const QString &FileName() const override { return fileName_; }
    // Records a loaded or saved file: the caption names it, followed by "*" while the
    // window holds edits that are in no file, which it holds none of now.
    void setFileName(const QString &path) override;
    [[nodiscard]] UserDialogs &dialogs() override { return dialogs_; }
    [[nodiscard]] QWidget *dialogParent() override { return this; }

    // Runs an action that replaces the configuration or the line: at once while idle,
    // else once the running transfer is ended, if the user agrees to end it.
    void runWhenIdle(std::function<void()> action) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    // A settings file dropped on the window opens as if chosen in the open dialog.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void FormCreate(int preferredPort);
    void buildPages();
    // Makes `view` the view of `page`, showing the model, and hands it back.
    template<typename Page> Page *addView(MainPage page, Page *view);

    // Handlers.
    void acReceiveExecute();
    void acSendExecute();
    void acSendRTCExecute();
    void acStopExecute();
    void acDefExecute();
    void acAboutExecute();
    void acTraceExecute(bool on);
    void ClockTimerTimer();
    void pcMainChange();
    void acCompareExecute();
    void acVerifyAfterWriteExecute(bool on);
    // The message of a write that the last run ended by closing the window, if any.
    void reportWriteEndedByClosing();
    // A write, or its read-back, ended.
    void verificationStep(TransferEnd end);

    void askForTransfer(Direction direction);
    // Asks about call-back targets the services block cannot carry, then starts `mode`.
    void startWithServicesCheck(TransferMode mode);
    void startTransfer(TransferMode mode);
    // Starts `mode` on `target`: the window's configuration or a comparison's copy.
    void beginTransfer(TransferMode mode, ExchangeConfig &target);
    [[nodiscard]] Status storeUnsavedEdits();
    // What the user is typing in the focused field goes into the model, before any action.
    void commitTypedText();
    void connectHistory();
    void resetPageInView();

    // TransferObserver
    void transferModeChanged(TransferMode mode) override;
    void progressChanged(bool visible, int percent) override;
    void valuesStored(const FieldRange &range) override;
    void readWarning(const std::string &message) override;
    void transferFailed(const std::string &message) override;
    void transferEnded(TransferEnd end) override;

    template<typename Call> void forEachView(Call call);

    ConfigEditor *editor_;
    UserDialogs &dialogs_;
    const LocalClock &clock_;
    const QString preferencesPath_;
    const QString traceFolder_;
    QString appTitle_;
    QString fileName_;
    const BackupFolder backups_;
    // The configuration as last loaded, saved, read, written or backed up.
    ExchangeConfig kept_;
    MainActions actions_;
    FileActions *fileActions_ = nullptr;
    ReportPrinter *reportPrinter_ = nullptr;

    QTabWidget *pcMain_ = nullptr;
    SetupPage *setupPage_ = nullptr;
    std::array<TransferPage *, MainPageCount> pages_ {};
    std::array<ConfigView *, MainPageCount> views_ {};
    DialPage *shortDialPage_ = nullptr;
    DialPage *pePage_ = nullptr;
    // Rows of the dial pages to and from the clipboard; the pages announce their rows.
    DialClipboard *clipboard_ = nullptr;
    ProgressPanel *progress_ = nullptr;
    PacedRepaints *repaints_ = nullptr;
    ClockBeat *clockBeat_ = nullptr;

    // Both outlive the engine, which may still report the end of a transfer.
    std::unique_ptr<TransferWatch> watch_;
    ExchangeComparison comparison_;
    WriteVerification verification_;
    UserSettings settings_;
    std::unique_ptr<TransferEngine> engine_;
    std::unique_ptr<PortChooser> portChooser_;
    std::unique_ptr<TransferGuard> guard_;
    // The window is going; the end of a transfer its port ends is no news.
    bool closing_ = false;
    // The window closes once the transfer that closing ended is over.
    bool closeDue_ = false;
};

} // namespace ornis
