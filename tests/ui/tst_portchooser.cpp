#include "WindowDriver.h"
#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "tests/common/SimToolProcess.h"
#include "tests/qtlink/WaitOnPort.h"
#include "ui/ports/MachinePorts.h"
#include "ui/widgets/PortComboBox.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

// The port list of the window on the machine's real ports, with the machine's list of
// serial ports made up by the test and ornisset-sim as the exchange at a typed path.

using namespace ornis;

namespace {

// The machine's ports as the window lists them, the system's list made up by the test.
struct MachineList
{
    QList<SerialPortEntry> machine; // what the system lists
    MachinePorts ports {MachinePorts::Demo::Without, QString(), [this] { return machine; }};
};

struct PortWindow : MachineList, WindowDriver
{
    PortWindow()
        : WindowDriver([this](WindowDriver &w) { w.fixture.otherPorts = &ports; })
        , list(control<PortComboBox>(QStringLiteral("cbComPort")))
    {
    }

    void type(const QString &text)
    {
        list.lineEdit()->clear();
        QTest::keyClicks(&list, text);
        QTest::keyClick(&list, Qt::Key_Return);
    }

    void dropDown()
    {
        list.showPopup();
        list.hidePopup();
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
                   ports.port(), [this] { return window->engine().isIdle(); }, TransferBound)
            && errors().isEmpty();
    }

    PortComboBox &list;
};

} // namespace

class PortChooserTest : public QObject
{
    Q_OBJECT

private slots:
    // As the README tells: start ornisset-sim, type its device path, read everything.
    // Then an adapter plugged in late appears when the list drops down, and one pulled out
    // goes; the port in use stays chosen, open and wired to the transfers.
    void aTypedPathReachesTheExchangeAndStaysWhenTheListIsReadAnew()
    {
        SimToolProcess sim({});
        QVERIFY(!sim.waitForPath().isEmpty());
        PortWindow w;
        w.type(sim.path);
        QVERIFY2(w.errors().isEmpty(), qPrintable(w.errors().join('\n')));
        QCOMPARE(w.entries(), QStringList {sim.path});
        QCOMPARE(w.list.currentIndex(), 0);

        w.hold(testing::awayFromFactory());
        const ExchangeConfig &config = w.config();
        QVERIFY(w.runs(w.window->actions().acReceive));
        const ExchangeConfig factory = factoryConfig(); // the exchange starts with it
        QCOMPARE(config.Grids.DayRingGrid, factory.Grids.DayRingGrid);
        QCOMPARE(config.Counters, factory.Counters);
        QCOMPARE(config.Services, factory.Services);
        QCOMPARE(config.PETable, factory.PETable);

        w.machine = {{"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART"}};
        w.dropDown();
        QCOMPARE(w.entries(), (QStringList {"ttyUSB0", sim.path}));
        QCOMPARE(w.list.currentText(), sim.path);
        QVERIFY(w.runs(w.window->actions().acSendRTC));
        w.machine.clear();
        w.dropDown();
        QCOMPARE(w.entries(), QStringList {sim.path});
        QCOMPARE(w.list.currentIndex(), 0);
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
        QCOMPARE(w.errors().size(), 1);
        QVERIFY2(w.errors().first().startsWith(shownAs), qPrintable(w.errors()[0]));
        QCOMPARE(w.list.currentIndex(), -1);
        QCOMPARE(w.list.currentText(), path); // left typed, to be mended
        QVERIFY(w.entries().isEmpty());
    }
};

QTEST_MAIN(PortChooserTest)
#include "tst_portchooser.moc"
