#include "config/FactoryDefaults.h"
#include "config/FieldTable.h"
#include "config/Numbering.h"
#include "link/SentValues.h"
#include "link/StorableValues.h"
#include "tests/common/SampleConfig.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>
#include <functional>

using namespace ornis;

using Change = std::function<void(ExchangeConfig &)>;
Q_DECLARE_METATYPE(Change)

namespace {

constexpr int G6J(int e)
{
    return int(GlobalExtensionGridShape.cellIndex(e + 1, GlobalExtensionRow::G6J));
}
constexpr int GE(int e)
{
    return int(GlobalExtensionGridShape.cellIndex(e + 1, GlobalExtensionRow::GE));
}

} // namespace

class StorableValuesTest : public QObject
{
    Q_OBJECT

private slots:
    // Per kind of value, one just inside what the exchange holds and one just outside.
    void valuesChangedByWrite_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("message"); // empty: the value arrives as it is
        QTest::addColumn<bool>("refused");
        const auto row = [](const char *name, Change change, const char *message, bool refused) {
            QTest::newRow(name) << change << QString::fromUtf8(message) << refused;
        };
        row(
            "C0 25", [](ExchangeConfig &c) { c.Counters[0] = 25; }, "", false);
        row(
            "C0 26", [](ExchangeConfig &c) { c.Counters[0] = 26; },
            "Counters[0]: 26 cannot be stored (1..25)", true);
        row(
            "C7 0", [](ExchangeConfig &c) { c.Counters[7] = 0; },
            "Counters[7]: 0 cannot be stored (1..10)", true);
        row(
            "G7 none", [](ExchangeConfig &c) { c.G7U[3] = -1; }, "", false);
        row(
            "G7 10", [](ExchangeConfig &c) { c.G7U[3] = 10; },
            "G7U[3]: 10 cannot be stored (-1..9)", true);
        row(
            "G5 38", [](ExchangeConfig &c) { c.FaxExtension = 16; }, "", false);
        row(
            "G5 -2", [](ExchangeConfig &c) { c.FaxExtension = -2; },
            "FaxExtension: -2 cannot be stored (-1..16)", true);
        row(
            "mark 2", [](ExchangeConfig &c) { c.Grids.DayRingGrid[5] = 2; },
            "DayRingGrid[5]: 2 cannot be stored (0..1)", true);
        row(
            "Call 4", [](ExchangeConfig &c) { c.Grids.ExtensionGrid[8] = 4; },
            "ExtensionGrid[8]: 4 cannot be stored (0..3)", true);
        row(
            "LP 3", [](ExchangeConfig &c) { c.Grids.GlobalLineGrid[1] = 3; },
            "GlobalLineGrid[1]: 3 cannot be stored (0..2)", true);
        row(
            "G6 J 255", [](ExchangeConfig &c) { c.Grids.GlobalExtensionGrid[G6J(0)] = 255; }, "",
            false);
        row(
            "GE 2, MIRA", [](ExchangeConfig &c) { c.Grids.GlobalExtensionGrid[GE(15)] = 2; },
            "GlobalExtensionGrid[111]: 2 cannot be stored (0..1)", true);
        row(
            "GE 2, VEGA",
            [](ExchangeConfig &c) {
                c.ExchangeType = ModelVega;
                c.Grids.GlobalExtensionGrid[GE(15)] = 2; // never sent
            },
            "", false);
        row(
            "short-dial line 15", [](ExchangeConfig &c) { c.ShortDialTable[0].Line = 15; }, "",
            false);
        row(
            "short-dial line -1", [](ExchangeConfig &c) { c.ShortDialTable[0].Line = -1; },
            "ShortDialTable[0].Line: -1 (no line chosen) is sent as the line byte 0xFE, which "
            "reads back as 15",
            false);
        row(
            "PE line 16", [](ExchangeConfig &c) { c.PETable[99].Line = 16; },
            "PETable[99].Line: 16 cannot be stored (0..15)", true);
        row(
            "14 digits", [](ExchangeConfig &c) { c.PETable[0].Number = "P1234567890123"; }, "",
            false);
        row(
            "15 digits", [](ExchangeConfig &c) { c.ShortDialTable[1].Number = "123456789012345"; },
            "ShortDialTable[1].Number: \"123456789012345\" cannot be stored (at most 14 "
            "characters 0-9 and P)",
            true);
        row(
            "parking position twice",
            [](ExchangeConfig &c) { c.Services[0].ParkTo[2] = c.Services[9].ParkTo[2] = true; },
            "Services[9].ParkTo[2]: true cannot be stored (a parking position belongs to one "
            "extension)",
            true);
        row(
            "day start 23:59", [](ExchangeConfig &c) { c.DayStart = "23:59"; }, "", false);
        row(
            "day start 24:00", [](ExchangeConfig &c) { c.DayStart = "24:00"; },
            "DayStart: \"24:00\" is no time of day; it is sent as 00:00", false);
        row(
            "night start unset", [](ExchangeConfig &c) { c.NightStart = "  :  "; },
            "NightStart: \"  :  \" is no time of day; it is sent as 00:00", false);
        row(
            "wake-up unset", [](ExchangeConfig &c) { c.Services[4].AlarmOnce = "  :  "; }, "",
            false);
        row(
            "wake-up 12:60", [](ExchangeConfig &c) { c.Services[4].AlarmDaily = "12:60"; },
            "Services[4].AlarmDaily: \"12:60\" is no time of day; it is sent as unset", false);
        row(
            "call-back to 94", [](ExchangeConfig &c) { c.Services[1].BackRing = 19; },
            "Services[1].BackRing: the call-back target of extension 22 is line 94, which the "
            "exchange cannot hold; it gets \"vyp\"",
            false);
    }
    void valuesChangedByWrite()
    {
        QFETCH(Change, change);
        QFETCH(QString, message);
        QFETCH(bool, refused);
        ExchangeConfig config = factoryConfig();
        change(config);
        const std::vector<ChangedValue> changed
            = ornis::valuesChangedByWrite(config, blocksOfModel(config.ExchangeType));
        if (message.isEmpty()) {
            QCOMPARE(changed.size(), std::size_t(0));
            return;
        }
        QCOMPARE(changed.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(changed.front().message), message);
        QCOMPARE(changed.front().refused, refused);
    }

    // The field table's storable values are those the codecs bring back as they are: both
    // ends of each range and the values just outside it, for every integer of every model.
    void fieldTableSaysWhatTheCodecsHold()
    {
        for (const int32_t model : {ModelMira, ModelVega, ModelVegaX}) {
            ExchangeConfig probe = factoryConfig();
            probe.ExchangeType = model;
            forEachField(BlockSet::all(), false, [&](const FieldRef &ref) {
                const FieldRow &row = fieldRow(ref.field);
                if (row.kind != FieldKind::Integer)
                    return;
                const auto [lowest, highest] = integerLimits(ref.field);
                const std::optional<IntegerRange> range
                    = row.storable ? row.storable(model, ref.index) : std::nullopt;
                const IntegerRange held = range.value_or(IntegerRange {lowest, highest});
                const int64_t kept = integerValue(probe, ref);
                for (const int64_t value : {held.minimum - 1, held.minimum, held.maximum,
                         held.maximum + 1, (held.minimum + held.maximum) / 2}) {
                    if (value < lowest || value > highest)
                        continue;
                    setIntegerValue(probe, ref, value);
                    const bool stored
                        = integerValue(heldByExchange(probe, {*row.block}), ref) == value;
                    QVERIFY2(stored == held.contains(value),
                        (fieldKey(ref) + " " + std::to_string(value)).c_str());
                }
                setIntegerValue(probe, ref, kept);
            });
        }
    }

    // The round trip is what a write and a read through the exchange do.
    void heldByExchangeIsWhatTheTransfersGiveBack()
    {
        ExchangeConfig config = testing::awayFromFactory();
        config.Counters[2] = 500;
        config.Grids.ExtensionGrid[0] = 7;
        config.G7U[1] = 42;
        config.NightStart = "24:00";
        config.Services[3].AlarmOnce = "99:99";
        config.Services[3].BackRing = 17;
        config.Services[5].ParkTo = config.Services[1].ParkTo;
        config.ShortDialTable[4] = {-1, "1 2*3", "x"};
        config.PETable[7] = {40, "123456789012345678"};

        SimulatedLine line(config);
        QVERIFY(line.run(TransferMode::AllWrite));
        QVERIFY(line.run(TransferMode::AllRead));
        QVERIFY(line.config == heldByExchange(config, BlockSet::all()));
    }

    // What a write sends with a warning is compared as it arrives; a refused value as it is.
    void asSentTakesWarnedValuesOnly()
    {
        ExchangeConfig config = factoryConfig();
        config.DayStart = "24:00";
        config.Services[2].AlarmOnce = "99:99";
        config.ShortDialTable[3].Line = -1;
        config.PETable[5].Line = -1;
        config.Counters[0] = 1000;
        const ExchangeConfig sent = asSentToExchange(config, BlockSet::all());
        QCOMPARE(sent.DayStart, Text("00:00"));
        QCOMPARE(sent.Services[2].AlarmOnce, Text("  :  "));
        QCOMPARE(sent.ShortDialTable[3].Line, 15);
        QCOMPARE(sent.PETable[5].Line, 15);
        QCOMPARE(sent.Counters[0], 1000);
        QCOMPARE(asSentToExchange(config, {Block::Services}).DayStart, Text("24:00"));
    }
};

QTEST_APPLESS_MAIN(StorableValuesTest)
#include "tst_storablevalues.moc"
