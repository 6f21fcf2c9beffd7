#include "config/FactoryDefaults.h"
#include "config/Numbering.h"
#include "tests/common/SampleConfig.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>
#include <algorithm>
#include <cstdio>

using namespace ornis;
using ornis::testing::awayFromFactory;

namespace {

constexpr int PEAddress = 0x660;

// What a read into `fresh` gives back after `sent` was written by the same modes.
ExchangeConfig expectedBack(
    const ExchangeConfig &sent, const ExchangeConfig &fresh, TransferMode writeMode)
{
    ExchangeConfig back = fresh;
    switch (writeMode) {
    case TransferMode::ServicesWrite:
        back.Services = sent.Services;
        back.GeneralRing = sent.GeneralRing;
        back.BlockRedirect = sent.BlockRedirect;
        return back;
    case TransferMode::ShortDialsWrite:
        for (std::size_t i = 0; i < back.ShortDialTable.size(); ++i) {
            back.ShortDialTable[i].Line = sent.ShortDialTable[i].Line;
            back.ShortDialTable[i].Number = sent.ShortDialTable[i].Number;
        }
        return back;
    case TransferMode::PEWrite:
        back.PETable = sent.PETable;
        return back;
    default:
        break;
    }
    // Everything that travels; comments, the modules and the cells of row "00" that no
    // block carries stay as they were, and so do row GE and the PE table but for MIRA.
    back = sent;
    back.ExchangeModules = fresh.ExchangeModules;
    back.ExtensionComments = fresh.ExtensionComments;
    back.DayRingComments = fresh.DayRingComments;
    back.NightRingComments = fresh.NightRingComments;
    for (std::size_t i = 0; i < back.ShortDialTable.size(); ++i)
        back.ShortDialTable[i].Comment = fresh.ShortDialTable[i].Comment;
    for (int col : {1, 2, 3, 4, ExtensionColumn::ZeroZero}) {
        const auto cell = ExtensionGridShape.cellIndex(col, ExtensionRowZeroZero);
        back.Grids.ExtensionGrid[cell] = fresh.Grids.ExtensionGrid[cell];
    }
    if (sent.ExchangeType != ModelMira) {
        for (int e = 1; e <= ExtensionCount; ++e) {
            const auto cell = GlobalExtensionGridShape.cellIndex(e, GlobalExtensionRow::GE);
            back.Grids.GlobalExtensionGrid[cell] = fresh.Grids.GlobalExtensionGrid[cell];
        }
        back.PETable = fresh.PETable;
    }
    return back;
}

// The parts in which two configurations differ, for the failure message.
QByteArray differences(const ExchangeConfig &a, const ExchangeConfig &b)
{
    QByteArray parts;
    auto note = [&parts](bool same, const char *name) {
        if (!same)
            parts += QByteArray(name) + ' ';
    };
    note(a.Grids.ExtensionGrid == b.Grids.ExtensionGrid, "ExtensionGrid");
    note(a.Grids.DayRingGrid == b.Grids.DayRingGrid, "DayRingGrid");
    note(a.Grids.NightRingGrid == b.Grids.NightRingGrid, "NightRingGrid");
    note(a.Grids.GlobalLineGrid == b.Grids.GlobalLineGrid, "GlobalLineGrid");
    note(a.Grids.GlobalExtensionGrid == b.Grids.GlobalExtensionGrid, "GlobalExtensionGrid");
    note(a.ExtensionComments == b.ExtensionComments && a.DayRingComments == b.DayRingComments
            && a.NightRingComments == b.NightRingComments,
        "comments");
    note(a.DayStart == b.DayStart && a.NightStart == b.NightStart, "times");
    note(a.G7U == b.G7U && a.G0Days == b.G0Days && a.FaxExtension == b.FaxExtension, "G7/G0/G5");
    note(a.Counters == b.Counters, "Counters");
    note(a.Services == b.Services && a.GeneralRing == b.GeneralRing
            && a.BlockRedirect == b.BlockRedirect,
        "services");
    note(a.ShortDialTable == b.ShortDialTable, "ShortDialTable");
    note(a.PETable == b.PETable, "PETable");
    return parts;
}

std::vector<TransferMode> blocksRun(const RecordingObserver &observer)
{
    std::vector<TransferMode> blocks;
    for (TransferMode mode : observer.modes) {
        if (mode != TransferMode::Idle)
            blocks.push_back(mode);
    }
    return blocks;
}

} // namespace

class WholeConfigTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("writeMode");
        QTest::addColumn<int>("readMode");
        QTest::addColumn<bool>("elsewhere"); // read into another configuration first
        using M = TransferMode;
        QTest::newRow("services") << int(ModelVega) << int(M::ServicesWrite)
                                  << int(M::ServicesRead) << false;
        QTest::newRow("short dials")
            << int(ModelVegaX) << int(M::ShortDialsWrite) << int(M::ShortDialsRead) << true;
        QTest::newRow("PE") << int(ModelMira) << int(M::PEWrite) << int(M::PERead) << false;
        QTest::newRow("all, MIRA")
            << int(ModelMira) << int(M::AllWrite) << int(M::AllRead) << true;
        QTest::newRow("all, VEGA")
            << int(ModelVega) << int(M::AllWrite) << int(M::AllRead) << false;
        QTest::newRow("all, VEGA X")
            << int(ModelVegaX) << int(M::AllWrite) << int(M::AllRead) << false;
    }
    // A write of a configuration away from the factory values, then a read into fresh
    // factory values, gives back everything that travels. A read into another
    // configuration leaves the engine's own as it was, and the next read fills that.
    void roundTrip()
    {
        QFETCH(int, model);
        QFETCH(int, writeMode);
        QFETCH(int, readMode);
        QFETCH(bool, elsewhere);
        ExchangeConfig fresh = factoryConfig();
        fresh.ExchangeType = model;
        const ExchangeConfig sent = awayFromFactory(model);
        QVERIFY(differences(sent, fresh).size() > 0);

        SimulatedLine writer(sent);
        QVERIFY(writer.run(TransferMode(writeMode)));
        SimulatedLine reader(fresh);
        reader.exchange.memory() = writer.exchange.memory();
        const ExchangeConfig expected = expectedBack(sent, fresh, TransferMode(writeMode));
        if (elsewhere) {
            ExchangeConfig other = fresh;
            QVERIFY(reader.engine.startTransfer(TransferMode(readMode), other));
            QVERIFY(!reader.engine.onOwnConfig());
            sim::runToIdle(reader.engine, reader.port);
            QVERIFY2(other == expected, differences(other, expected).constData());
            QVERIFY(reader.config == fresh && reader.engine.onOwnConfig());
        }
        QVERIFY(reader.run(TransferMode(readMode)));
        QVERIFY(writer.observer.errors.empty() && reader.observer.errors.empty());

        QVERIFY2(reader.config == expected, differences(reader.config, expected).constData());
        QVERIFY(writer.config == sent); // a write changes nothing
    }

    void chain_data() { addModelRows(); }
    // The blocks follow each other without a return to idle; the PE block takes part for
    // MIRA only.
    void chain()
    {
        QFETCH(int, model);
        using M = TransferMode;
        const bool mira = model == ModelMira;
        SimulatedLine line(awayFromFactory(model));
        QVERIFY(line.run(M::AllWrite));
        std::vector<M> writes {M::AllWrite, M::TimesWrite, M::ServicesWrite, M::ShortDialsWrite};
        if (mira)
            writes.push_back(M::PEWrite);
        QCOMPARE(blocksRun(line.observer), writes);
        QCOMPARE(line.observer.modes.back(), M::Idle);
        const auto pe = line.memoryAt(PEAddress, 800);
        QCOMPARE(std::count(pe.begin(), pe.end(), 0) == 800, !mira);

        line.observer.modes.clear();
        QVERIFY(line.run(M::AllRead));
        std::vector<M> reads {M::AllRead, M::TimesRead, M::ServicesRead, M::ShortDialsRead};
        if (mira)
            reads.push_back(M::PERead);
        QCOMPARE(blocksRun(line.observer), reads);
    }
};

QTEST_APPLESS_MAIN(WholeConfigTest)
#include "tst_wholeconfig.moc"
