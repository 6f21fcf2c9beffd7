#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "qtlink/DemoConfiguration.h"
#include "qtlink/DemoExchangePort.h"
#include "sim/LineDriver.h"
#include "sim/SimulatedPort.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"
#include "tests/qtlink/WaitOnPort.h"

#include <QElapsedTimer>
#include <QTest>

using namespace ornis;

class DemoExchangePortTest : public QObject
{
    Q_OBJECT

private slots:
    // Reading the demo memory whole gives the demo configuration's values.
    void memoryHoldsTheDemoConfiguration()
    {
        DemoExchangePort demo;
        ExchangeConfig read = factoryConfig();
        sim::SimulatedPort port(demo.exchange());
        FixedClock clock;
        RecordingObserver observer;
        TransferEngine engine(read, port, clock, observer);
        QVERIFY(engine.startTransfer(TransferMode::AllRead));
        sim::runToIdle(engine, port);
        QVERIFY(observer.errors.empty());

        const ExchangeConfig demoConfig = demoConfiguration();
        QCOMPARE(read.Grids, demoConfig.Grids);
        QCOMPARE(read.DayStart, demoConfig.DayStart);
        QCOMPARE(read.Services, demoConfig.Services);
        QCOMPARE(read.PETable, demoConfig.PETable);
        for (int i = 0; i < ShortDialCount; ++i)
            QCOMPARE(read.ShortDialTable[i].Number, demoConfig.ShortDialTable[i].Number);
    }

    // A clock write of 19 round trips takes at least 19 x 2 x 10 / 2400 s, and no answer
    // arrives inside the call that sent its request.
    void answersAtTheLinePace()
    {
        DemoExchangePort demo;
        ExchangeConfig config;
        FixedClock clock;
        RecordingObserver observer;
        TransferEngine engine(config, demo, clock, observer);
        connectPortToEngine(demo, engine);
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(engine.startTransfer(TransferMode::ClockWrite));
        QCOMPARE(demo.bytesAvailable(), size_t(0));
        QVERIFY(waitOnPort(
            demo, [&] { return engine.isIdle(); }, 10'000));
        QVERIFY(observer.errors.empty());
        QVERIFY(elapsed.elapsed() >= 19 * 20 * 1000 / 2400);
        QCOMPARE(QString::fromStdString(demo.name()), QStringLiteral("Demo"));
    }
};

QTEST_GUILESS_MAIN(DemoExchangePortTest)
#include "tst_demoexchangeport.moc"
