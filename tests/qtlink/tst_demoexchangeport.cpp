#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "qtlink/DemoExchangePort.h"
#include "sim/DemoConfiguration.h"
#include "sim/LineDriver.h"
#include "sim/SimulatedPort.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"

#include <QSignalSpy>
#include <QTest>
#include <optional>

using namespace ornis;

namespace {

// The line's time, moved on by the test alone.
class ManualLineClock final : public LineClock
{
public:
    int64_t nowNs() const override { return now; }
    void wakeAt(int64_t ns) override { wake = ns; }
    // The time moves on to the wake-up asked for, and the line wakes.
    void runToWake()
    {
        now = *wake;
        wake.reset();
        emit woke();
    }

    int64_t now = 0;
    std::optional<int64_t> wake;
};

} // namespace

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

    // A clock write of 19 round trips takes 19 x 2 byte times of a 2400-baud line; no
    // answer arrives before its time, nor inside the call that sent its request.
    void answersAtTheLinePace()
    {
        ManualLineClock line;
        DemoExchangePort demo(line);
        ExchangeConfig config;
        FixedClock clock;
        RecordingObserver observer;
        TransferEngine engine(config, demo, clock, observer);
        connectPortToEngine(demo, engine);
        QSignalSpy arrivals(&demo, &QtLinkPort::bytesArrived);
        QVERIFY(engine.startTransfer(TransferMode::ClockWrite));
        QCOMPARE(demo.bytesAvailable(), size_t(0));
        QVERIFY(line.wake);

        const int64_t firstDue = *line.wake;
        line.now = firstDue - 1;
        emit line.woke();
        QVERIFY(arrivals.isEmpty());
        QCOMPARE(line.wake, firstDue);

        for (int answer = 0; answer < 100 && line.wake; ++answer)
            line.runToWake();
        QVERIFY(engine.isIdle());
        QVERIFY(observer.errors.empty());
        QCOMPARE(arrivals.size(), 19);
        QCOMPARE(line.now, 19 * 2 * sim::LinePacer(DemoExchangePort::Baud).byteNs());
        QCOMPARE(QString::fromStdString(demo.name()), QStringLiteral("Demo"));
    }
};

QTEST_GUILESS_MAIN(DemoExchangePortTest)
#include "tst_demoexchangeport.moc"
