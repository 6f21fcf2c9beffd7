#include "WindowDriver.h"
#include "config/AppConfigFile.h"
#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "sim/Preload.h"
#include "tests/common/SampleConfig.h"
#include "ui/clock/ClockText.h"
#include "ui/editing/ConfigEditor.h"
#include "ui/editing/ConfigView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
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

bool shown(WindowDriver &w, const char *name)
{
    return w.control(QLatin1String(name)).isVisibleTo(w.window.get());
}

void writePreferences(const QString &path, int model, ModuleFlags modules)
{
    ExchangeConfig config;
    config.ExchangeType = model;
    config.ExchangeModules = modules;
    SaveAppConfig(path.toStdString(), config);
}

bool sameRange(const FieldRange &a, const FieldRange &b)
{
    return a.first == b.first && a.last == b.last;
}

// A view that keeps what the window told it: the grids told whole, everything told at once.
class ProbeView final : public ConfigView
{
public:
    void showValues(const FieldRange &range) override
    {
        stored.push_back(range);
        refreshes += sameRange(range, wholeConfigRange());
        gridRefreshes += sameRange(range, fieldRange(Field::ExtensionGrid));
    }

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
        WindowDriver w;
        auto &model = static_cast<QComboBox &>(w.control(QStringLiteral("cbCentralType")));
        QCOMPARE(model.currentIndex(), 0);
        QVERIFY(w.pages().isTabVisible(PETab));
        QVERIFY(shown(w, "gbMira") && shown(w, "imgMira"));
        QVERIFY(!shown(w, "gbVega") && !shown(w, "imgVegaX"));
        QCOMPARE(static_cast<QComboBox &>(w.control(QStringLiteral("cbComPort"))).currentText(),
            QStringLiteral("ttyUSB0"));
        QVERIFY(!w.fixture.ports.dtr); // the start-up probe switches DTR off
        QVERIFY(!shown(w, "pnlProgress"));
        QVERIFY(!w.window->actions().acStop->isEnabled());
        QCOMPARE(w.window->config(), factoryConfig()); // every block at its factory values
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

        WindowDriver w([&path](WindowDriver &d) { d.fixture.preferences = path; });
        QCOMPARE(
            static_cast<QComboBox &>(w.control(QStringLiteral("cbCentralType"))).currentIndex(),
            shownIndex);
        QCOMPARE(w.pages().isTabVisible(PETab), peTab);
        QCOMPARE(shown(w, "gbVegaX"), stored == 2);
        QCOMPARE(shown(w, "imgVegaX"), stored == 2);
        QCOMPARE(shown(w, "gbVega"), stored == 1);
        QVERIFY(!shown(w, "gbMira") && !shown(w, "imgMira"));
        QCOMPARE(static_cast<QCheckBox &>(w.control(QStringLiteral("chbMKX"))).isChecked(), true);
    }

    void preferencesAreWrittenAtCloseAndReadAtTheNextStart()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("sub/OSet.cfg"));
        {
            WindowDriver w([&path](WindowDriver &d) { d.fixture.preferences = path; });
            auto &model = static_cast<QComboBox &>(w.control(QStringLiteral("cbCentralType")));
            model.setCurrentIndex(1);
            emit model.activated(1); // the user picks VEGA
            QVERIFY(!w.pages().isTabVisible(PETab));
            QTest::mouseClick(
                &static_cast<QCheckBox &>(w.control(QStringLiteral("chbMKPR"))), Qt::LeftButton);
            w.window->close();
            QVERIFY(w.fixture.dialogs.questions.isEmpty()); // closing asks nothing
        }
        QCOMPARE(QFileInfo(path).size(), 528);
        WindowDriver w([&path](WindowDriver &d) { d.fixture.preferences = path; });
        QCOMPARE(w.window->config().ExchangeType, int(ModelVega));
        QVERIFY(w.window->config().ExchangeModules.MKPR);
        QVERIFY(!w.pages().isTabVisible(PETab));
    }

    void noToTheQuestionChangesNothing()
    {
        WindowDriver w([](WindowDriver &d) { d.fixture.dialogs.answerYes = false; });
        w.window->actions().acReceive->trigger();
        w.window->actions().acSend->trigger();
        w.window->actions().acSendRTC->trigger();
        QCOMPARE(w.fixture.dialogs.questions,
            QStringList({QStringLiteral("Načíst data z ústředny ?"),
                QStringLiteral("Zapsat data do ústředny ?"),
                QStringLiteral("Zapsat čas do ústředny ?")}));
        QVERIFY(w.window->engine().isIdle());
        QVERIFY(w.fixture.ports.exchangePort().sent.empty());
    }

    void aTransferActionWhileATransferRunsAsksNothing()
    {
        WindowDriver w;
        w.window->actions().acSend->trigger();
        QVERIFY(!w.window->engine().isIdle());
        QVERIFY(w.window->actions().acStop->isEnabled());
        w.window->actions().acReceive->trigger();
        w.window->actions().acSendRTC->trigger();
        QCOMPARE(w.fixture.dialogs.questions.size(), 1);
        QVERIFY(w.runToIdle());
    }

    void wholeWriteThenReadThroughTheWindow()
    {
        WindowDriver w;
        w.change([](ExchangeConfig &c) {
            c.ShortDialTable[5] = {2, "0P123", "kept"};
            c.Counters[0] = 25;
            c.Services[3].AlarmDaily = "07:30";
            c.PETable[99] = {6, "42"};
        });
        const ExchangeConfig &config = w.config();
        const ExchangeConfig written = config;

        auto *sendAll = w.window->findChild<QPushButton *>(QStringLiteral("btSendAll"));
        QVERIFY(sendAll);
        QTest::mouseClick(sendAll, Qt::LeftButton);
        repaintNow(*w.window);
        QVERIFY(shown(w, "pnlProgress"));
        QVERIFY(w.runToIdle());
        QVERIFY(!shown(w, "pnlProgress"));
        QVERIFY(!w.window->actions().acStop->isEnabled());

        w.change([](ExchangeConfig &c) {
            ResetAll(c);
            c.ShortDialTable[5].Comment = "kept";
        });
        QTest::mouseClick(
            w.window->findChild<QPushButton *>(QStringLiteral("btReceiveAll")), Qt::LeftButton);
        repaintNow(*w.window);
        QVERIFY(shown(w, "pnlProgress"));
        QVERIFY(w.runToIdle());
        QVERIFY(!shown(w, "pnlProgress"));
        QCOMPARE(config.ShortDialTable, written.ShortDialTable);
        QCOMPARE(config.PETable, written.PETable);
        QCOMPARE(config.Counters, written.Counters);
        QCOMPARE(config.Services, written.Services);
        QVERIFY(w.fixture.dialogs.errors.isEmpty());
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
        WindowDriver w;
        (void)sim::writeIntoExchange(testing::awayFromFactory(), w.exchange());
        ProbeView probe;
        w.window->setView(MainPage::Setup, &probe);
        const ExchangeConfig before = w.config();
        QVERIFY(w.run(page, w.actions().acReceive));
        w.window->setView(MainPage::Setup, nullptr);

        QCOMPARE(probe.gridRefreshes, gridRefreshes);
        QCOMPARE(probe.refreshes, 0);
        for (const FieldRef &ref : differingFields(before, w.config(), blocks, false)) {
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
        ExchangeConfig edited = window->config();
        edited.Counters[0] = 17;
        edited.Services[0].BackRing = 5;
        window->editor().applyBlocks(edited, BlockSet::all(), QStringLiteral("Změna v testu"));
        window->findChild<QTabWidget *>(QStringLiteral("pcMain"))
            ->setCurrentIndex(int(MainPage::Setting));
        QCOMPARE(
            window->findChild<QLineEdit *>(QStringLiteral("edC0"))->text(), QStringLiteral("17"));
        QVERIFY(window->findChild<QWidget *>(QStringLiteral("tcSetting"))->isVisible());
        QVERIFY(!window->findChild<QWidget *>(QStringLiteral("cbBackRing21")));
        window->ensurePagesBuilt();
        QCOMPARE(
            window->findChild<QComboBox *>(QStringLiteral("cbBackRing21"))->currentIndex(), 5);
    }

    void aSilentExchangeEndsWithTheTimeoutMessage()
    {
        WindowDriver w;
        sim::Faults silent;
        silent.silentAfter = 0;
        InstantExchangePort &port = w.fixture.ports.exchangePort();
        port.exchange.setFaults(silent);
        w.window->actions().acReceive->trigger();
        QCOMPARE(port.timerTicks, 72); // 4000 ms
        port.fireAnswerTimer();
        QCOMPARE(w.fixture.dialogs.errors, QStringList(QStringLiteral("Timeout on ttyUSB0")));
        QVERIFY(w.window->engine().isIdle());
        QVERIFY(!shown(w, "pnlProgress"));
        repaintNow(*w.window);
        QVERIFY(!w.window->actions().acStop->isEnabled());
    }

    void stopEndsTheTransfer()
    {
        WindowDriver w;
        w.window->actions().acSend->trigger();
        // One pass of the event loop answers one byte; waiting on the clock instead may
        // see the whole write through before the stop.
        const std::deque<uint8_t> &sent = w.fixture.ports.exchangePort().sent;
        for (int pass = 0; pass < 1000 && sent.size() <= 20; ++pass)
            QCoreApplication::processEvents();
        QVERIFY(sent.size() > 20);
        w.window->actions().acStop->trigger();
        QCOMPARE(w.window->engine().transferMode(), TransferMode::Stopping);
        QVERIFY(w.runToIdle());
        QVERIFY(!shown(w, "pnlProgress"));
        // The exchange may hold part of the write now: that is all the user is told.
        QCOMPARE(w.fixture.dialogs.errors.size(), 1);
        QVERIFY(w.fixture.dialogs.errors[0].contains(QStringLiteral("zčásti zapsanou")));
    }

    // The port chosen is opened once the transfer is over, the one of that name: the list
    // may have been read anew meanwhile.
    void choosingThePortAgainEndsTheTransferFirst()
    {
        WindowDriver w([](WindowDriver &d) { d.fixture.ports.typed = {QStringLiteral("COM7")}; });
        w.window->actions().acSend->trigger();
        auto &ports = static_cast<QComboBox &>(w.control(QStringLiteral("cbComPort")));
        emit ports.activated(1);
        w.fixture.ports.typed.prepend(QStringLiteral("COM3"));
        QCOMPARE(w.fixture.ports.openings, 1); // not before the exchange answered the stop
        QTRY_VERIFY_WITH_TIMEOUT(w.fixture.ports.openings == 2, TransferBound);
        QCOMPARE(w.fixture.ports.lastOpened, QStringLiteral("COM7"));
        QVERIFY(w.window->engine().isIdle());
        QVERIFY(!shown(w, "pnlProgress"));
    }

    void aPortThatCannotBeOpenedIsReportedAndLeftUnchosen()
    {
        WindowDriver w([](WindowDriver &d) { d.fixture.ports.openable = false; });
        auto &ports = static_cast<QComboBox &>(w.control(QStringLiteral("cbComPort")));
        QCOMPARE(ports.currentIndex(), -1);
        QVERIFY(w.fixture.dialogs.errors.isEmpty()); // the start-up probe skips silently
        emit ports.activated(0);
        QCOMPARE(
            w.fixture.dialogs.errors, QStringList(QStringLiteral("ttyUSB0: Permission denied")));
        QCOMPARE(ports.currentIndex(), -1);
        // The first transfer then reports the failed send and leaves the program idle.
        w.window->actions().acSendRTC->trigger();
        QCOMPARE(w.fixture.dialogs.errors.size(), 2);
        QVERIFY(w.window->engine().isIdle());
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
        WindowDriver w;
        w.fixture.ports.openable = openable;
        auto &ports = static_cast<QComboBox &>(w.control(QStringLiteral("cbComPort")));
        ports.setCurrentIndex(-1); // none in use
        QTest::keyClicks(&ports, text);
        QTest::keyClick(&ports, Qt::Key_Return);
        QCOMPARE(w.fixture.ports.typed, typed);
        QCOMPARE(w.fixture.ports.openings, 2); // the start-up probe, then this
        QCOMPARE(ports.currentText(), text);
        QCOMPARE(ports.currentIndex() >= 0, openable);
        QCOMPARE(w.fixture.dialogs.errors.size(), openable ? 0 : 1);
    }

    // A port that fails in between transfers is reported at once and shown as none.
    void aPortFailureWhileIdleIsReported()
    {
        WindowDriver w;
        emit w.fixture.ports.exchangePort().portFailed(QStringLiteral("tcp://127.0.0.1:4001: "
                                                                      "the server closed the "
                                                                      "connection"));
        QCOMPARE(w.fixture.dialogs.errors.size(), 1);
        QCOMPARE(
            static_cast<QComboBox &>(w.control(QStringLiteral("cbComPort"))).currentIndex(), -1);
    }

    // With the line trace on, each transfer leaves a file of its own in the trace folder;
    // one that cannot be written is said, and the transfer goes on.
    void theLineTraceWritesAFileATransfer()
    {
        WindowDriver w(
            [](WindowDriver &d) { d.fixture.traceFolder = d.path(QStringLiteral("traces")); });
        w.window->actions().acTrace->trigger();
        QVERIFY(w.window->actions().acTrace->isChecked());
        for (int transfer = 0; transfer < 2; ++transfer) {
            w.window->actions().acSendRTC->trigger();
            QVERIFY(w.runToIdle());
        }
        const QDir traces(w.fixture.traceFolder);
        const QStringList files = traces.entryList(QDir::Files);
        QCOMPARE(files.size(), 2);
        QFile trace(traces.filePath(files.front()));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        const QByteArray lines = trace.readAll();
        QCOMPARE(lines.count(" TX "), 19); // the clock write
        QVERIFY(lines.endsWith("-- transfer over\n"));

        w.window->actions().acTrace->trigger(); // off
        w.window->actions().acSendRTC->trigger();
        QVERIFY(w.runToIdle());
        QCOMPARE(traces.entryList(QDir::Files).size(), 2);
        QVERIFY(w.errors().isEmpty());

        w.window->actions().acTrace->trigger(); // on, then the folder is gone
        QVERIFY(QDir(w.fixture.traceFolder).removeRecursively());
        QVERIFY(QFile(w.fixture.traceFolder).open(QIODevice::WriteOnly));
        const std::size_t sent = w.port().sent.size();
        w.window->actions().acSendRTC->trigger();
        QVERIFY(w.runToIdle());
        QCOMPARE(w.errors().size(), 1);
        QVERIFY2(w.errors()[0].startsWith(QStringLiteral("Záznam komunikace není úplný: "
                                                         "Cannot write the line trace ")),
            qPrintable(w.errors()[0]));
        QCOMPARE(w.port().sent.size(), sent + 19); // the whole clock write
    }

    void aCallBackToALineIsAskedAboutBeforeAServicesWrite()
    {
        WindowDriver w;
        w.change([](ExchangeConfig &c) { c.Services[2].BackRing = 17; }); // 23 -> line 92
        w.fixture.dialogs.answerYes = false;
        w.window->actions().acSend->trigger();
        QCOMPARE(w.fixture.dialogs.questions.size(), 1); // No to the first question
        w.fixture.dialogs.answerYes = true;
        w.fixture.dialogs.questions.clear();
        w.window->actions().acSend->trigger();
        QCOMPARE(w.fixture.dialogs.questions.size(), 2);
        QVERIFY(w.fixture.dialogs.questions.last().contains(QStringLiteral("23")));
        QVERIFY(w.runToIdle());
    }

    // Alt and a letter reaches one thing: a menu or a button of the window.
    void noTwoMenusOrButtonsShareAnAltKey()
    {
        WindowDriver w;
        QStringList captions;
        for (const QAction *menu : w.window->menuBar()->actions())
            captions << menu->text();
        for (const QPushButton *button : w.window->findChildren<QPushButton *>())
            if (button->isVisibleTo(w.window.get()))
                captions << button->text();
        QMap<int, QString> taken;
        for (const QString &caption : captions) {
            const QKeySequence alt = QKeySequence::mnemonic(caption);
            if (alt.isEmpty())
                continue;
            const QString other = taken.value(alt[0].toCombined());
            QVERIFY2(other.isEmpty() || other == caption, qPrintable(other + " / " + caption));
            taken.insert(alt[0].toCombined(), caption);
        }
    }

    void theStatusBarShowsTheHint()
    {
        WindowDriver w;
        w.window->actions().acReceive->showStatusText(w.window.get());
        QCOMPARE(
            w.window->statusBar()->currentMessage(), QStringLiteral("Načíst data z ústředny"));
    }

    // The button shows the clock from the first beat on, and follows it.
    void theClockButtonShowsTheClockAfterABeat()
    {
        WindowDriver w;
        auto &button = w.control<QPushButton>(QStringLiteral("btSendRTC"));
        QCOMPARE(w.fixture.clockBeat.intervalMs, 1000);
        QCOMPARE(button.text(), QStringLiteral("Zapsat &datum a čas"));
        w.fixture.clockBeat.beatNow();
        QCOMPARE(button.text(), clockText(w.fixture.clock.time));
        w.fixture.clock.time.minute = 0;
        w.fixture.clockBeat.beatNow();
        QCOMPARE(button.text(), clockText(w.fixture.clock.time));
    }
};

QTEST_MAIN(MainFormTest)
#include "tst_mainform.moc"
