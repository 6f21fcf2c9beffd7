#include "config/FactoryDefaults.h"
#include "config/FieldTable.h"
#include "config/Numbering.h"
#include "link/DialSlots.h"
#include "link/ServicesCells.h"
#include "link/SettingsImage.h"
#include "link/SettingsSteps.h"
#include "link/TransferState.h"
#include "link/WriteRoundTrip.h"
#include "tests/common/SampleConfig.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>
#include <functional>

using namespace ornis;

using Change = std::function<void(ExchangeConfig &)>;
Q_DECLARE_METATYPE(Change)
// Stores byte `byte` of position `at` of a block image, telling what it stored.
using StoreByte
    = std::function<void(ExchangeConfig &, int at, uint8_t byte, const StoredRangeCallback &)>;
Q_DECLARE_METATYPE(StoreByte)
Q_DECLARE_METATYPE(Block)

namespace {

constexpr int G6J(int e)
{
    return int(GlobalExtensionGridShape.cellIndex(e + 1, GlobalExtensionRow::G6J));
}
constexpr int GE(int e)
{
    return int(GlobalExtensionGridShape.cellIndex(e + 1, GlobalExtensionRow::GE));
}

QList<int> positions(int first, int last)
{
    QList<int> all;
    for (int at = first; at <= last; ++at)
        all.push_back(at);
    return all;
}

// Bytes that reach every value a byte can set: both ends, patterns, every parking code.
QByteArray probeBytes()
{
    QByteArray bytes("\x55\xAA\x99");
    for (int b = 0; b <= 0x1F; ++b)
        bytes.append(char(b));
    for (int b = 0xF0; b <= 0xFF; ++b)
        bytes.append(char(b));
    return bytes;
}

bool sameRanges(const std::vector<FieldRange> &a, const std::vector<FieldRange> &b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](const FieldRange &x, const FieldRange &y) {
            return x.first == y.first && x.last == y.last;
        });
}

} // namespace

class WriteRoundTripTest : public QObject
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

    void eachByteTellsExactlyWhatItStores_data()
    {
        QTest::addColumn<Block>("block");
        QTest::addColumn<int>("model");
        QTest::addColumn<QList<int>>("at");
        QTest::addColumn<StoreByte>("store");
        QTest::addColumn<QByteArray>("bytes");
        const StoreByte settings
            = [](ExchangeConfig &c, int at, uint8_t b, const StoredRangeCallback &told) {
                  storeSettingsByte(c, at, b, told);
              };
        const QList<int> steps = positions(FirstSettingsStep, LastSettingsStep);
        QTest::newRow("settings MIRA")
            << Block::Settings << int(ModelMira) << steps << settings << probeBytes();
        QTest::newRow("settings VEGA, no row GE")
            << Block::Settings << int(ModelVega) << steps << settings << probeBytes();
        QList<int> cells;
        for (const ServicesWindow &window : ServicesReadWindows)
            cells += positions(window.first, window.last);
        QTest::newRow("services")
            << Block::Services << int(ModelMira) << cells
            << StoreByte(
                   [](ExchangeConfig &c, int at, uint8_t b, const StoredRangeCallback &told) {
                       TransferState pending; // a minute cell completes the hour 0
                       (void)storeServicesCell(c, pending, at, b, told);
                   })
            << probeBytes();
        // A line byte and a digit byte of every slot change what they can with 00 and FF.
        const QByteArray ends("\x00\xFF", 2);
        QTest::newRow("short dials")
            << Block::ShortDials << int(ModelMira) << positions(0, ShortDialImageSize - 1)
            << StoreByte(storeShortDialImageByte) << ends;
        QTest::newRow("PE") << Block::PE << int(ModelMira) << positions(0, PEImageSize - 1)
                            << StoreByte(storePEImageByte) << ends;
    }

    // What a read step tells the views is what it may change: every value that a byte
    // changes lies in a range the step told, and every value told changes for some byte.
    void eachByteTellsExactlyWhatItStores()
    {
        QFETCH(Block, block);
        QFETCH(int, model);
        QFETCH(QList<int>, at);
        QFETCH(StoreByte, store);
        QFETCH(QByteArray, bytes);
        ExchangeConfig factory = factoryConfig();
        factory.ExchangeType = model;
        const std::array<ExchangeConfig, 2> starts {factory, testing::awayFromFactory(model)};
        std::vector<FieldRef> values;
        forEachField({block}, false, [&values](const FieldRef &ref) { values.push_back(ref); });

        for (const int position : at) {
            std::vector<FieldRange> told;
            std::vector<bool> changed(values.size());
            for (const ExchangeConfig &start : starts) {
                for (const char byte : bytes) {
                    ExchangeConfig config = start;
                    std::vector<FieldRange> toldNow;
                    store(config, position, uint8_t(byte),
                        [&toldNow](const FieldRange &range) { toldNow.push_back(range); });
                    if (&start == &starts.front() && byte == bytes.front())
                        told = toldNow;
                    QVERIFY2(sameRanges(told, toldNow), "a step tells the same whatever comes");
                    for (const FieldRef &ref : differingFields(start, config, {block}, false)) {
                        changed[std::size_t(
                            std::find(values.begin(), values.end(), ref) - values.begin())]
                            = true;
                    }
                }
            }
            for (std::size_t v = 0; v < values.size(); ++v) {
                const bool inTold = std::any_of(told.begin(), told.end(),
                    [&](const FieldRange &range) { return contains(range, values[v]); });
                if (inTold != changed[v])
                    QFAIL(qPrintable(QStringLiteral("position %1, %2: told %3, changed %4")
                                         .arg(position)
                                         .arg(QString::fromStdString(fieldKey(values[v])))
                                         .arg(inTold)
                                         .arg(changed[v])));
            }
        }
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

QTEST_APPLESS_MAIN(WriteRoundTripTest)
#include "tst_writeroundtrip.moc"
