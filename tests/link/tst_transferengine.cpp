#include <QTest>

#include "config/ExchangeConfig.h"
#include "link/DigitCodec.h"
#include "link/TransferEngine.h"
#include "link/TransferObserver.h"
#include "sim/LineDriver.h"
#include "sim/SimulatedPort.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"

using namespace ornis;

class TransferEngineTest : public QObject
{
    Q_OBJECT

private slots:
    void timeoutTicks_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("ticks");
        QTest::newRow("4000 ms") << 4000 << 72;
        QTest::newRow("1000 ms") << 1000 << 18;
        QTest::newRow("below one tick") << 10 << 1;
    }
    void timeoutTicks()
    {
        QFETCH(int, ms);
        QFETCH(int, ticks);
        QCOMPARE(TransferEngine::timeoutTicks(ms), ticks);
    }

    void progressRoundsLikeMulDivAndCaps()
    {
        QCOMPARE(TransferEngine::progressPercent(1, 18), 6);   // 5.55 -> 6
        QCOMPARE(TransferEngine::progressPercent(1, 200), 1);  // 0.5 -> 1
        QCOMPARE(TransferEngine::progressPercent(214, 214), 100);
        QCOMPARE(TransferEngine::progressPercent(854, 848), 100);
    }

    void byteWhileIdleIsDropped()
    {
        ExchangeConfig config;
        sim::VirtualExchange exchange;
        sim::SimulatedPort port(exchange);
        FixedClock clock;
        RecordingObserver observer;
        TransferEngine engine(config, port, clock, observer);
        QVERIFY(port.sendByte('S').ok()); // its echo waits while the engine is idle
        port.clearSent();
        engine.bytesArrived(port.bytesAvailable());
        QCOMPARE(port.bytesAvailable(), size_t(0));
        QVERIFY(port.sent().empty());
        QVERIFY(!engine.answerTimerArmed());
        QVERIFY(observer.errors.empty());
    }

    void digitCodec()
    {
        QCOMPARE(DigitToNibble('P'), uint8_t(0));
        QCOMPARE(DigitToNibble('0'), uint8_t(10));
        QCOMPARE(DigitToNibble('#'), uint8_t(15));
        QCOMPARE(NibbleToText(10), std::string("0"));
        QCOMPARE(NibbleToText(12), std::string());
        QCOMPARE(NumberCharAt("12", 2), ' ');
    }
};

QTEST_APPLESS_MAIN(TransferEngineTest)
#include "tst_transferengine.moc"
