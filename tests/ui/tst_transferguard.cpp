#include "WindowDriver.h"
#include "common/FilePath.h"
#include "config/SettingsFile.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "ui/MainActions.h"
#include "ui/transfer/TransferGuard.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>

using namespace ornis;

namespace {

constexpr uint8_t E = 'E';
constexpr uint8_t X = 'X';

// A window on the instant exchange, with a recent settings file that the exchange's values
// never match.
struct GuardWindow : WindowDriver
{
    GuardWindow()
        : WindowDriver([](WindowDriver &d) {
            d.fixture.recentFiles = d.path("recent.ini");
            d.fixture.settings = d.path("window.ini");
            d.fixture.backups = d.path("backups");
            ExchangeConfig file = factoryConfig();
            file.ShortDialTable[7] = {2, "777", ""};
            if (!SaveSettingsFile(toFilePath(d.path("file.set")), file).ok())
                qFatal("cannot write the settings file");
            QSettings(d.fixture.recentFiles, QSettings::IniFormat)
                .setValue(QStringLiteral("RecentFiles/paths"), QStringList {d.path("file.set")});
        })
    {
    }
    template<typename Widget> Widget &child(const char *name) const
    {
        return control<Widget>(QLatin1String(name));
    }
    QString status() const { return child<QLabel>("lbTransferStatus").text(); }
    // Starts a whole read or write and lets it run for a while; one pass of the event
    // loop answers one byte.
    void startAndRun(QAction *action)
    {
        action->trigger();
        for (int pass = 0; pass < 1000 && port().sent.size() <= 20; ++pass)
            QCoreApplication::processEvents();
        QVERIFY(!window->engine().isIdle());
    }
    void drop(const QString &file)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent drop({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &drop);
    }
};

// An action that replaces the configuration or the line, and how to see it carried out.
struct GuardedAction
{
    std::function<void(GuardWindow &)> run;
    std::function<bool(GuardWindow &)> done;
};

bool fileLoaded(GuardWindow &w)
{
    return w.window->config().ShortDialTable[7].Number == "777";
}

} // namespace

Q_DECLARE_METATYPE(GuardedAction)

class TransferGuardTest : public QObject
{
    Q_OBJECT

private slots:
    // Every action that replaces the configuration or the line asks first while a read or
    // a write runs. Yes: the stop sequence goes out, then the action is carried out whole.
    // No: the transfer runs to its end and the action is not carried out.
    void guardedActionsWaitForTheTransfer_data()
    {
        QTest::addColumn<GuardedAction>("action");
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("yes");
        const std::pair<const char *, GuardedAction> actions[] = {
            {"open",
                {[](GuardWindow &w) {
                     w.fixture.dialogs.chosenFiles = {w.path("file.set")};
                     w.actions().acOpen->trigger();
                 },
                    fileLoaded}},
            {"open backup",
                {[](GuardWindow &w) {
                     w.fixture.dialogs.chosenFiles = {w.path("file.set")};
                     w.actions().acOpenBackup->trigger();
                 },
                    fileLoaded}},
            {"recent file",
                {[](GuardWindow &w) { w.actions().acRecentFiles[0]->trigger(); }, fileLoaded}},
            {"dropped file", {[](GuardWindow &w) { w.drop(w.path("file.set")); }, fileLoaded}},
            {"factory values",
                {[](GuardWindow &w) { w.actions().acDef->trigger(); },
                    [](GuardWindow &w) {
                        return w.window->config().Counters == factoryConfig().Counters;
                    }}},
            {"model",
                {[](GuardWindow &w) { emit w.child<QComboBox>("cbCentralType").activated(1); },
                    [](GuardWindow &w) {
                        return w.window->config().ExchangeType == ModelVega
                            && w.child<QComboBox>("cbCentralType").currentIndex() == 1;
                    }}},
            {"module",
                {[](GuardWindow &w) { w.child<QCheckBox>("chbMiraMKV").click(); },
                    [](GuardWindow &w) {
                        return w.window->config().ExchangeModules.MiraMKV
                            && w.child<QCheckBox>("chbMiraMKV").isChecked();
                    }}},
            {"port",
                {[](GuardWindow &w) { emit w.child<QComboBox>("cbComPort").activated(0); },
                    [](GuardWindow &w) { return w.fixture.ports.openings == 2; }}},
            {"compare",
                {[](GuardWindow &w) { w.actions().acCompare->trigger(); },
                    [](GuardWindow &w) { return w.fixture.dialogs.differences.size() == 1; }}},
        };
        for (const auto &[name, action] : actions) {
            for (const bool read : {true, false}) {
                for (const bool yes : {true, false})
                    QTest::addRow(
                        "%s during a %s, %s", name, read ? "read" : "write", yes ? "yes" : "no")
                        << action << read << yes;
            }
        }
    }
    void guardedActionsWaitForTheTransfer()
    {
        QFETCH(GuardedAction, action);
        QFETCH(bool, read);
        QFETCH(bool, yes);
        GuardWindow w;
        w.change([](ExchangeConfig &c) {
            c = testing::awayFromFactory();
            c.ShortDialTable[7].Number.clear();
        });
        w.startAndRun(read ? w.actions().acReceive : w.actions().acSend);
        const std::size_t sentBefore = w.port().sent.size();
        w.fixture.dialogs.answerYes = yes;
        action.run(w);
        QCOMPARE(w.fixture.dialogs.questions.count(TransferGuard::Question), qsizetype(1));
        QVERIFY(!action.done(w));
        if (!yes) {
            QTRY_VERIFY_WITH_TIMEOUT(w.window->engine().isIdle(), TransferBound);
            QCOMPARE(w.status(), read ? QStringLiteral("Načteno") : QStringLiteral("Zapsáno"));
            QVERIFY(!action.done(w));
            return;
        }
        QCOMPARE(w.window->engine().transferMode(), TransferMode::Stopping);
        QTRY_VERIFY_WITH_TIMEOUT(action.done(w), TransferBound);
        const std::deque<uint8_t> &sent = w.port().sent;
        QVERIFY(sent.size() >= sentBefore + 2);
        QCOMPARE(sent[sentBefore], E);
        QCOMPARE(sent[sentBefore + 1], X);
    }

    // Closing never waits for more than the stop sequence, or one answer timeout when the
    // exchange is silent. A write ended so is told about once, at the next start, naming
    // the backup of what the exchange held before it.
    void closingEndsTheTransferFirst_data()
    {
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("silent");
        QTest::newRow("write") << false << false;
        QTest::newRow("write, silent exchange") << false << true;
        QTest::newRow("read") << true << false;
    }
    void closingEndsTheTransferFirst()
    {
        QFETCH(bool, read);
        QFETCH(bool, silent);
        GuardWindow w;
        w.actions().acReceive->trigger(); // the exchange as it is goes into a backup
        QTRY_VERIFY_WITH_TIMEOUT(w.window->engine().isIdle(), TransferBound);
        w.window->show();
        w.startAndRun(read ? w.actions().acReceive : w.actions().acSend);
        const std::size_t sentBefore = w.port().sent.size();
        if (silent) {
            sim::Faults faults;
            faults.silentAfter = w.port().exchange.bytesReceived();
            w.port().exchange.setFaults(faults);
        }
        QVERIFY(!w.window->close());
        QVERIFY(w.window->isVisible());
        if (silent) {
            QTRY_COMPARE_WITH_TIMEOUT(w.port().sent.size(), sentBefore + 1, TransferBound);
            QCOMPARE(w.port().timerTicks, 72);
            w.port().fireAnswerTimer();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!w.window->isVisible(), TransferBound);
        QVERIFY(w.window->engine().isIdle());
        const std::deque<uint8_t> sent(
            w.port().sent.begin() + std::ptrdiff_t(sentBefore), w.port().sent.end());
        const std::deque<uint8_t> stopSequence
            = silent ? std::deque<uint8_t> {E} : std::deque<uint8_t> {E, X};
        QCOMPARE(sent, stopSequence);
        QVERIFY(w.fixture.dialogs.errors.isEmpty());
        w.window.reset();

        for (const bool first : {true, false}) {
            w.window = w.fixture.makeWindow();
            QCoreApplication::processEvents();
            const QStringList &errors = w.fixture.dialogs.errors;
            QCOMPARE(errors.size(), !read && first ? 1 : 0);
            if (!errors.isEmpty()) {
                QVERIFY(errors[0].contains(QStringLiteral("ukončen zavřením okna")));
                QVERIFY(errors[0].contains(QStringLiteral("cteni_vse")));
            }
            w.fixture.dialogs.errors.clear();
            w.window.reset();
        }
    }

    // With "Ověřit po zápisu" on, a complete write is read back and compared with what it
    // sent (a wake-up "99:99" goes out unset, a dial with no line as line 15); the choice
    // is remembered.
    void verifyAfterWrite_data()
    {
        QTest::addColumn<bool>("verify");
        QTest::addColumn<bool>("garbled");
        QTest::addColumn<QString>("status");
        QTest::newRow("off") << false << false << "Zapsáno";
        QTest::newRow("on") << true << false << "Zapsáno a ověřeno";
        QTest::newRow("on, a byte garbled") << true << true << "Načteno";
    }
    void verifyAfterWrite()
    {
        QFETCH(bool, verify);
        QFETCH(bool, garbled);
        QFETCH(QString, status);
        GuardWindow w;
        QVERIFY(!w.actions().acVerifyAfterWrite->isChecked());
        w.actions().acVerifyAfterWrite->setChecked(verify);
        w.change([](ExchangeConfig &c) {
            c.Services[2].AlarmOnce = "99:99";
            c.ShortDialTable[3].Line = -1;
        });
        const ExchangeConfig &config = w.config();
        sim::Faults faults;
        if (garbled)
            faults.noise[0x210] = 0x00; // the line byte of short-dial slot 2: line 1, not 0
        w.port().exchange.setFaults(faults);
        w.actions().acSend->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(w.status(), status, TransferBound);
        QTRY_VERIFY_WITH_TIMEOUT(w.window->engine().isIdle(), TransferBound);
        QCOMPARE(w.fixture.dialogs.verifications.size(), std::size_t(garbled ? 1 : 0));
        if (garbled) {
            QCOMPARE(w.fixture.dialogs.verifications[0].size(), std::size_t(1));
            QCOMPARE(
                w.fixture.dialogs.verifications[0][0].block, QStringLiteral("Zkrácené volby"));
        }
        QVERIFY(w.fixture.dialogs.differences.empty());
        QCOMPARE(config.ShortDialTable[3].Line, -1); // the window keeps its own values
        w.window = w.fixture.makeWindow();
        QCOMPARE(w.actions().acVerifyAfterWrite->isChecked(), verify);
    }
};

QTEST_MAIN(TransferGuardTest)
#include "tst_transferguard.moc"
