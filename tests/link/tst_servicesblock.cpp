#include "config/ChoiceLists.h"
#include "config/FactoryDefaults.h"
#include "link/CallBackTargets.h"
#include "link/ServicesCells.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>

using namespace ornis;

namespace {

constexpr uint8_t Untouched = 0xAA;

// The byte examples of the cells, all in one configuration.
ExchangeConfig cellExamples()
{
    ExchangeConfig config = factoryConfig();
    auto &s = config.Services;
    s[2].Redirect = serviceItemOf(2, 8); // 23 -> 31 under "55"
    s[2].RedirectWhen = 2;
    s[0].BackRing = FirstBackRingLineItem; // line 91: cannot travel
    s[1].BackRing = 19; // line 94
    s[2].BackRing = 15;
    s[9].AlarmOnce = "07:05";
    s[9].AlarmDaily = "23:59";
    s[0].AlarmOnce = " 7:05";
    s[1].AlarmOnce = "24:00";
    s[3].AlarmOnce = "12:60";
    s[0].RingFrom[1] = true; // line 92 for 21 and 38
    s[15].RingFrom[1] = true;
    s[9].ParkTo[2] = true; // position 3: 32
    s[15].ParkTo[5] = true; // position 6: 38
    s[10].ParkTo[0] = true; // position 1 held twice: the first in order, 24, travels
    s[3].ParkTo[0] = true;
    config.GeneralRing[0] = true;
    config.BlockRedirect = true;
    return config;
}

SimulatedLine::Memory imageAfterWrite(const ExchangeConfig &config)
{
    SimulatedLine line(config);
    line.exchange.memory().fill(Untouched);
    line.run(TransferMode::ServicesWrite);
    return line.exchange.memory();
}

} // namespace

class ServicesBlockTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        factoryImage_ = imageAfterWrite(factoryConfig());
        examplesImage_ = imageAfterWrite(cellExamples());
    }

    void writtenImage_data()
    {
        QTest::addColumn<bool>("examples");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("byte");
        auto row = [](const char *name, bool examples, int first, int last, int byte) {
            QTest::newRow(name) << examples << first << last << byte;
        };
        row("factory: general ringing", false, 0x008, 0x00F, 0x00);
        row("factory: redirection, call-back, reserved", false, 0x050, 0x07F, 0x00);
        row("factory: wake-up times unset", false, 0x080, 0x0BF, 0xFF);
        row("factory: ringing from the lines", false, 0x0C0, 0x0C7, 0x00);
        row("not services: never written", false, 0x0C8, 0x0F2, Untouched);
        row("factory: parking", false, 0x0F3, 0x0F8, 0x00);
        row("between the windows", false, 0x0F9, 0x579, Untouched);
        row("factory: redirection blocking", false, 0x57A, 0x57A, 0x00);
        row("general ringing 91", true, 0x008, 0x009, 0xFF);
        row("23 -> 31 under 55", true, 0x052, 0x052, 0x28);
        row("call-back to lines 91, 94 goes as vyp", true, 0x060, 0x061, 0x00);
        row("call-back item 15", true, 0x062, 0x062, 0x0F);
        row("32 once 07:05, hour", true, 0x092, 0x092, 0x07);
        row("32 once 07:05, minute", true, 0x093, 0x093, 0x05);
        row("32 daily 23:59, hour", true, 0x0B2, 0x0B2, 0x23);
        row("32 daily 23:59, minute", true, 0x0B3, 0x0B3, 0x59);
        row("one-digit hour", true, 0x080, 0x080, 0x07);
        row("24:00 and 12:60 are no times", true, 0x082, 0x087, 0xFF);
        row("line 92 for 21..28", true, 0x0C2, 0x0C2, 0x01);
        row("line 92 for 31..38", true, 0x0C3, 0x0C3, 0x80);
        row("position 1 held twice", true, 0x0F3, 0x0F3, 0x04);
        row("position 3 by 32", true, 0x0F5, 0x0F5, 0x12);
        row("position 6 by 38", true, 0x0F8, 0x0F8, 0x18);
        row("redirection blocked", true, 0x57A, 0x57A, 0xFF);
    }
    void writtenImage()
    {
        QFETCH(bool, examples);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, byte);
        const auto &image = examples ? examplesImage_ : factoryImage_;
        for (int a = first; a <= last; ++a)
            QVERIFY2(image[size_t(a)] == byte, qPrintable(QString::number(a, 16)));
    }

    void wakeUpRead_data()
    {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("07:45") << 0x07 << 0x45 << QByteArray("07:45");
        QTest::newRow("hour 24 accepted") << 0x24 << 0x00 << QByteArray("24:00");
        QTest::newRow("hour 25") << 0x25 << 0x00 << QByteArray(UnsetTime);
        QTest::newRow("minute 60") << 0x12 << 0x60 << QByteArray(UnsetTime);
        QTest::newRow("FF FF") << 0xFF << 0xFF << QByteArray(UnsetTime);
        QTest::newRow("digits not checked") << 0x1A << 0x05 << QByteArray("20:05");
    }
    void wakeUpRead()
    {
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(QByteArray, text);
        ExchangeConfig config;
        config.Services[3].AlarmDaily = "11:11";
        TransferState pending;
        const int cell = ServicesAddress::AlarmDaily + 2 * 3;
        QVERIFY(!storeServicesCell(config, pending, cell, uint8_t(hour)));
        QCOMPARE(config.Services[3].AlarmDaily, std::string("11:11")); // waits for the minute
        QVERIFY(storeServicesCell(config, pending, cell + 1, uint8_t(minute)));
        QCOMPARE(config.Services[3].AlarmDaily, text.toStdString());
    }

    // Whatever the exchange holds outside the services cells, nothing changes.
    void cellsOutsideTheServices()
    {
        ExchangeConfig config = cellExamples();
        const ExchangeConfig before = config;
        TransferState pending;
        for (int a : {-1, 0x007, 0x070, 0x07F, 0x0C8, 0x0F2, 0x0F9, 0x579, 0x57B, 1 << 30}) {
            QVERIFY(!servicesCellByte(config, a) || (a >= 0x070 && a <= 0x07F));
            for (int b = 0; b < 256; ++b)
                QVERIFY(!storeServicesCell(config, pending, a, uint8_t(b)));
        }
        QVERIFY(config == before);
    }

    void readThroughTheExchange()
    {
        SimulatedLine line(cellExamples());
        auto &s = line.config.Services;
        s[0].ParkTo[2] = true; // position 3 moves to 32
        line.config.GeneralRing[1] = true;
        line.exchange.memory().fill(0xFF); // the discarded cells hold anything
        line.place(0x008, {0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00});
        line.place(0x052, {0xE8});
        line.place(0x060, {0xF3});
        line.place(0x080, {0x24, 0x00});
        line.place(0x0C2, {0x01, 0x80});
        line.place(0x0F3, {0x00, 0x00, 0x12, 0x00, 0x19, 0x09});
        line.place(0x57A, {0x01});
        const ExchangeConfig before = line.config;

        QVERIFY(line.run(TransferMode::ServicesRead));
        QCOMPARE(line.config.GeneralRing, (std::array<bool, 4> {true, false, true, false}));
        QCOMPARE(s[2].Redirect, serviceItemOf(2, 8)); // bits 6-7 ignored
        QCOMPARE(s[2].RedirectWhen, 2);
        QCOMPARE(s[0].BackRing, 3);
        QCOMPARE(s[0].AlarmOnce, std::string("24:00"));
        QCOMPARE(s[9].AlarmOnce, std::string(UnsetTime));
        for (int e = 0; e < ExtensionCount; ++e) {
            QCOMPARE(s[size_t(e)].RingFrom[0], true);
            QCOMPARE(s[size_t(e)].RingFrom[1], e == 0 || e == 15);
            const std::array<bool, 6> park {false, false, e == 9, false, false, false};
            QCOMPARE(s[size_t(e)].ParkTo, park);
        }
        QVERIFY(line.config.BlockRedirect);
        QVERIFY(line.observer.untold(before, line.config, {Block::Services}).empty());
    }

    void progressCountsEveryArrival_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("events");
        QTest::newRow("write") << int(TransferMode::ServicesWrite) << 285;
        QTest::newRow("read") << int(TransferMode::ServicesRead) << 190;
    }
    // The arrival of 'E' is the last counted event.
    void progressCountsEveryArrival()
    {
        QFETCH(int, mode);
        QFETCH(int, events);
        SimulatedLine line;
        QVERIFY(line.engine.startTransfer(TransferMode(mode)));
        while (line.port.sent().back() != 'E')
            QCOMPARE(sim::deliver(line.engine, line.port, 1), size_t(1));
        sim::deliver(line.engine, line.port, 1);
        QCOMPARE(line.countedEvents(), events);
        QCOMPARE(line.observer.percents.back(), 100);
        QCOMPARE(line.port.sent().back(), uint8_t('X'));
        sim::runToIdle(line.engine, line.port);
        QCOMPARE(line.countedEvents(), events);
        QCOMPARE(line.observer.modes.back(), TransferMode::Idle);
    }

    void callBackTargetsThatCannotTravel()
    {
        ExchangeConfig config = cellExamples();
        config.Services[12].BackRing = FirstBackRingLineItem + 2;
        QCOMPARE(extensionsWithUntransferableCallBack(config), (std::vector<int> {0, 1, 12}));
        QVERIFY(extensionsWithUntransferableCallBack(factoryConfig()).empty());
    }

    void timeoutInTheMiddle_data()
    {
        QTest::addColumn<bool>("write");
        QTest::newRow("write") << true;
        QTest::newRow("read") << false;
    }
    // Opening, window 1 and the change take 24 bytes in a write, 16 in a read; then the
    // exchange falls silent inside window 2.
    void timeoutInTheMiddle()
    {
        QFETCH(bool, write);
        SimulatedLine line;
        for (auto &s : line.config.Services)
            s.BackRing = 7;
        line.place(0x050, std::vector<uint8_t>(32, 0x02));
        sim::Faults faults;
        faults.silentAfter = write ? 24 + 2 * 20 : 16 + 20;
        line.exchange.setFaults(faults);
        QVERIFY(line.engine.startTransfer(
            write ? TransferMode::ServicesWrite : TransferMode::ServicesRead));
        sim::runToIdle(line.engine, line.port);
        QVERIFY(line.engine.isIdle());
        QCOMPARE(line.observer.errors, (std::vector<std::string> {"Timeout on sim"}));
        for (int e = 0; e < ExtensionCount; ++e) {
            const uint8_t cell = line.exchange.memory()[size_t(ServicesAddress::BackRing + e)];
            const int32_t backRing = line.config.Services[size_t(e)].BackRing;
            // The first four call-back cells went across, the others not.
            if (write)
                QCOMPARE(int(cell), e < 4 ? 7 : 2);
            else
                QCOMPARE(backRing, e < 4 ? 2 : 7);
        }
    }

private:
    SimulatedLine::Memory factoryImage_;
    SimulatedLine::Memory examplesImage_;
};

QTEST_APPLESS_MAIN(ServicesBlockTest)
#include "tst_servicesblock.moc"
