#include "MainForm.h"

#include "HistoryActions.h"
#include "link/TransferEngine.h"
#include "qtlink/QtLinkPort.h"
#include "ui/clock/ClockBeat.h"
#include "ui/clock/ClockText.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/document/DialClipboard.h"
#include "ui/document/DialCsvActions.h"
#include "ui/document/Document.h"
#include "ui/document/FileActions.h"
#include "ui/document/FileChooser.h"
#include "ui/document/UnsavedAtClose.h"
#include "ui/editing/ConfigEditor.h"
#include "ui/pages/MainPageTabs.h"
#include "ui/pages/SetupPage.h"
#include "ui/pages/TransferPage.h"
#include "ui/ports/LinkPortList.h"
#include "ui/ports/PortChooser.h"
#include "ui/report/ReportPrinter.h"
#include "ui/transfer/TransferFlow.h"
#include "ui/widgets/PortComboBox.h"
#include "ui/widgets/ProgressPanel.h"
#include "ui/widgets/TypeScale.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

namespace ornis {

namespace {

constexpr int ClockInterval = 1000; // ms
constexpr int TitleBarDepth = 8; // pixels below a window frame's top, on its title bar

// The one local file a drop brings, if it brings exactly one.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

// Whether a window of `size` whose frame stands at `position` can be taken by its title bar:
// the middle of its top edge is on one of the screens there are now.
bool reachableOnScreens(QPoint position, QSize size)
{
    const QPoint titleBar = position + QPoint(size.width() / 2, TitleBarDepth);
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [titleBar](const QScreen *screen) {
        return screen->availableGeometry().contains(titleBar);
    });
}

} // namespace

TMainForm::TMainForm(const MainFormServices &services, QWidget *parent)
    : QMainWindow(parent)
    , actions_(*this)
    , dialogs_(services.dialogs)
    , clock_(services.clock)
    , traceFolder_(services.traceFolder)
    , settings_(services.userSettingsPath)
    , document_(new Document({services.dialogs, this, services.clock, services.preferencesPath,
                                 services.backupFolder},
          this))
    , unsavedAtClose_(std::make_unique<UnsavedAtClose>(*document_, settings_))
{
    setUpFrame();
    actions_.buildMenusAndToolBar(*this);
    // Connected before every handler, so that each action finds the typed text committed.
    for (QAction *action : findChildren<QAction *>())
        connect(action, &QAction::triggered, this, &TMainForm::commitTypedText);
    pcMain_ = new MainPageTabs(editor(), dialogs_, actions_, this);
    setCentralWidget(pcMain_);
    buildStatusBar();
    buildTransfers(services);
    buildFileAndTableActions(services);
    connectActions();
    connectHistory();
    startClock(services.clockBeat);
    FormCreate(services.preferredPort);
    // Once the window shows.
    QTimer::singleShot(0, transfers_, &TransferFlow::reportWriteEndedByClosing);
    QTimer::singleShot(0, this, [this] { unsavedAtClose_->offerKeptEdits(); });
    fitToContents();
    connect(pcMain_, &MainPageTabs::pageBuilt, this, [this](MainPage, QWidget &content) {
        content.ensurePolished();
        fitToContents();
    });
    restorePosition();
}

TMainForm::~TMainForm()
{
    // FormDestroy
    transfers_->windowGoing();
    portChooser_->close();
}

void TMainForm::buildTransfers(const MainFormServices &services)
{
    transfers_ = new TransferFlow(*document_,
        {services.ports.port(), clock_, settings_, [this] { return pcMain_->currentIndex(); },
            {
                [this](bool visible, int percent) { progress_->showProgress(visible, percent); },
                [this](const QString &text) { transferStatus_->setText(text); },
                [this](const FieldRange &range) { pcMain_->showValues(range); },
                [this](bool running) { actions_.acStop->setEnabled(running); },
            }},
        this);
    portChooser_ = std::make_unique<PortChooser>(
        services.ports, engine(), dialogs_, pcMain_->setupPage().portList(), this);
    const auto gate
        = [this](std::function<void()> change) { transfers_->runWhenIdle(std::move(change)); };
    portChooser_->setChangeGate(gate);
    pcMain_->setupPage().setChangeGate(gate);
    document_->setChangeGate(gate);
    document_->setTypedEditsCommit([this] { commitTypedText(); });
}

void TMainForm::setUpFrame()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("ORNIS SET"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    // A style sheet's type, if any, now, so that every control is made in the type it shows.
    ensurePolished();
    setAcceptDrops(true);
}

void TMainForm::fitToContents()
{
    // The menu bar stands outside the client area, as the window's own menu does. Larger
    // type, or a style that wants more room around captions, grows the window.
    const QSize client = typeScaled(ClientSize, *this);
    // The style's sizes count as the window shows them: polished (done at the show anyway);
    // and a page just built has not told the window yet.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->ensurePolished();
    pcMain_->updateGeometry();
    const QSize needed = minimumSizeHint();
    setFixedSize(std::max(client.width(), needed.width()),
        std::max(client.height() + menuBar()->sizeHint().height(), needed.height()));
}

void TMainForm::restorePosition()
{
    // A screen unplugged since, or a smaller one, leaves the place to the system.
    if (const std::optional<QPoint> position = settings_.windowPosition();
        position && reachableOnScreens(*position, frameGeometry().size()))
        move(*position);
}

void TMainForm::buildStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    transferStatus_ = new QLabel(statusBar());
    transferStatus_->setObjectName(QStringLiteral("lbTransferStatus"));
    // A hint covers it for a while; it shows again when the hint is gone.
    statusBar()->addWidget(transferStatus_, 1);
    progress_ = new ProgressPanel(statusBar());
    statusBar()->addPermanentWidget(progress_);
}

void TMainForm::buildFileAndTableActions(const MainFormServices &services)
{
    fileChooser_ = std::make_unique<FileChooser>(
        dialogs_, this, settings_, services.fileFolder, services.backupFolder);
    fileActions_
        = new FileActions(*document_, actions_, *fileChooser_, services.recentFilesPath, this);
    new ReportPrinter(*document_, actions_, clock_, *fileChooser_, this);
    new DialCsvActions(
        *document_, actions_.acImportCsv, actions_.acExportCsv,
        [this] { return pcMain_->pageInView() == MainPage::PE ? Block::PE : Block::ShortDials; },
        *fileChooser_, this);
    auto *clipboard = new DialClipboard(
        *document_, pcMain_->page(MainPage::ShortDials), pcMain_->page(MainPage::PE), this);
    connect(pcMain_, &MainPageTabs::pageBuilt, clipboard,
        [clipboard](MainPage, QWidget &content) { clipboard->watchRows(content); });
}

void TMainForm::connectActions()
{
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
        [this](bool on) { settings_.setVerifyAfterWrite(on); });
    connect(pcMain_, &QTabWidget::currentChanged, this, &TMainForm::pcMainChange);
    connect(transfers_, &TransferFlow::closeDue, this, &QWidget::close);
}

void TMainForm::connectHistory()
{
    const auto say = [this](const QString &text) { transferStatus_->setText(text); };
    new HistoryActions(
        editor(), actions_, {dialogs_, this, [this] { return pcMain_->pageInView(); }, say}, this);
    connect(&editor(), &ConfigEditor::valuesChanged, this, [this](const FieldRange &range) {
        pcMain_->showValues(range);
        if (contains(range, FieldRef {Field::ExchangeType}))
            cbCentralTypeChange();
    });
    connect(document_, &Document::unsavedChanged, this, &QWidget::setWindowModified);
    connect(document_, &Document::fileNameChanged, this, &TMainForm::showFileName);
    connect(document_, &Document::notice, this, say);
}

void TMainForm::startClock(ClockBeat *beat)
{
    ClockBeat *clockBeat = beat ? beat : new TimerBeat(this);
    clockBeat->setObjectName(QStringLiteral("ClockTimer"));
    connect(clockBeat, &ClockBeat::beat, this, &TMainForm::ClockTimerTimer);
    clockBeat->start(ClockInterval);
}

void TMainForm::FormCreate(int preferredPort)
{
    // The editor starts with every factory value (ResetAll) and model MIRA.
    engine().setResponseTimeout(DefaultAnswerTimeoutMs);
    portChooser_->probe(preferredPort);
    appTitle_ = windowTitle();
    showFileName(QString());
    document_->loadPreferences();
    cbCentralTypeChange();
    document_->markKept();
}

const ExchangeConfig &TMainForm::config() const
{
    return document_->config();
}

ConfigEditor &TMainForm::editor() const
{
    return document_->editor();
}

TransferEngine &TMainForm::engine() const
{
    return transfers_->engine();
}

TransferPage &TMainForm::page(MainPage page) const
{
    return pcMain_->page(page);
}

void TMainForm::setView(MainPage page, ConfigView *view)
{
    pcMain_->setView(page, view);
}

void TMainForm::ensurePagesBuilt()
{
    pcMain_->ensurePagesBuilt();
}

const QString &TMainForm::FileName() const
{
    return document_->FileName();
}

void TMainForm::showFileName(const QString &path)
{
    const QString title = path.isEmpty()
        ? appTitle_
        : QStringLiteral("%1 [%2]").arg(appTitle_, QDir::toNativeSeparators(path));
    setWindowTitle(title + QStringLiteral("[*]"));
}

void TMainForm::commitTypedText()
{
    pcMain_->storeEdits();
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

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!transfers_->mayClose()) {
        event->ignore();
        return;
    }
    // FormClose: the preferences, and edits neither saved nor written into a backup that
    // the next start offers; the settings file is not saved and nobody is asked, also not
    // while a transfer runs.
    unsavedAtClose_->windowClosing();
    document_->savePreferences();
    settings_.setWindowPosition(pos());
    event->accept();
}

// --- Handlers ---------------------------------------------------------------------

void TMainForm::acReceiveExecute()
{
    transfers_->askForTransfer(Direction::Receive);
}

void TMainForm::acSendExecute()
{
    transfers_->askForTransfer(Direction::Send);
}

void TMainForm::acSendRTCExecute()
{
    transfers_->askForClockWrite();
}

void TMainForm::acStopExecute()
{
    transfers_->stop();
}

void TMainForm::acCompareExecute()
{
    transfers_->compare();
}

void TMainForm::acDefExecute()
{
    document_->runWhenIdle([this] {
        dialogs_.ask(this, QStringLiteral("Přednastavit hodnoty ?"), [this] {
            if (const std::optional<MainPage> page = pcMain_->pageInView())
                document_->applyFactoryValues(blockOfPage(*page));
        });
    });
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
    pcMain_->setupPage().clockButton().setText(clockText(clock_.now()));
}

void TMainForm::cbCentralTypeChange()
{
    pcMain_->showPagesOfModel(config().ExchangeType);
}

void TMainForm::pcMainChange()
{
    pcMain_->StoreShortDialPage();
}

} // namespace ornis
