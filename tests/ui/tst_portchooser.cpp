#include "WindowFixture.h"
#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "tests/common/SimToolProcess.h"
#include "tests/qtlink/WaitOnPort.h"
#include "ui/MachinePorts.h"
#include "ui/PortComboBox.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

// The port list of the window on the machine's real ports, with the machine's list of
// serial ports made up by the test and ornisset-sim as the exchange at a typed path.

using namespace ornis;

namespace {

constexpr int TransferBound = 60'000; // ms: a whole read over a pty takes about a second

struct PortWindow
{
    PortWindow()
        : window(MainFormServices {ports, dialogs, clock, QString(), -1})
        , list(*window.findChild<PortComboBox *>(QStringLiteral("cbComPort")))
    {
    }

    void type(const QString &text)
    {
        list.lineEdit()->clear();
        QTest::keyClicks(&list, text);
        QTest::keyClick(&list, Qt::Key_Return);
    }

    [[nodiscard]] QStringList entries() const
    {
        QStringList texts;
        for (int index = 0; index < list.count(); ++index)
            texts.append(list.itemText(index));
        return texts;
    }

    [[nodiscard]] bool runs(QAction *action)
    {
        action->trigger();
        return waitOnPort(
                   ports.port(), [this] { return window.engine().isIdle(); }, TransferBound)
            && dialogs.errors.isEmpty();
    }

    QList<SerialPortEntry> machine; // what the system lists
    MachinePorts ports {MachinePorts::Demo::Without, [this] { return machine; }};
    ScriptedDialogs dialogs;
    FixedClock clock;
    TMainForm window;
    PortComboBox &list;
};

} // namespace

class PortChooserTest : public QObject
{
    Q_OBJECT

private slots:
    // As the README tells: start ornisset-sim, type its device path, read everything.
    void aTypedPathReachesTheExchangeFreshFromTheFactory()
    {
        SimToolProcess sim({});
        QVERIFY(!sim.waitForPath().isEmpty());
        PortWindow w;
        QCOMPARE(w.list.currentIndex(), -1);
        w.type(sim.path);
        QVERIFY2(w.dialogs.errors.isEmpty(), qPrintable(w.dialogs.errors.join('\n')));
        QCOMPARE(w.list.currentText(), sim.path);

        ExchangeConfig &config = w.window.config();
        config = testing::awayFromFactory();
        QVERIFY(w.runs(w.window.actions().acReceive));
        const ExchangeConfig factory = factoryConfig();
        QCOMPARE(config.Grids.DayRingGrid, factory.Grids.DayRingGrid);
        QCOMPARE(config.Counters, factory.Counters);
        QCOMPARE(config.Services, factory.Services);
        QCOMPARE(config.PETable, factory.PETable);
    }

    void aTypedPathThatDoesNotOpenIsReportedAndLeftUnchosen_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shownAs");
        QTest::newRow("no such device") << "/dev/no-such-port"
                                        << "no-such-port: ";
        QTest::newRow("not a serial device") << "/dev/null"
                                             << "null: ";
    }
    void aTypedPathThatDoesNotOpenIsReportedAndLeftUnchosen()
    {
        QFETCH(QString, path);
        QFETCH(QString, shownAs);
        PortWindow w;
        w.type(path);
        QCOMPARE(w.dialogs.errors.size(), 1);
        QVERIFY2(w.dialogs.errors.first().startsWith(shownAs), qPrintable(w.dialogs.errors[0]));
        QCOMPARE(w.list.currentIndex(), -1);
        QCOMPARE(w.list.currentText(), QString());
        QVERIFY(w.entries().isEmpty());
    }

    // An adapter plugged in late appears when the list drops down, one pulled out goes;
    // the port in use stays chosen, open and wired to the transfers.
    void droppingDownListsThePortsAnewAndKeepsThePortInUse()
    {
        SimToolProcess sim({});
        QVERIFY(!sim.waitForPath().isEmpty());
        PortWindow w;
        w.type(sim.path);
        QCOMPARE(w.entries(), QStringList {sim.path});

        w.machine = {{"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART"}};
        w.list.showPopup();
        w.list.hidePopup();
        QCOMPARE(w.entries(), (QStringList {"ttyUSB0", sim.path}));
        QCOMPARE(w.list.currentText(), sim.path);
        QVERIFY(w.runs(w.window.actions().acSendRTC));

        w.machine.clear();
        w.list.showPopup();
        w.list.hidePopup();
        QCOMPARE(w.entries(), QStringList {sim.path});
        QCOMPARE(w.list.currentIndex(), 0);
    }
};

QTEST_MAIN(PortChooserTest)
#include "tst_portchooser.moc"
