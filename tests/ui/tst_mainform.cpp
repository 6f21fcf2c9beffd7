#include "WindowFixture.h"
#include "config/AppConfigFile.h"
#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "sim/Preload.h"
#include "tests/common/SampleConfig.h"
#include "ui/ClockText.h"
#include "ui/ConfigView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

using namespace ornis;

Q_DECLARE_METATYPE(BlockSet)

namespace {

constexpr int PETab = 4;
constexpr int TransferBound = 20000; // ms: a whole transfer runs in well under a second

QTabWidget &pages(TMainForm &window)
{
    return *window.findChild<QTabWidget *>(QStringLiteral("pcMain"));
}

QWidget &child(TMainForm &window, const char *name)
{
    auto *widget = window.findChild<QWidget *>(QLatin1String(name));
    if (!widget)
        qFatal("no child %s", name);
    return *widget;
}

bool shown(TMainForm &window, const char *name)
{
    return child(window, name).isVisibleTo(&window);
}

void writePreferences(const QString &path, int model, ModuleFlags modules)
{
    ExchangeConfig config;
    config.ExchangeType = model;
    config.ExchangeModules = modules;
    SaveAppConfig(path.toStdString(), config);
}

// A view that keeps what the window told it.
class ProbeView final : public ConfigView
{
public:
    void refresh() override { ++refreshes; }
    void valuesStored(const FieldRange &range) override { stored.push_back(range); }
    void refreshGrids() override { ++gridRefreshes; }

    [[nodiscard]] bool told(const FieldRef &ref) const
    {
        return std::any_of(stored.begin(), stored.end(),
            [&ref](const FieldRange &range) { return contains(range, ref); });
    }

    std::vector<FieldRange> stored;
    int refreshes = 0;
    int gridRefreshes = 0;
};

} // namespace

class MainFormTest : public QObject
{
    Q_OBJECT

private slots:
    void startsOnMiraWithTheFirstPortThatOpens()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        auto &model = static_cast<QComboBox &>(child(*window, "cbCentralType"));
        QCOMPARE(model.currentIndex(), 0);
        QVERIFY(pages(*window).isTabVisible(PETab));
        QVERIFY(shown(*window, "gbMira") && shown(*window, "imgMira"));
        QVERIFY(!shown(*window, "gbVega") && !shown(*window, "imgVegaX"));
        QCOMPARE(static_cast<QComboBox &>(child(*window, "cbComPort")).currentText(),
            QStringLiteral("ttyUSB0"));
        QVERIFY(!fixture.ports.dtr); // the start-up probe switches DTR off
        QVERIFY(!shown(*window, "pnlProgress"));
        QVERIFY(!window->actions().acStop->isEnabled());
        QCOMPARE(window->config(), factoryConfig()); // every block at its factory values
    }

    void preferencesChooseTheModelAndItsModules_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shownIndex");
        QTest::addColumn<bool>("peTab");
        QTest::newRow("VEGA X with MKX") << 2 << 2 << false;
        QTest::newRow("VEGA") << 1 << 1 << false;
        QTest::newRow("index out of range") << 7 << -1 << false;
    }
    void preferencesChooseTheModelAndItsModules()
    {
        QFETCH(int, stored);
        QFETCH(int, shownIndex);
        QFETCH(bool, peTab);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("OSet.cfg"));
        ModuleFlags modules;
        modules.MKX = true;
        writePreferences(path, stored, modules);

        WindowFixture fixture(path);
        auto window = fixture.makeWindow();
        QCOMPARE(
            static_cast<QComboBox &>(child(*window, "cbCentralType")).currentIndex(), shownIndex);
        QCOMPARE(pages(*window).isTabVisible(PETab), peTab);
        QCOMPARE(shown(*window, "gbVegaX"), stored == 2);
        QCOMPARE(shown(*window, "imgVegaX"), stored == 2);
        QCOMPARE(shown(*window, "gbVega"), stored == 1);
        QVERIFY(!shown(*window, "gbMira") && !shown(*window, "imgMira"));
        QCOMPARE(static_cast<QCheckBox &>(child(*window, "chbMKX")).isChecked(), true);
    }

    void preferencesAreWrittenAtCloseAndReadAtTheNextStart()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("sub/OSet.cfg"));
        {
            WindowFixture fixture(path);
            auto window = fixture.makeWindow();
            auto &model = static_cast<QComboBox &>(child(*window, "cbCentralType"));
            model.setCurrentIndex(1);
            emit model.activated(1); // the user picks VEGA
            QVERIFY(!pages(*window).isTabVisible(PETab));
            QTest::mouseClick(
                &static_cast<QCheckBox &>(child(*window, "chbMKPR")), Qt::LeftButton);
            window->close();
            QVERIFY(fixture.dialogs.questions.isEmpty()); // closing asks nothing
        }
        QCOMPARE(QFileInfo(path).size(), 528);
        WindowFixture fixture(path);
        auto window = fixture.makeWindow();
        QCOMPARE(window->config().ExchangeType, int(ModelVega));
        QVERIFY(window->config().ExchangeModules.MKPR);
        QVERIFY(!pages(*window).isTabVisible(PETab));
    }

    void noToTheQuestionChangesNothing()
    {
        WindowFixture fixture;
        fixture.dialogs.answerYes = false;
        auto window = fixture.makeWindow();
        window->actions().acReceive->trigger();
        window->actions().acSend->trigger();
        window->actions().acSendRTC->trigger();
        QCOMPARE(fixture.dialogs.questions,
            QStringList({QStringLiteral("Načíst data z ústředny ?"),
                QStringLiteral("Zapsat data do ústředny ?"),
                QStringLiteral("Zapsat čas do ústředny ?")}));
        QVERIFY(window->engine().isIdle());
        QVERIFY(fixture.ports.exchangePort().sent.empty());
    }

    void aTransferActionWhileATransferRunsAsksNothing()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        window->actions().acSend->trigger();
        QVERIFY(!window->engine().isIdle());
        QVERIFY(window->actions().acStop->isEnabled());
        window->actions().acReceive->trigger();
        window->actions().acSendRTC->trigger();
        QCOMPARE(fixture.dialogs.questions.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(window->engine().isIdle(), TransferBound);
    }

    void wholeWriteThenReadThroughTheWindow()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        ExchangeConfig &config = window->config();
        config.ShortDialTable[5] = {2, "0P123", "kept"};
        config.Counters[0] = 25;
        config.Services[3].AlarmDaily = "07:30";
        config.PETable[99] = {6, "42"};
        const ExchangeConfig written = config;

        auto *sendAll = window->findChild<QPushButton *>(QStringLiteral("btSendAll"));
        QVERIFY(sendAll);
        QTest::mouseClick(sendAll, Qt::LeftButton);
        QVERIFY(shown(*window, "pnlProgress"));
        QTRY_VERIFY_WITH_TIMEOUT(window->engine().isIdle(), TransferBound);
        QVERIFY(!shown(*window, "pnlProgress"));
        QVERIFY(!window->actions().acStop->isEnabled());

        ResetAll(config);
        config.ShortDialTable[5].Comment = "kept";
        QTest::mouseClick(
            window->findChild<QPushButton *>(QStringLiteral("btReceiveAll")), Qt::LeftButton);
        QVERIFY(shown(*window, "pnlProgress"));
        QTRY_VERIFY_WITH_TIMEOUT(window->engine().isIdle(), TransferBound);
        QVERIFY(!shown(*window, "pnlProgress"));
        QCOMPARE(config.ShortDialTable, written.ShortDialTable);
        QCOMPARE(config.PETable, written.PETable);
        QCOMPARE(config.Counters, written.Counters);
        QCOMPARE(config.Services, written.Services);
        QVERIFY(fixture.dialogs.errors.isEmpty());
    }

    void aReadTellsTheViewsWhatItStored_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<BlockSet>("blocks");
        QTest::addColumn<int>("gridRefreshes");
        QTest::newRow("Nastavení") << int(MainPage::Setting) << BlockSet {Block::Settings} << 1;
        QTest::newRow("Služby") << int(MainPage::Services) << BlockSet {Block::Services} << 0;
        QTest::newRow("Konfigurace") << int(MainPage::Setup) << BlockSet::all() << 1;
    }
    // The views learn every value a read changed and nothing of the blocks it did not read;
    // the settings grids are refreshed once, and nothing is shown whole.
    void aReadTellsTheViewsWhatItStored()
    {
        QFETCH(int, page);
        QFETCH(BlockSet, blocks);
        QFETCH(int, gridRefreshes);
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        (void)sim::writeIntoExchange(
            testing::awayFromFactory(), fixture.ports.exchangePort().exchange);
        ProbeView probe;
        window->setView(MainPage::Setup, &probe);
        const ExchangeConfig before = window->config();
        pages(*window).setCurrentIndex(page);
        window->actions().acReceive->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(window->engine().isIdle(), TransferBound);
        window->setView(MainPage::Setup, nullptr);

        QCOMPARE(probe.gridRefreshes, gridRefreshes);
        QCOMPARE(probe.refreshes, 0);
        for (const FieldRef &ref : differingFields(before, window->config(), blocks, false)) {
            const bool grid
                = ref.field >= Field::ExtensionGrid && ref.field <= Field::GlobalExtensionGrid;
            QVERIFY2(grid || probe.told(ref), fieldKey(ref).c_str());
        }
        for (const FieldRange &range : probe.stored) {
            QVERIFY(blocks.contains(*blockOf(range.first.field)));
            QVERIFY(blocks.contains(*blockOf(range.last.field)));
        }
    }

    // A page's controls are built when it is first shown, and show the model as it is then.
    void aPageIsBuiltWhenFirstShown()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow(false);
        window->show();
        QVERIFY(!window->findChild<QWidget *>(QStringLiteral("edC0")));
        window->config().Counters[0] = 17;
        window->config().Services[0].BackRing = 5;
        pages(*window).setCurrentIndex(int(MainPage::Setting));
        QCOMPARE(
            window->findChild<QLineEdit *>(QStringLiteral("edC0"))->text(), QStringLiteral("17"));
        QVERIFY(shown(*window, "tcSetting"));
        QVERIFY(!window->findChild<QWidget *>(QStringLiteral("cbBackRing21")));
        window->ensurePagesBuilt();
        QCOMPARE(
            window->findChild<QComboBox *>(QStringLiteral("cbBackRing21"))->currentIndex(), 5);
    }

    void aSilentExchangeEndsWithTheTimeoutMessage()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        sim::Faults silent;
        silent.silentAfter = 0;
        InstantExchangePort &port = fixture.ports.exchangePort();
        port.exchange.setFaults(silent);
        window->actions().acReceive->trigger();
        QCOMPARE(port.timerTicks, 72); // 4000 ms
        port.fireAnswerTimer();
        QCOMPARE(fixture.dialogs.errors, QStringList(QStringLiteral("Timeout on ttyUSB0")));
        QVERIFY(window->engine().isIdle());
        QVERIFY(!shown(*window, "pnlProgress"));
        QVERIFY(!window->actions().acStop->isEnabled());
    }

    void stopEndsTheTransfer()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        window->actions().acSend->trigger();
        // One pass of the event loop answers one byte; waiting on the clock instead may
        // see the whole write through before the stop.
        const std::deque<uint8_t> &sent = fixture.ports.exchangePort().sent;
        for (int pass = 0; pass < 1000 && sent.size() <= 20; ++pass)
            QCoreApplication::processEvents();
        QVERIFY(sent.size() > 20);
        window->actions().acStop->trigger();
        QCOMPARE(window->engine().transferMode(), TransferMode::Stopping);
        QTRY_VERIFY_WITH_TIMEOUT(window->engine().isIdle(), TransferBound);
        QVERIFY(!shown(*window, "pnlProgress"));
        // The exchange may hold part of the write now: that is all the user is told.
        QCOMPARE(fixture.dialogs.errors.size(), 1);
        QVERIFY(fixture.dialogs.errors[0].contains(QStringLiteral("zčásti zapsanou")));
    }

    void choosingThePortAgainEndsTheTransferFirst()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        window->actions().acSend->trigger();
        auto &ports = static_cast<QComboBox &>(child(*window, "cbComPort"));
        emit ports.activated(0);
        QVERIFY(window->engine().isIdle());
        QVERIFY(!shown(*window, "pnlProgress"));
        QCOMPARE(fixture.ports.openings, 2);
    }

    void aPortThatCannotBeOpenedIsReportedAndLeftUnchosen()
    {
        WindowFixture fixture;
        fixture.ports.openable = false;
        auto window = fixture.makeWindow();
        auto &ports = static_cast<QComboBox &>(child(*window, "cbComPort"));
        QCOMPARE(ports.currentIndex(), -1);
        QVERIFY(fixture.dialogs.errors.isEmpty()); // the start-up probe skips silently
        emit ports.activated(0);
        QCOMPARE(
            fixture.dialogs.errors, QStringList(QStringLiteral("ttyUSB0: Permission denied")));
        QCOMPARE(ports.currentIndex(), -1);
        // The first transfer then reports the failed send and leaves the program idle.
        window->actions().acSendRTC->trigger();
        QCOMPARE(fixture.dialogs.errors.size(), 2);
        QVERIFY(window->engine().isIdle());
    }

    // Enter on a typed address opens it and lists it; on a listed name it opens that entry;
    // a text that opens nothing is reported and left in place to be mended.
    void aTypedPortIsOpenedWithEnter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("openable");
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("network address")
            << "rfc2217://127.0.0.1:4001" << true << QStringList {"rfc2217://127.0.0.1:4001"};
        QTest::newRow("listed name") << "ttyUSB0" << true << QStringList {};
        QTest::newRow("nothing to open") << "tcp://127.0.0.1" << false << QStringList {};
    }
    void aTypedPortIsOpenedWithEnter()
    {
        QFETCH(QString, text);
        QFETCH(bool, openable);
        QFETCH(QStringList, typed);
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        fixture.ports.openable = openable;
        auto &ports = static_cast<QComboBox &>(child(*window, "cbComPort"));
        ports.setCurrentIndex(-1); // none in use
        QTest::keyClicks(&ports, text);
        QTest::keyClick(&ports, Qt::Key_Return);
        QCOMPARE(fixture.ports.typed, typed);
        QCOMPARE(fixture.ports.openings, 2); // the start-up probe, then this
        QCOMPARE(ports.currentText(), text);
        QCOMPARE(ports.currentIndex() >= 0, openable);
        QCOMPARE(fixture.dialogs.errors.size(), openable ? 0 : 1);
    }

    // A port that fails in between transfers is reported at once and shown as none.
    void aPortFailureWhileIdleIsReported()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        emit fixture.ports.exchangePort().portFailed(QStringLiteral("tcp://127.0.0.1:4001: "
                                                                    "the server closed the "
                                                                    "connection"));
        QCOMPARE(fixture.dialogs.errors.size(), 1);
        QCOMPARE(static_cast<QComboBox &>(child(*window, "cbComPort")).currentIndex(), -1);
    }

    // With the line trace on, each transfer leaves a file of its own in the trace folder.
    void theLineTraceWritesAFileATransfer()
    {
        QTemporaryDir folder;
        WindowFixture fixture;
        fixture.traceFolder = folder.filePath(QStringLiteral("traces"));
        auto window = fixture.makeWindow();
        window->actions().acTrace->trigger();
        QVERIFY(window->actions().acTrace->isChecked());
        for (int transfer = 0; transfer < 2; ++transfer) {
            window->actions().acSendRTC->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(window->engine().isIdle(), TransferBound);
        }
        const QDir traces(fixture.traceFolder);
        const QStringList files = traces.entryList(QDir::Files);
        QCOMPARE(files.size(), 2);
        QFile trace(traces.filePath(files.front()));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        const QByteArray lines = trace.readAll();
        QCOMPARE(lines.count(" TX "), 19); // the clock write
        QVERIFY(lines.endsWith("-- transfer over\n"));

        window->actions().acTrace->trigger(); // off
        window->actions().acSendRTC->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(window->engine().isIdle(), TransferBound);
        QCOMPARE(traces.entryList(QDir::Files).size(), 2);
    }

    void aCallBackToALineIsAskedAboutBeforeAServicesWrite()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        window->config().Services[2].BackRing = 17; // extension 23 -> line 92
        fixture.dialogs.answerYes = false;
        window->actions().acSend->trigger();
        QCOMPARE(fixture.dialogs.questions.size(), 1); // No to the first question
        fixture.dialogs.answerYes = true;
        fixture.dialogs.questions.clear();
        window->actions().acSend->trigger();
        QCOMPARE(fixture.dialogs.questions.size(), 2);
        QVERIFY(fixture.dialogs.questions.last().contains(QStringLiteral("23")));
        QTRY_VERIFY_WITH_TIMEOUT(window->engine().isIdle(), TransferBound);
    }

    void theStatusBarShowsTheHint()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        window->actions().acReceive->showStatusText(window.get());
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Načíst data z ústředny"));
    }

    void theClockButtonShowsTheClockAfterATick()
    {
        WindowFixture fixture;
        auto window = fixture.makeWindow();
        auto &button = static_cast<QPushButton &>(child(*window, "btSendRTC"));
        QCOMPARE(button.text(), QStringLiteral("Zapsat &datum a čas"));
        auto *timer = window->findChild<QTimer *>(QStringLiteral("ClockTimer"));
        QVERIFY(timer);
        timer->start(0); // the next tick at once
        QTRY_COMPARE(button.text(), clockText(fixture.clock.time));
    }
};

QTEST_MAIN(MainFormTest)
#include "tst_mainform.moc"
