#include "config/ConfigFields.h"
#include "config/FactoryDefaults.h"
#include "tests/common/SampleConfig.h"

#include <QTest>
#include <algorithm>
#include <functional>

using namespace ornis;

using Change = std::function<void(ExchangeConfig &)>;
Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(BlockSet)

class ConfigFieldsTest : public QObject
{
    Q_OBJECT

private slots:
    // Copying walks the field table: a value it misses, or files under another block, stays
    // behind or travels with the wrong block.
    void copyBlocksCopiesExactlyItsBlocks()
    {
        const ExchangeConfig away = testing::awayFromFactory(ModelVega);
        ExchangeConfig all = factoryConfig();
        copyBlocks(away, all, BlockSet::all());
        all.ExchangeType = away.ExchangeType;
        QVERIFY(all == away);

        for (const Block block : AllBlocks) {
            ExchangeConfig copy = factoryConfig();
            copyBlocks(away, copy, {block});
            QVERIFY(differingFields(copy, away, {block}, false).empty());
            QVERIFY(
                differingFields(copy, factoryConfig(), BlockSet::all() - BlockSet {block}, true)
                    .empty());
        }
    }

    // Decides what a backup stores and which views repaint after a step of the history.
    void differingBlocksNamesTheBlocksThatDiffer_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<BlockSet>("asked");
        QTest::addColumn<BlockSet>("differing");
        const auto row = [](const char *name, Change change, BlockSet asked, BlockSet differing) {
            QTest::newRow(name) << change << asked << differing;
        };
        const BlockSet all = BlockSet::all();
        row("same", [](ExchangeConfig &) {}, all, {});
        row("model only", [](ExchangeConfig &c) { c.ExchangeType = ModelVegaX; }, all, {});
        row("one PE number", [](ExchangeConfig &c) { c.PETable[99].Number += "1"; }, all,
            {Block::PE});
        row("a grid cell and a module",
            [](ExchangeConfig &c) {
                c.Grids.GlobalExtensionGrid[0] ^= 1;
                c.ExchangeModules.GSM = !c.ExchangeModules.GSM;
            },
            all, {Block::Settings});
        row("a block not asked", [](ExchangeConfig &c) { c.Services[3].Redirect ^= 1; },
            {Block::Settings, Block::PE}, {});
    }

    void differingBlocksNamesTheBlocksThatDiffer()
    {
        QFETCH(Change, change);
        QFETCH(BlockSet, asked);
        QFETCH(BlockSet, differing);
        const ExchangeConfig a = testing::awayFromFactory(ModelVega);
        ExchangeConfig b = a;
        change(b);
        QVERIFY(differingBlocks(a, b, asked) == differing);
        QVERIFY(differingBlocks(b, a, asked) == differing);
    }

    // Each value has its own key, and the text setter reaches texts only.
    void valuesAreReachedByTheirKeys()
    {
        std::vector<std::string> keys;
        forEachField(
            BlockSet::all(), true, [&](const FieldRef &ref) { keys.push_back(fieldKey(ref)); });
        const std::size_t count = keys.size();
        std::sort(keys.begin(), keys.end());
        QCOMPARE(std::size_t(std::unique(keys.begin(), keys.end()) - keys.begin()), count);

        ExchangeConfig config = factoryConfig();
        setTextValue(config, {Field::ShortDialComment, 89}, "Sklad");
        setTextValue(config, {Field::Counter, 3}, "7");
        QCOMPARE(config.ShortDialTable[89].Comment, std::string("Sklad"));
        QCOMPARE(config.Counters, factoryConfig().Counters);
    }
};

QTEST_APPLESS_MAIN(ConfigFieldsTest)
#include "tst_configfields.moc"
