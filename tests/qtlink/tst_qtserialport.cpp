#include "LinkUnderTest.h"
#include "PtyExchange.h"
#include "qtlink/PortNames.h"
#include "qtlink/QtSerialPort.h"

#include <QSignalSpy>
#include <QTest>

using namespace ornis;

namespace {

// Counts the socket notifications of the thread while it lives: a notifier left on a dead
// descriptor is notified on every pass of the event loop.
class SocketActivity final : public QObject
{
public:
    SocketActivity() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::SockAct)
            ++count;
        return false;
    }

    int count = 0;
};

// One echoed 'S' through the port: the far end answers and the answer is announced.
bool echoes(QtSerialPort &port)
{
    QSignalSpy arrived(&port, &QtLinkPort::bytesArrived);
    if (!port.sendByte('S').ok() || !arrived.wait(5000))
        return false;
    return arrived.first().first().value<std::size_t>() == 1 && port.readByte() == uint8_t('S');
}

} // namespace

class QtSerialPortTest : public QObject
{
    Q_OBJECT

private slots:
    void naturalOrder_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("numbers by value") << "ttyS2"
                                          << "ttyS10";
        QTest::newRow("COM") << "COM3"
                             << "COM10";
        QTest::newRow("prefix first") << "ttyACM0"
                                      << "ttyS0";
        QTest::newRow("leading zeros") << "ttyUSB01"
                                       << "ttyUSB2";
        QTest::newRow("shorter first") << "ttyS"
                                       << "ttyS0";
    }
    void naturalOrder()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(naturalLess(first, second));
        QVERIFY(!naturalLess(second, first));
        QVERIFY(!naturalLess(first, first));
    }

    // Opened by its device path or by the name without /dev/: either way it is pts/N,
    // which the device's refusal of DTR and RTS does not make unusable.
    void openByPathOrName_data()
    {
        QTest::addColumn<bool>("byPath");
        QTest::newRow("device path") << true;
        QTest::newRow("name") << false;
    }
    void openByPathOrName()
    {
        QFETCH(bool, byPath);
        PtyExchange far;
        QVERIFY(far.isOpen());
        {
            QSerialPort probe(far.slavePath());
            QVERIFY(probe.open(QIODevice::ReadWrite));
            QVERIFY2(!probe.setDataTerminalReady(false), "a pseudo-terminal accepted DTR");
        }
        QtSerialPort port;
        QSignalSpy failures(&port, &QtLinkPort::portFailed);
        const Status opened = port.open(byPath ? far.slavePath() : far.portName());
        QVERIFY2(opened.ok(), opened.message().c_str());
        QCOMPARE(QString::fromStdString(port.name()), far.portName());

        port.setDtr(false);
        QVERIFY(!port.dtr());
        QVERIFY(port.isOpen());
        QVERIFY(echoes(port));
        QVERIFY(failures.isEmpty());
    }

    // Low latency is asked of every opened device; a driver that refuses it (as the
    // pseudo-terminal's own does) leaves the port as usable as one that grants it.
    void lowLatencyIsAskedForAndARefusalTolerated_data()
    {
        QTest::addColumn<int>("driver"); // 1 grants, 0 refuses, -1 the real request
        QTest::newRow("granted") << 1;
        QTest::newRow("refused") << 0;
        QTest::newRow("pseudo-terminal") << -1;
    }
    void lowLatencyIsAskedForAndARefusalTolerated()
    {
        QFETCH(int, driver);
        PtyExchange far;
        QList<SerialHandle> asked;
        QtSerialPort port([&](SerialHandle handle) {
            asked.append(handle);
            return driver < 0 ? requestLowLatency(handle) : driver == 1;
        });
        QSignalSpy failures(&port, &QtLinkPort::portFailed);
        QVERIFY(port.open(far.slavePath()).ok());
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first() >= 0);
        QCOMPARE(port.lowLatency(), driver == 1);
        QVERIFY(echoes(port));
        QVERIFY(failures.isEmpty());
        port.close();
        QVERIFY(!port.lowLatency());
    }

    void openFailure()
    {
        QtSerialPort port;
        const Status opened = port.open(QStringLiteral("/dev/pts/999999"));
        QVERIFY(!opened.ok());
        QVERIFY(QString::fromStdString(opened.message()).startsWith("pts/999999: "));
        QVERIFY(!port.isOpen());

        ExchangeConfig config;
        FixedClock clock;
        RecordingObserver observer;
        TransferEngine engine(config, port, clock, observer);
        QVERIFY(!engine.startTransfer(TransferMode::ClockWrite));
        QVERIFY(engine.isIdle());
        QCOMPARE(observer.errors.size(), size_t(1));
    }

    // Bytes that waited on the line before the opening are no answer to anything.
    void staleInputIsDiscardedOnOpen()
    {
        PtyExchange far;
        QVERIFY(far.chatter("stale bytes"));
        QtSerialPort port;
        QVERIFY(port.open(far.slavePath()).ok());
        QCOMPARE(port.bytesAvailable(), size_t(0));
        QVERIFY(echoes(port));
    }

    // The far end closes the pty in the middle of a transfer: one error, the engine idle,
    // the port closed, and no loop on the dead descriptor afterwards.
    void farEndGoneBurnsNoCpu()
    {
        PtyLink link;
        QVERIFY(link.opened());
        QSignalSpy failures(&link.port(), &QtLinkPort::portFailed);
        QSignalSpy arrivals(&link.port(), &QtLinkPort::bytesArrived);
        link.farEnd().disappearAfter(150);
        QVERIFY(link.engine().startTransfer(TransferMode::ShortDialsRead));
        QVERIFY(link.runToIdle());
        QVERIFY(!link.port().isOpen());
        QCOMPARE(link.observer.errors.size(), size_t(1));
        QCOMPARE(QString::fromStdString(link.observer.errors.front()),
            link.farEnd().portName()
                + ": the connection was lost (the device hung up or was unplugged)");

        arrivals.clear();
        const SocketActivity activity;
        for (int pass = 0; pass < 100; ++pass)
            QCoreApplication::processEvents();
        QVERIFY2(activity.count == 0, "the dead descriptor is still watched");
        QCOMPARE(failures.size(), 1);
        QVERIFY(arrivals.isEmpty());
        QCOMPARE(link.observer.errors.size(), size_t(1));
        const Status send = link.port().sendByte('S');
        QCOMPARE(send.message(), link.observer.errors.front());
    }
};

QTEST_GUILESS_MAIN(QtSerialPortTest)
#include "tst_qtserialport.moc"
