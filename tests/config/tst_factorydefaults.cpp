#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"

#include <QTest>

using namespace ornis;

namespace {

// The factory tables, written out cell by cell.
constexpr std::array<uint8_t, 17 * 12> FactoryExtensionGrid {
    // in 91..94  out 91..94  Call 7  7n 00
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 1, 0, // 21
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 22
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 23
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 24
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 25
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 26
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 27
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 28
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 31
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 32
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 33
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 34
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 35
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 36
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 37
    1, 1, 1, 1, 1, 1, 1, 1, 3, 0, 0, 0, // 38
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // "00"
};

constexpr std::array<uint8_t, 4 * 16> FactoryRingGrid {
    // 21..28                  31..38
    1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 91
    0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 92
    0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, // 93
    0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, // 94
};

constexpr std::array<uint8_t, 4 * 4> FactoryGlobalLineGrid {
    1, 1, 1, 1, // LP
    1, 1, 1, 1, // G1
    0, 0, 0, 0, // G9
    0, 0, 0, 0, // G2
};

constexpr std::array<uint8_t, 7 * 16> FactoryGlobalExtensionGrid {
    // 21..28                  31..38
    0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, // G3
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // G4
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0, 0, 0, 0, 0, // G6 J1..J9, J0
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, // G6 L1..L6
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // G8
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // GP
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // GE
};

constexpr std::array<int16_t, CounterCount> FactoryCounters {20, 15, 30, 60, 60, 30, 30, 5, 1};

// Every field set away from its factory value.
ExchangeConfig scrambled()
{
    ExchangeConfig config;
    config.ExchangeType = ModelVega;
    config.ExchangeModules = {true, true, true, true, true, true};
    config.Grids.ExtensionGrid.fill(2);
    config.Grids.DayRingGrid.fill(2);
    config.Grids.NightRingGrid.fill(2);
    config.Grids.GlobalLineGrid.fill(2);
    config.Grids.GlobalExtensionGrid.fill(11);
    for (Text &text : config.ExtensionComments)
        text = "comment";
    config.DayRingComments.fill("day");
    config.NightRingComments.fill("night");
    config.DayStart = "01:00";
    config.NightStart = "  :  ";
    config.G7U.fill(-1);
    config.G0Days = {false, true, true, true, true, true, false};
    config.FaxExtension = -1;
    config.Counters.fill(99);
    for (ExtensionServices &services : config.Services) {
        services = {19, 15, 3, {true, false, true, false}, "07:00", "08:00", {}};
        services.ParkTo.fill(true);
    }
    config.GeneralRing.fill(true);
    config.BlockRedirect = true;
    config.ShortDialTable.fill({5, "123", "note"});
    config.PETable.fill({6, "456"});
    return config;
}

void verifySettingsBlockIsFactory(const ExchangeConfig &config)
{
    QCOMPARE(config.DayStart, Text("06:00"));
    QCOMPARE(config.NightStart, Text("18:00"));
    QCOMPARE(config.Grids.ExtensionGrid, FactoryExtensionGrid);
    QCOMPARE(config.Grids.DayRingGrid, FactoryRingGrid);
    QCOMPARE(config.Grids.NightRingGrid, FactoryRingGrid);
    QCOMPARE(config.Grids.GlobalLineGrid, FactoryGlobalLineGrid);
    QCOMPARE(config.Grids.GlobalExtensionGrid, FactoryGlobalExtensionGrid);
    QCOMPARE(config.G7U, (std::array<int32_t, 4> {0, 0, 0, 0}));
    QCOMPARE(config.G0Days, (std::array<bool, 7> {true, false, false, false, false, false, true}));
    QCOMPARE(config.FaxExtension, 8); // "28"
    QCOMPARE(config.Counters, FactoryCounters);
}

void verifyServicesAreFactory(const ExchangeConfig &config, const ExchangeConfig &before)
{
    QCOMPARE(config.BlockRedirect, false);
    QCOMPARE(config.GeneralRing, (std::array<bool, 4> {}));
    for (int e = 0; e < ExtensionCount; ++e) {
        const ExtensionServices &services = config.Services[e];
        QCOMPARE(services.BackRing, 0);
        QCOMPARE(services.Redirect, 0);
        QCOMPARE(services.RedirectWhen, 0);
        QCOMPARE(services.AlarmOnce, Text("  :  "));
        QCOMPARE(services.AlarmDaily, Text("  :  "));
        QCOMPARE(services.ParkTo, (std::array<bool, 6> {}));
        QCOMPARE(services.RingFrom, before.Services[e].RingFrom); // no factory value
    }
}

void verifyTablesAreFactory(const ExchangeConfig &config)
{
    for (const ShortDialRecord &record : config.ShortDialTable)
        QVERIFY(record == (ShortDialRecord {0, "", ""}));
    for (const PERecord &record : config.PETable)
        QVERIFY(record == (PERecord {0, ""}));
}

// What no reset touches.
void verifyKept(const ExchangeConfig &config, const ExchangeConfig &before)
{
    QCOMPARE(config.ExchangeType, before.ExchangeType);
    QVERIFY(config.ExchangeModules == before.ExchangeModules);
    QCOMPARE(config.ExtensionComments, before.ExtensionComments);
    QCOMPARE(config.DayRingComments, before.DayRingComments);
    QCOMPARE(config.NightRingComments, before.NightRingComments);
}

} // namespace

class FactoryDefaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void resetAllSetsEveryBlock()
    {
        const ExchangeConfig before = scrambled();
        ExchangeConfig config = before;
        ResetAll(config);
        verifySettingsBlockIsFactory(config);
        verifyServicesAreFactory(config, before);
        verifyTablesAreFactory(config);
        verifyKept(config, before);
    }

    // Each block reset sets its block and leaves every other one as it was.
    void blockResetsTouchOnlyTheirBlock_data()
    {
        QTest::addColumn<int>("block");
        QTest::newRow("settings") << 0;
        QTest::newRow("services") << 1;
        QTest::newRow("short dials") << 2;
        QTest::newRow("PE") << 3;
    }
    void blockResetsTouchOnlyTheirBlock()
    {
        QFETCH(int, block);
        const ExchangeConfig before = scrambled();
        ExchangeConfig config = before;
        ExchangeConfig expected = before;
        switch (block) {
        case 0:
            ResetSettingsBlock(config);
            verifySettingsBlockIsFactory(config);
            expected.Grids = config.Grids;
            expected.DayStart = config.DayStart;
            expected.NightStart = config.NightStart;
            expected.G7U = config.G7U;
            expected.G0Days = config.G0Days;
            expected.FaxExtension = config.FaxExtension;
            expected.Counters = config.Counters;
            break;
        case 1:
            ResetServicesBlock(config);
            verifyServicesAreFactory(config, before);
            expected.Services = config.Services;
            expected.GeneralRing = config.GeneralRing;
            expected.BlockRedirect = config.BlockRedirect;
            break;
        case 2:
            ResetShortDials(config);
            expected.ShortDialTable = config.ShortDialTable;
            QVERIFY(config.ShortDialTable[89] == (ShortDialRecord {0, "", ""}));
            break;
        default:
            ResetPE(config);
            expected.PETable = config.PETable;
            QVERIFY(config.PETable[99] == (PERecord {0, ""}));
            break;
        }
        QVERIFY(config == expected);
        verifyKept(config, before);
    }

    void programStartsWithInitialTextsAndFactoryValues()
    {
        const ExchangeConfig config = factoryConfig();
        QCOMPARE(config.ExchangeType, int32_t(ModelMira));
        QVERIFY(config.ExchangeModules == ModuleFlags {});
        QCOMPARE(config.ExtensionComments[0], Text("Kancel\xE1\xF8 21"));
        QCOMPARE(config.ExtensionComments[15], Text("Kancel\xE1\xF8 38"));
        QCOMPARE(config.NightRingComments[3], Text("St\xE1tn\xED linka 94"));
        verifySettingsBlockIsFactory(config);
        verifyServicesAreFactory(config, ExchangeConfig());
        verifyTablesAreFactory(config);
    }
};

QTEST_APPLESS_MAIN(FactoryDefaultsTest)
#include "tst_factorydefaults.moc"
