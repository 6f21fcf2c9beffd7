#include "PtyExchange.h"
#include "qtlink/AddressedPort.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

// A line another program holds is named as such: a serial device locked by its user, and a
// serial device server (a real ser2net) whose port another client has.

using namespace ornis;

class PortInUseTest : public QObject
{
    Q_OBJECT

private slots:
    void aLockedSerialDevice()
    {
        PtyExchange far;
        AddressedPort holder;
        QVERIFY(holder.open(far.slavePath()).ok());
        AddressedPort second;
        const Status opened = second.open(far.slavePath());
        QVERIFY(!opened.ok());
        QVERIFY2(opened.message().starts_with(
                     far.portName().toStdString() + ": in use by another program ("),
            opened.message().c_str());
    }

    void aSer2netPortWithAClient_data()
    {
        QTest::addColumn<QString>("accepter"); // ser2net's, before the address
        QTest::addColumn<QString>("scheme");
        QTest::newRow("raw") << "tcp"
                             << "tcp";
        QTest::newRow("RFC 2217") << "telnet(rfc2217),tcp"
                                  << "rfc2217";
    }

    void aSer2netPortWithAClient()
    {
        QFETCH(QString, accepter);
        QFETCH(QString, scheme);
        QString ser2net = QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"});
        if (ser2net.isEmpty())
            QSKIP("needs ser2net (scripts/install-deps.sh)");
        PtyExchange far;
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        QTemporaryDir dir;
        QProcess server;
        server.start(ser2net,
            {"-n", "-u", "-P", dir.filePath("pid"), "-Y",
                QStringLiteral("connection: &line#  accepter: %1,127.0.0.1,%2#"
                               "  connector: serialdev,%3,2400n81,local")
                    .arg(accepter)
                    .arg(port)
                    .arg(far.slavePath())});
        const auto listening = [port] {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            return socket.waitForConnected(200);
        };
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 10'000);

        const QString address = QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(port);
        AddressedPort holder;
        QVERIFY(holder.open(address).ok());
        QTRY_VERIFY_WITH_TIMEOUT(holder.network().isReady(), 10'000);
        AddressedPort second;
        QSignalSpy failed(&second, &QtLinkPort::portFailed);
        QVERIFY(second.open(address).ok());
        QVERIFY(failed.wait(10'000));
        QCOMPARE(failed.first().first().toString(),
            address + ": in use by another program (the server said \"Port already in use\")");
        server.terminate();
        server.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(PortInUseTest)
#include "tst_portinuse.moc"
