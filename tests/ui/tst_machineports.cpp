#include "ui/ports/MachinePorts.h"
#include "ui/ports/RememberedAddresses.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ornis;

// The network addresses typed into the port list, and how they are kept.
class MachinePortsTest : public QObject
{
    Q_OBJECT

private slots:
    // They join the list before the virtual exchange, newest first, in the program's own
    // writing, and stay for the next start; what is no address is refused and not kept.
    void typedAddressesStayForTheNextStart()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("config/network-ports.txt"));
        const QStringList kept {"tcp://[::1]:4002", "rfc2217://127.0.0.1:4001"};
        {
            MachinePorts ports(MachinePorts::Demo::With, file);
            const int serialPorts = ports.demoIndex();
            QVERIFY(ports.openTyped(QStringLiteral(" RFC2217://127.0.0.1:4001 ")).ok());
            QVERIFY(!ports.openTyped(QStringLiteral("tcp://127.0.0.1")).ok());
            QVERIFY(!ports.openTyped(QStringLiteral("telnet://127.0.0.1:23")).ok());
            QVERIFY(ports.openTyped(QStringLiteral("tcp://[::1]:4002")).ok());
            QCOMPARE(ports.names().mid(serialPorts), kept + QStringList {"Demo"});
            QCOMPARE(ports.demoIndex(), serialPorts + 2);
            QCOMPARE(ports.port().name(), "tcp://[::1]:4002");
            ports.close();
        }
        MachinePorts again(MachinePorts::Demo::Without, file);
        QCOMPARE(again.names().mid(again.names().size() - 2), kept);
    }

    // A damaged or foreign file gives what it holds of addresses, at most MaxCount.
    void aDamagedFileGivesItsAddresses()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("network-ports.txt"));
        QByteArray text = "ttyUSB0\n\ntcp://no-port\n" + QByteArray(5000, 'x') + "\n";
        for (const int port : {4001, 4001, 4002, 4003, 4004, 4005, 4006, 4007, 4008, 4009})
            text += "tcp://127.0.0.1:" + QByteArray::number(port) + "\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        const QStringList addresses = RememberedAddresses(path).addresses();
        QCOMPARE(addresses.size(), RememberedAddresses::MaxCount);
        QCOMPARE(addresses.front(), "tcp://127.0.0.1:4001");
        QCOMPARE(addresses.back(), "tcp://127.0.0.1:4008");
    }
};

QTEST_GUILESS_MAIN(MachinePortsTest)
#include "tst_machineports.moc"
