#include "config/ConfigFields.h"
#include "config/FactoryDefaults.h"
#include "tests/common/SampleConfig.h"

#include <QTest>
#include <algorithm>

using namespace ornis;

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
