#include "MainForm.h"

#include "common/BlockNames.h"
#include "common/FilePath.h"
#include "config/AppConfigFile.h"
#include "config/FactoryDefaults.h"
#include "config/Numbering.h"
#include "link/CallBackTargets.h"
#include "link/TransferEngine.h"
#include "qtlink/QtLinkPort.h"
#include "ui/clock/ClockBeat.h"
#include "ui/clock/ClockText.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/document/DialClipboard.h"
#include "ui/document/DialCsvActions.h"
#include "ui/document/FileActions.h"
#include "ui/editing/ConfigEditor.h"
#include "ui/editing/ConfigView.h"
#include "ui/pages/DialPage.h"
#include "ui/pages/ServicesPage.h"
#include "ui/pages/SettingPage.h"
#include "ui/pages/SetupPage.h"
#include "ui/pages/TransferPage.h"
#include "ui/ports/LinkPortList.h"
#include "ui/ports/PortChooser.h"
#include "ui/report/ReportPrinter.h"
#include "ui/transfer/PacedRepaints.h"
#include "ui/transfer/TransferGuard.h"
#include "ui/transfer/TransferSteps.h"
#include "ui/transfer/TransferWatch.h"
#include "ui/widgets/ProgressPanel.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>
#include <functional>

namespace ornis {

namespace {

constexpr int ClockInterval = 1000; // ms

// The name of a read in the history: "Zpět: Načtení z ústředny".
const QString ReadStepText = QStringLiteral("Načtení z ústředny");

// The one local file a drop brings, if it brings exactly one.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

// "Pobočka 21 dostane" / "Pobočky 21, 23 dostanou": who gets "vyp" instead.
QString callBackQuestion(const std::vector<int> &extensions)
{
    QStringList numbers;
    for (const int index : extensions)
        numbers.append(QString::number(extensionNumber(index)));
    const QString who = extensions.size() == 1
        ? QStringLiteral("Pobočka %1 dostane").arg(numbers.first())
        : QStringLiteral("Pobočky %1 dostanou").arg(numbers.join(u", "));
    return QStringLiteral("Zpětné vyzvánění na státní linku (91 až 94) nelze do ústředny "
                          "zapsat. %1 místo něj „vyp“.\n\nPokračovat v zápisu ?")
        .arg(who);
}

} // namespace

TMainForm::TMainForm(const MainFormServices &services, QWidget *parent)
    : QMainWindow(parent)
    , editor_(new ConfigEditor(this))
    , dialogs_(services.dialogs)
    , clock_(services.clock)
    , preferencesPath_(services.preferencesPath)
    , traceFolder_(services.traceFolder)
    , backups_(services.backupFolder)
    , actions_(*this)
    , settings_(services.userSettingsPath)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("ORNIS SET"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    TransferObserver &observer = *this;
    engine_ = std::make_unique<TransferEngine>(
        editor_->transferTarget(), services.ports.port(), clock_, observer);

    actions_.buildMenusAndToolBar(*this);
    buildPages();
    // Connected before every handler, so that each action finds the typed text committed.
    for (QAction *action : findChildren<QAction *>())
        connect(action, &QAction::triggered, this, &TMainForm::commitTypedText);
    connectHistory();
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    progress_ = new ProgressPanel(statusBar());
    statusBar()->addPermanentWidget(progress_);
    repaints_ = new PacedRepaints(
        {
            [this](bool visible, int percent) { progress_->showProgress(visible, percent); },
            [this](const QString &text) { watch_->statusLabel().setText(text); },
            [this](const FieldRange &range) {
                forEachView([&range](ConfigView &view) { view.valuesStored(range); });
            },
            [this] { forEachView([](ConfigView &view) { view.refreshGrids(); }); },
            [this](bool running) { actions_.acStop->setEnabled(running); },
        },
        this);
    watch_ = std::make_unique<TransferWatch>(*this, *statusBar(), dialogs_, backups_, clock_);
    watch_->showStatusThrough([this](const QString &text) { repaints_->statusChanged(text); });

    portChooser_ = std::make_unique<PortChooser>(
        services.ports, *engine_, dialogs_, setupPage_->portList(), this);
    guard_ = std::make_unique<TransferGuard>(*engine_, dialogs_, *this);
    const auto gate = [this](std::function<void()> change) { runWhenIdle(std::move(change)); };
    portChooser_->setChangeGate(gate);
    setupPage_->setChangeGate(gate);

    connect(actions_.acReceive, &QAction::triggered, this, &TMainForm::acReceiveExecute);
    connect(actions_.acSend, &QAction::triggered, this, &TMainForm::acSendExecute);
    connect(actions_.acSendRTC, &QAction::triggered, this, &TMainForm::acSendRTCExecute);
    connect(actions_.acStop, &QAction::triggered, this, &TMainForm::acStopExecute);
    connect(actions_.acDef, &QAction::triggered, this, &TMainForm::acDefExecute);
    connect(actions_.acExit, &QAction::triggered, this, &QWidget::close);
    connect(actions_.acAbout, &QAction::triggered, this, &TMainForm::acAboutExecute);
    connect(actions_.acTrace, &QAction::toggled, this, &TMainForm::acTraceExecute);
    actions_.acTrace->setEnabled(!traceFolder_.isEmpty());
    if (!traceFolder_.isEmpty())
        actions_.acTrace->setStatusTip(actions_.acTrace->statusTip() + QStringLiteral(" (")
            + QDir::toNativeSeparators(traceFolder_) + u')');
    connect(actions_.acCompare, &QAction::triggered, this, &TMainForm::acCompareExecute);
    actions_.acVerifyAfterWrite->setChecked(settings_.verifyAfterWrite());
    connect(actions_.acVerifyAfterWrite, &QAction::toggled, this,
        &TMainForm::acVerifyAfterWriteExecute);
    connect(setupPage_, &SetupPage::exchangeModelPicked, this, &TMainForm::cbCentralTypeChange);
    fileActions_
        = new FileActions(*this, actions_, services.fileFolder, services.recentFilesPath, this);
    reportPrinter_ = new ReportPrinter(*this, actions_, clock_, services.fileFolder, this);
    new DialCsvActions(
        *this, actions_.acImportCsv, actions_.acExportCsv,
        [this] {
            return MainPage(pcMain_->currentIndex()) == MainPage::PE ? Block::PE
                                                                     : Block::ShortDials;
        },
        services.fileFolder, this);
    clipboard_ = new DialClipboard(*this, *pcMain_->widget(int(MainPage::ShortDials)),
        *pcMain_->widget(int(MainPage::PE)), this);
    setAcceptDrops(true);

    clockBeat_ = services.clockBeat ? services.clockBeat : new TimerBeat(this);
    clockBeat_->setObjectName(QStringLiteral("ClockTimer"));
    connect(clockBeat_, &ClockBeat::beat, this, &TMainForm::ClockTimerTimer);
    clockBeat_->start(ClockInterval);

    FormCreate(services.preferredPort);
    // Once the window shows.
    QTimer::singleShot(0, this, &TMainForm::reportWriteEndedByClosing);

    // The menu bar stands outside the client area, as the window's own menu does.
    setFixedSize(ClientSize.width(), ClientSize.height() + menuBar()->sizeHint().height());
}

TMainForm::~TMainForm()
{
    // FormDestroy
    closing_ = true;
    portChooser_->close();
}

void TMainForm::buildPages()
{
    pcMain_ = new QTabWidget(this);
    pcMain_->setObjectName(QStringLiteral("pcMain"));
    pcMain_->setDocumentMode(false);
    setupPage_ = addView(MainPage::Setup, new SetupPage(*editor_, actions_, pcMain_));
    pcMain_->addTab(setupPage_, QString::fromUtf8(ExchangeBlockCaption));

    struct PageEntry
    {
        MainPage page;
        const char *name;
        const char *buttons;
        std::function<QWidget *(QWidget *parent)> build;
    };
    // Each page's controls are built when the page is first shown: the window starts with
    // the page "Konfigurace" alone.
    const PageEntry entries[] = {
        {MainPage::Setting, "tsSetting", "Setting",
            [this](QWidget *parent) {
                return addView(MainPage::Setting, new SettingPage(*editor_, dialogs_, parent));
            }},
        {MainPage::Services, "tsServices", "Services",
            [this](QWidget *parent) {
                return addView(MainPage::Services, new ServicesPage(*editor_, dialogs_, parent));
            }},
        {MainPage::ShortDials, "tsShortDials", "ShortDials",
            [this](QWidget *parent) {
                shortDialPage_ = new DialPage(DialTable::ShortDials, *editor_, parent);
                if (clipboard_)
                    clipboard_->watchRows(*shortDialPage_);
                return addView(MainPage::ShortDials, shortDialPage_);
            }},
        {MainPage::PE, "tsPE", "PE",
            [this](QWidget *parent) {
                pePage_ = new DialPage(DialTable::PE, *editor_, parent);
                if (clipboard_)
                    clipboard_->watchRows(*pePage_);
                return addView(MainPage::PE, pePage_);
            }},
    };
    for (const PageEntry &entry : entries) {
        auto *page = new TransferPage(
            QLatin1String(entry.name), actions_, QLatin1String(entry.buttons), pcMain_);
        page->setContentBuilder(entry.build);
        pages_[std::size_t(entry.page)] = page;
        pcMain_->addTab(page, blockCaption(*blockOfPage(entry.page)));
    }
    setCentralWidget(pcMain_);
    connect(pcMain_, &QTabWidget::currentChanged, this, &TMainForm::pcMainChange);
}

void TMainForm::connectHistory()
{
    QUndoStack &history = editor_->history();
    const auto showStep
        = [](QAction *action, const QString &verb, const QString &step, const QString &idle) {
              const QString tip = step.isEmpty() ? idle : verb + QStringLiteral(": ") + step;
              action->setStatusTip(tip);
              action->setToolTip(tip);
          };
    const QString undoIdle = actions_.acUndo->statusTip();
    const QString redoIdle = actions_.acRedo->statusTip();
    connect(&history, &QUndoStack::canUndoChanged, actions_.acUndo, &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, actions_.acRedo, &QAction::setEnabled);
    connect(&history, &QUndoStack::undoTextChanged, this, [this, showStep, undoIdle](auto &text) {
        showStep(actions_.acUndo, QStringLiteral("Zpět"), text, undoIdle);
    });
    connect(&history, &QUndoStack::redoTextChanged, this, [this, showStep, redoIdle](auto &text) {
        showStep(actions_.acRedo, QStringLiteral("Znovu"), text, redoIdle);
    });
    connect(&history, &QUndoStack::cleanChanged, this,
        [this](bool clean) { setWindowModified(!clean); });
    connect(actions_.acUndo, &QAction::triggered, &history, &QUndoStack::undo);
    connect(actions_.acRedo, &QAction::triggered, &history, &QUndoStack::redo);
    connect(editor_, &ConfigEditor::valuesChanged, this, [this](const FieldRange &range) {
        forEachView([&range](ConfigView &view) { view.valuesChanged(range); });
    });
}

void TMainForm::FormCreate(int preferredPort)
{
    // The editor starts with every factory value (ResetAll) and model MIRA.
    engine_->setResponseTimeout(DefaultAnswerTimeoutMs);
    portChooser_->probe(preferredPort);
    appTitle_ = windowTitle();
    setFileName(QString());
    if (!preferencesPath_.isEmpty()) {
        ExchangeConfig preferences = config();
        LoadAppConfig(toFilePath(preferencesPath_), preferences);
        // A stored index that names no model means no model, here as in the model list.
        if (preferences.ExchangeType < ModelMira || preferences.ExchangeType > ModelVegaX)
            preferences.ExchangeType = ModelNone;
        editor_->setExchangeBlock(preferences);
    }
    cbCentralTypeChange();
    markConfigKept();
}

const ExchangeConfig &TMainForm::config() const
{
    return editor_->config();
}

TransferPage &TMainForm::page(MainPage page) const
{
    return *pages_.at(std::size_t(page));
}

void TMainForm::setView(MainPage page, ConfigView *view)
{
    views_.at(std::size_t(page)) = view;
}

template<typename Page> Page *TMainForm::addView(MainPage page, Page *view)
{
    setView(page, view);
    view->refresh();
    view->exchangeModelChanged();
    return view;
}

void TMainForm::ensurePagesBuilt()
{
    for (TransferPage *page : pages_) {
        if (page)
            page->ensureContent();
    }
}

template<typename Call> void TMainForm::forEachView(Call call)
{
    for (ConfigView *view : views_) {
        if (view)
            call(*view);
    }
}

void TMainForm::FillShortDialPage()
{
    // A page not built yet shows nothing to fill or store.
    if (shortDialPage_)
        shortDialPage_->fillRows();
}

void TMainForm::StoreShortDialPage()
{
    if (shortDialPage_)
        shortDialPage_->storeRows();
}

void TMainForm::FillPEPage()
{
    if (pePage_)
        pePage_->fillRows();
}

void TMainForm::StorePEPage()
{
    if (pePage_)
        pePage_->storeRows();
}

void TMainForm::commitTypedText()
{
    forEachView([](ConfigView &view) { view.storeEdits(); });
}

void TMainForm::setFileName(const QString &path)
{
    fileName_ = path;
    const QString title = path.isEmpty()
        ? appTitle_
        : QStringLiteral("%1 [%2]").arg(appTitle_, QDir::toNativeSeparators(path));
    setWindowTitle(title + QStringLiteral("[*]"));
    editor_->markSaved();
}

void TMainForm::markConfigKept(BlockSet blocks)
{
    copyBlocks(config(), kept_, blocks);
}

void TMainForm::backUpUnsavedEdits()
{
    if (const Status status = storeUnsavedEdits(); !status.ok())
        dialogs_.showError(this, backupFailureText(status));
}

Status TMainForm::storeUnsavedEdits()
{
    commitTypedText();
    // The model and the modules are kept in the preferences.
    if (differingBlocks(kept_, config(), BlockSet::all()).empty())
        return Status::success();
    QString stored;
    const Status status
        = backups_.store(config(), clock_.now(), QStringLiteral("neulozeno"), stored);
    if (!stored.isEmpty())
        markConfigKept();
    return status;
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    fileActions_->load(path);
}

void TMainForm::runWhenIdle(std::function<void()> action)
{
    guard_->runWhenIdle(std::move(action));
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // Closing is never refused, but a running transfer is ended first, so that the
    // exchange is not left in the middle of a block: the window goes when the stop
    // sequence is answered, or after one answer timeout.
    if (!engine_->isIdle() && !closeDue_) {
        closeDue_ = true;
        if (watch_->writeRunning())
            settings_.noteWriteEndedByClosing(watch_->exchangeBackups());
        engine_->stop();
        // Without an answer timeout nothing would end the wait.
        if (!engine_->isIdle() && !engine_->answerTimerArmed())
            engine_->abort();
    }
    if (!engine_->isIdle()) {
        event->ignore();
        return;
    }
    closeDue_ = false;
    // FormClose: the preferences, and edits neither saved nor written into a backup; the
    // settings file is not saved and nobody is asked, also not while a transfer runs.
    if (const Status status = storeUnsavedEdits(); !status.ok())
        qWarning("%s", qPrintable(backupFailureText(status)));
    if (!preferencesPath_.isEmpty()) {
        // The user's configuration folder may not exist yet.
        QDir().mkpath(QFileInfo(preferencesPath_).absolutePath());
        SaveAppConfig(toFilePath(preferencesPath_), config());
    }
    event->accept();
}

// --- Actions ----------------------------------------------------------------------

void TMainForm::acReceiveExecute()
{
    askForTransfer(Direction::Receive);
}

void TMainForm::acSendExecute()
{
    askForTransfer(Direction::Send);
}

void TMainForm::askForTransfer(Direction direction)
{
    if (!engine_->isIdle())
        return;
    const QString question = direction == Direction::Receive
        ? QStringLiteral("Načíst data z ústředny ?")
        : QStringLiteral("Zapsat data do ústředny ?");
    dialogs_.ask(this, question, [this, direction] {
        const std::optional<TransferMode> mode
            = transferModeFor(pcMain_->currentIndex(), direction);
        if (mode)
            startWithServicesCheck(*mode);
    });
}

void TMainForm::startWithServicesCheck(TransferMode mode)
{
    const std::vector<int> lost = writesServices(mode)
        ? extensionsWithUntransferableCallBack(config())
        : std::vector<int> {};
    if (lost.empty()) {
        startTransfer(mode);
        return;
    }
    dialogs_.ask(this, callBackQuestion(lost), [this, mode] { startTransfer(mode); });
}

void TMainForm::startTransfer(TransferMode mode)
{
    // A read replaces what the window holds.
    if (isRead(mode))
        backUpUnsavedEdits();
    beginTransfer(mode, editor_->transferTarget());
}

void TMainForm::beginTransfer(TransferMode mode, ExchangeConfig &target)
{
    const bool own = &target == &editor_->transferTarget();
    if (isRead(mode) && own)
        editor_->readStarting();
    else if (own)
        verification_.writeStarting(mode, target);
    if (watch_->starting(mode, target) && own)
        markConfigKept();
    // A failed start is reported by the engine, which is idle again.
    if (engine_->startTransfer(mode, target))
        watch_->started();
    else
        editor_->readEnded(false, ReadStepText); // nothing read, no step
}

void TMainForm::acCompareExecute()
{
    runWhenIdle([this] {
        const std::optional<TransferMode> mode
            = transferModeFor(pcMain_->currentIndex(), Direction::Receive);
        if (!mode)
            return;
        const BlockSet blocks = blocksMovedBy(*mode, config().ExchangeType);
        beginTransfer(*mode, comparison_.begin(config(), blocks));
    });
}

void TMainForm::acVerifyAfterWriteExecute(bool on)
{
    settings_.setVerifyAfterWrite(on);
}

void TMainForm::reportWriteEndedByClosing()
{
    const std::optional<QStringList> backups = settings_.takeWriteEndedByClosing();
    if (!backups)
        return;
    QString text = QStringLiteral("Poslední zápis do ústředny byl ukončen zavřením okna: "
                                  "ústředna teď může obsahovat zčásti zapsanou konfiguraci.");
    if (!backups->isEmpty())
        text += QStringLiteral("\nPoslední známý obsah ústředny je v záloze:\n")
            + backups->join(u'\n');
    dialogs_.showError(this, text);
}

void TMainForm::acSendRTCExecute()
{
    if (!engine_->isIdle())
        return;
    dialogs_.ask(this, QStringLiteral("Zapsat čas do ústředny ?"),
        [this] { startTransfer(TransferMode::ClockWrite); });
}

void TMainForm::acStopExecute()
{
    engine_->stop();
}

void TMainForm::acDefExecute()
{
    runWhenIdle([this] {
        dialogs_.ask(
            this, QStringLiteral("Přednastavit hodnoty ?"), [this] { resetPageInView(); });
    });
}

void TMainForm::resetPageInView()
{
    const auto page = MainPage(pcMain_->currentIndex());
    ExchangeConfig defaults = config();
    switch (page) {
    case MainPage::Setup:
        ResetAll(defaults);
        break;
    case MainPage::Setting:
        ResetSettingsBlock(defaults);
        break;
    case MainPage::Services:
        ResetServicesBlock(defaults);
        break;
    case MainPage::ShortDials:
        ResetShortDials(defaults);
        break;
    case MainPage::PE:
        ResetPE(defaults);
        break;
    default:
        return;
    }
    backUpUnsavedEdits();
    // One step of the history, named as the button that made it.
    const std::optional<Block> block = blockOfPage(page);
    editor_->applyBlocks(defaults, block ? BlockSet {*block} : BlockSet::all(),
        block ? QStringLiteral("Přednastavit") : QStringLiteral("Přednastavit vše"));
}

void TMainForm::acAboutExecute()
{
    dialogs_.showAbout(this);
}

void TMainForm::acTraceExecute(bool on)
{
    const Status status = portChooser_->setTraceFolder(on ? traceFolder_ : QString());
    if (!status.ok()) {
        const QSignalBlocker quiet(actions_.acTrace);
        actions_.acTrace->setChecked(false);
        dialogs_.showError(this, QString::fromStdString(status.message()));
    }
}

void TMainForm::ClockTimerTimer()
{
    setupPage_->clockButton().setText(clockText(clock_.now()));
}

void TMainForm::cbCentralTypeChange()
{
    pcMain_->setTabVisible(int(MainPage::PE), config().ExchangeType == ModelMira);
    forEachView([](ConfigView &view) { view.exchangeModelChanged(); });
}

void TMainForm::pcMainChange()
{
    StoreShortDialPage();
}

// --- What the engine reports ------------------------------------------------------

void TMainForm::transferModeChanged(TransferMode mode)
{
    // However the read ends (complete, timeout, stop, port failure), the views show what
    // it stored when the engine is idle again. Told first, so that the word on the block
    // now in transfer waits for the frame.
    repaints_->modeChanged(mode);
    watch_->modeChanged(mode);
}

void TMainForm::progressChanged(bool visible, int percent)
{
    repaints_->progressChanged(visible, percent);
}

void TMainForm::valuesStored(const FieldRange &range)
{
    // A comparison reads into its own copy: the views have nothing new to show.
    if (engine_->onOwnConfig())
        repaints_->valuesStored(range);
}

void TMainForm::readWarning(const std::string &message)
{
    watch_->warning(message);
}

void TMainForm::transferFailed(const std::string &message)
{
    watch_->failed(message);
}

void TMainForm::transferEnded(TransferEnd end)
{
    if (closing_)
        return;
    // A read is one step of the history, also one that ended early having stored values:
    // undo brings back what the window would hold without it, edits made meanwhile kept.
    editor_->readEnded(end == TransferEnd::Complete, ReadStepText);
    if (closeDue_) {
        // Nothing more to tell: the window goes.
        QTimer::singleShot(0, this, [this] {
            if (closeDue_)
                close();
        });
        return;
    }
    const bool backedUp = watch_->ended(end);
    if (comparison_.running()) {
        if (const auto differences = comparison_.finish(end, config()))
            dialogs_.showDifferences(this, *differences);
    } else {
        if (backedUp && !verification_.running())
            markConfigKept();
        verificationStep(end);
    }
    guard_->transferEnded();
}

void TMainForm::verificationStep(TransferEnd end)
{
    if (verification_.running()) {
        if (const auto differences = verification_.finish(end)) {
            if (differences->empty())
                watch_->writeVerified();
            else
                dialogs_.showVerification(this, *differences);
        }
        return;
    }
    const std::optional<TransferMode> readBack = verification_.readBackAfter(end);
    if (readBack && actions_.acVerifyAfterWrite->isChecked())
        beginTransfer(*readBack, verification_.target());
}

} // namespace ornis
