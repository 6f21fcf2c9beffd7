#include "config/FactoryDefaults.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>
#include <algorithm>

using namespace ornis;
using M = TransferMode;
using Bytes = std::vector<uint8_t>;

namespace {

// A clock that moves on to the new year once it has been read.
class RollingClock : public LocalClock
{
public:
    LocalDateTime now() const override { return readings++ == 0 ? before : after; }
    LocalDateTime before {2009, 12, 31, 23, 59, 59};
    LocalDateTime after {2010, 1, 1, 0, 0, 0};
    mutable int readings = 0;
};

// Four bytes given as a literal that holds zeros.
QByteArray four(const char (&bytes)[5])
{
    return QByteArray(bytes, 4);
}

Bytes sentBy(const SimulatedLine &line)
{
    return {line.port.sent().begin(), line.port.sent().end()};
}

} // namespace

class SmallBlocksTest : public QObject
{
    Q_OBJECT

private slots:
    void clock_data()
    {
        QTest::addColumn<bool>("rolls");
        QTest::newRow("23:59:59 on 31.12.2009") << false;
        QTest::newRow("rolling over to 2010") << true;
    }
    // All six bytes come from one reading, taken when the first of them is due.
    void clock()
    {
        QFETCH(bool, rolls);
        SimulatedLine line(factoryConfig());
        RollingClock clock;
        if (!rolls)
            clock.after = clock.before;
        TransferEngine engine(line.config, line.port, clock, line.observer);
        QVERIFY(engine.startTransfer(M::ClockWrite));
        sim::runToIdle(engine, line.port);

        const Bytes opening {'S', 'T', 'A', 0xD0, 0x80};
        const Bytes data {'W', 0x23, 'W', 0x59, 'W', 0x59, 'W', 0x31, 'W', 0x12, 'W', 0x09};
        Bytes expected = opening;
        expected.insert(expected.end(), data.begin(), data.end());
        expected.insert(expected.end(), {'E', 'D'});
        QCOMPARE(sentBy(line), expected);
        QCOMPARE(line.memoryAt(0x0D0, 6), (Bytes {0x23, 0x59, 0x59, 0x31, 0x12, 0x09}));
        QCOMPARE(clock.readings, 1);
        QCOMPARE(line.countedEvents(), 18);
        QCOMPARE(line.observer.percents.back(), 100);
        QVERIFY(engine.isIdle() && !line.observer.progressVisible);
        QVERIFY(line.observer.errors.empty());
    }

    void timesWrite_data()
    {
        QTest::addColumn<QByteArray>("day");
        QTest::addColumn<QByteArray>("night");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("06:00, 18:30")
            << QByteArray("06:00") << QByteArray("18:30") << four("\x06\x00\x18\x30");
        QTest::newRow("blank day start")
            << QByteArray("  :  ") << QByteArray(" 7:05") << four("\x00\x00\x07\x05");
        QTest::newRow("no time") << QByteArray("24:00") << QByteArray("xx")
                                 << four("\x00\x00\x00\x00");
    }
    void timesWrite()
    {
        QFETCH(QByteArray, day);
        QFETCH(QByteArray, night);
        QFETCH(QByteArray, bytes);
        SimulatedLine line(factoryConfig());
        line.config.DayStart = day.toStdString();
        line.config.NightStart = night.toStdString();
        QVERIFY(line.run(M::TimesWrite));
        const Bytes data(bytes.begin(), bytes.end());
        const Bytes expected {'S', 'T', 'A', 0xD8, 0x80, 'W', data[0], 'W', data[1], 'W', data[2],
            'W', data[3], 'E', 'X'};
        QCOMPARE(sentBy(line), expected);
        QCOMPARE(line.memoryAt(0x0D8, 4), data);
        QCOMPARE(line.countedEvents(), 14);
        QCOMPARE(line.config.DayStart, day.toStdString()); // a write changes nothing
    }

    void timesRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("day");
        QTest::addColumn<QByteArray>("night");
        QTest::addColumn<int>("told");
        QTest::addColumn<QByteArray>("warning"); // empty: none
        QTest::newRow("07:45, 18:30") << four("\x07\x45\x18\x30") << QByteArray("07:45")
                                      << QByteArray("18:30") << 2 << QByteArray();
        QTest::newRow("as before") << four("\x06\x00\x18\x00") << QByteArray("06:00")
                                   << QByteArray("18:00") << 0 << QByteArray();
        QTest::newRow("night only") << four("\x06\x00\x00\x05") << QByteArray("06:00")
                                    << QByteArray("00:05") << 1 << QByteArray();
        // Two digits each still fit the field, though they are no time.
        QTest::newRow("99:99") << four("\x99\x99\x18\x00") << QByteArray("99:99")
                               << QByteArray("18:00") << 1 << QByteArray();
        // Beyond 99 the field could not show them: the time a write sends for none.
        QTest::newRow("never written")
            << four("\x06\x00\xFF\xFF") << QByteArray("06:00") << QByteArray("00:00") << 1
            << QByteArray("NightStart: the exchange holds the bytes FF FF, which are no time; "
                          "read as 00:00");
    }
    // The text is set once the minute has arrived; the page is told when a text changed.
    void timesRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, day);
        QFETCH(QByteArray, night);
        QFETCH(int, told);
        QFETCH(QByteArray, warning);
        SimulatedLine line(factoryConfig());
        line.place(0x0D8, Bytes(bytes.begin(), bytes.end()));
        QVERIFY(line.run(M::TimesRead));
        QCOMPARE(sentBy(line), (Bytes {'S', 'T', 'A', 0xD8, 0x80, 'R', 'R', 'R', 'R', 'E', 'X'}));
        QCOMPARE(line.config.DayStart, day.toStdString());
        QCOMPARE(line.config.NightStart, night.toStdString());
        const auto &stored = line.observer.stored;
        QCOMPARE(int(std::count(stored.begin(), stored.end(), Block::Settings)), told);
        QCOMPARE(line.observer.warnings,
            warning.isEmpty() ? std::vector<std::string> {}
                              : std::vector<std::string> {warning.toStdString()});
        QCOMPARE(line.countedEvents(), 10);
    }
};

QTEST_APPLESS_MAIN(SmallBlocksTest)
#include "tst_smallblocks.moc"
