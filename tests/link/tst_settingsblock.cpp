#include "config/Counters.h"
#include "config/FactoryDefaults.h"
#include "config/Numbering.h"
#include "link/Framing.h"
#include "link/SettingsImage.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>
#include <algorithm>

using namespace ornis;
using M = TransferMode;

namespace {

constexpr int ImageAddress = 0x187;
constexpr int ImageSize = 104;

// Valid settings away from the factory values; the G6 cells carry control letters and
// address bytes, which a data phase must not take for framing.
ExchangeConfig settingsAwayFromFactory(int32_t model)
{
    ExchangeConfig c = factoryConfig();
    c.ExchangeType = model;
    uint32_t seed = 2009u + uint32_t(model);
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return uint8_t((seed >> 16) % uint32_t(n));
    };
    GridArea &g = c.Grids;
    for (std::size_t i = 0; i < g.ExtensionGrid.size(); ++i)
        g.ExtensionGrid[i] = next(i % 12 == ExtensionColumn::Call - 1 ? 4 : 2);
    for (auto *ring : {&g.DayRingGrid, &g.NightRingGrid})
        std::generate(ring->begin(), ring->end(), [&] { return next(2); });
    constexpr int lineValues[] = {3, 2, 2, 4}; // LP, G1, G9, G2
    for (std::size_t i = 0; i < g.GlobalLineGrid.size(); ++i)
        g.GlobalLineGrid[i] = next(lineValues[i / 4]);
    constexpr uint8_t framing[] = {'S', 'T', 'A', 'W', 'R', 'E', 'X', 'D', 0x87, 0x81, 0x80};
    for (std::size_t i = 0; i < g.GlobalExtensionGrid.size(); ++i) {
        const int row = int(i / 16) + 1;
        const bool values = row == GlobalExtensionRow::G6J || row == GlobalExtensionRow::G6L;
        g.GlobalExtensionGrid[i] = values ? framing[i % std::size(framing)] : next(2);
    }
    c.G7U = {9, -1, 0, 4};
    std::generate(c.G0Days.begin(), c.G0Days.end(), [&] { return next(2) == 1; });
    c.FaxExtension = std::array {16, -1, 0}[std::size_t(model)];
    for (int i = 0; i < CounterCount; ++i) {
        const CounterRange &r = CounterRanges[std::size_t(i)];
        c.Counters[std::size_t(i)] = int16_t(r.minimum + next(r.maximum - r.minimum + 1));
    }
    c.DayStart = "07:45";
    c.NightStart = "21:05";
    return c;
}

// What a settings read into `fresh` gives back of `sent`: the cells that never travel
// keep their values.
ExchangeConfig expectedBack(const ExchangeConfig &sent, const ExchangeConfig &fresh)
{
    ExchangeConfig back = fresh;
    back.Grids = sent.Grids;
    for (int col : {1, 2, 3, 4, ExtensionColumn::ZeroZero}) {
        const auto cell = ExtensionGridShape.cellIndex(col, ExtensionRowZeroZero);
        back.Grids.ExtensionGrid[cell] = fresh.Grids.ExtensionGrid[cell];
    }
    if (sent.ExchangeType != ModelMira) {
        for (int e = 1; e <= ExtensionCount; ++e) {
            const auto cell = GlobalExtensionGridShape.cellIndex(e, GlobalExtensionRow::GE);
            back.Grids.GlobalExtensionGrid[cell] = fresh.Grids.GlobalExtensionGrid[cell];
        }
    }
    back.DayStart = sent.DayStart;
    back.NightStart = sent.NightStart;
    back.G7U = sent.G7U;
    back.G0Days = sent.G0Days;
    back.FaxExtension = sent.FaxExtension;
    back.Counters = sent.Counters;
    return back;
}

// Delivers arrivals one at a time while the engine stays in `mode`.
void deliverWhile(SimulatedLine &line, M mode)
{
    while (line.engine.transferMode() == mode && sim::deliver(line.engine, line.port, 1) == 1) { }
}

} // namespace

class SettingsBlockTest : public QObject
{
    Q_OBJECT

private slots:
    // S T A 0x87 0x81, 104 W/data pairs, E E; then the day/night times without a return
    // to idle, 214 counted events from 0 to 100 percent.
    void writeFramingAndProgress()
    {
        SimulatedLine line(settingsAwayFromFactory(ModelMira));
        QVERIFY(line.engine.startTransfer(M::SettingsWrite));
        deliverWhile(line, M::SettingsWrite);
        QCOMPARE(line.engine.transferMode(), M::TimesWrite);

        std::vector<uint8_t> expected {'S', 'T', 'A', 0x87, 0x81};
        for (int step = 7; step <= 110; ++step) {
            expected.push_back('W');
            expected.push_back(*settingsByteAt(line.config, step));
        }
        expected.insert(expected.end(), {'E', 'E', 'S'});
        const std::vector<uint8_t> sent(line.port.sent().begin(), line.port.sent().end());
        QCOMPARE(sent, expected);

        const std::vector<int> &percents = line.observer.percents; // + the times' reset
        QCOMPARE(int(percents.size()), 1 + 214 + 1);
        QCOMPARE(percents[214], 100);
        QVERIFY(std::is_sorted(percents.begin(), percents.end() - 1));

        sim::runToIdle(line.engine, line.port);
        QCOMPARE(line.observer.modes, (std::vector {M::SettingsWrite, M::TimesWrite, M::Idle}));
        QVERIFY(line.observer.errors.empty());
    }

    void roundTrip_data() { addModelRows(); }
    // The exchange holds exactly the block image, and a read into fresh factory values
    // gives back everything that travels; the controls are told at once, the grids once.
    void roundTrip()
    {
        QFETCH(int, model);
        const ExchangeConfig sent = settingsAwayFromFactory(model);
        SimulatedLine line(sent);
        QVERIFY(line.run(M::SettingsWrite));
        const auto image = line.memoryAt(ImageAddress, ImageSize + 1);
        for (int step = 7; step <= 110; ++step)
            QCOMPARE(image[std::size_t(step - 7)], *settingsByteAt(sent, step));
        QCOMPARE(image.back(), uint8_t(0)); // step 111 is never written
        QCOMPARE(line.memoryAt(0x0D8, 4), (std::vector<uint8_t> {0x07, 0x45, 0x21, 0x05}));
        if (model != ModelMira)
            QCOMPARE(line.memoryAt(0x1A0, 2), (std::vector<uint8_t> {0, 0}));

        ExchangeConfig fresh = factoryConfig();
        fresh.ExchangeType = model;
        line.config = fresh;
        QVERIFY(line.run(M::SettingsRead));
        QVERIFY(line.config == expectedBack(sent, fresh));
        QVERIFY(line.observer.errors.empty());
        const auto &stored = line.observer.stored;
        // 15 from the settings block, two from the day/night times that follow it.
        QCOMPARE(std::count(stored.begin(), stored.end(), Block::Settings), 17);
        QCOMPARE(line.observer.gridRefreshes, 1);
    }

    void chaining_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("times");
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("all");
        QTest::newRow("Nastaveni write")
            << int(M::SettingsWrite) << int(M::TimesWrite) << int(M::Idle) << false;
        QTest::newRow("Nastaveni read")
            << int(M::SettingsRead) << int(M::TimesRead) << int(M::Idle) << false;
        QTest::newRow("Konfigurace write")
            << int(M::AllWrite) << int(M::TimesWrite) << int(M::ServicesWrite) << true;
        QTest::newRow("Konfigurace read")
            << int(M::AllRead) << int(M::TimesRead) << int(M::ServicesRead) << true;
    }
    // The settings block always hands over to the times; only a transfer of all blocks
    // goes on from there.
    void chaining()
    {
        QFETCH(int, start);
        QFETCH(int, times);
        QFETCH(int, after);
        QFETCH(bool, all);
        SimulatedLine line(factoryConfig());
        QVERIFY(line.engine.startTransfer(M(start)));
        QCOMPARE(line.engine.transferAll(), all);
        deliverWhile(line, M(start));
        QCOMPARE(line.engine.transferMode(), M(times));
        QCOMPARE(line.engine.transferAll(), all);
        deliverWhile(line, M(times));
        QCOMPARE(line.observer.modes, (std::vector {M(start), M(times), M(after)}));
        QCOMPARE(line.engine.transferAll(), all);
        line.engine.abort();
    }

    // A read cut short leaves what arrived in the configuration; the grids are not
    // refreshed, the controls were told.
    void partialReadKeepsWhatArrived()
    {
        SimulatedLine line(factoryConfig());
        line.place(ImageAddress, {7 * 10, 2, 3}); // C8, C1, C2
        sim::Faults silent;
        silent.silentAfter = 5 + 2;
        line.exchange.setFaults(silent);
        QVERIFY(line.run(M::SettingsRead));
        QCOMPARE(line.config.Counters[8], int16_t(7));
        QCOMPARE(line.config.Counters[1], int16_t(2));
        QCOMPARE(line.config.Counters[2], int16_t(30)); // its byte never came
        QCOMPARE(line.observer.errors, std::vector<std::string> {"Timeout on sim"});
        QCOMPARE(line.observer.gridRefreshes, 0);
        QCOMPARE(line.observer.stored.size(), std::size_t(2));
    }
};

QTEST_APPLESS_MAIN(SettingsBlockTest)
#include "tst_settingsblock.moc"
