#include "common/JsonForm.h"
#include "config/ConfigFields.h"
#include "config/FactoryDefaults.h"
#include "link/WriteRoundTrip.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>
#include <random>

// Every backup can be restored: whatever the exchange's memory holds, what a read brings
// goes through the JSON form and back into the exchange unchanged, but for the values a
// warning names.

using namespace ornis;

class RestorableTest : public QObject
{
    Q_OBJECT

private slots:
    void randomMemoriesReadWriteAndReadBack_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed = 1; seed <= 30; ++seed) {
            const int model = int(seed % 3);
            QTest::addRow("model %d, seed %u", model, seed) << model << seed;
        }
    }
    void randomMemoriesReadWriteAndReadBack()
    {
        QFETCH(int, model);
        QFETCH(unsigned, seed);
        std::mt19937 random(seed);
        ExchangeConfig start = factoryConfig();
        start.ExchangeType = model;
        const BlockSet blocks = blocksOfModel(model);

        SimulatedLine first(start);
        for (uint8_t &byte : first.exchange.memory())
            byte = uint8_t(random());
        QVERIFY(first.run(TransferMode::AllRead));

        QByteArray json;
        QVERIFY(configToJson(first.config, blocks, json).ok());
        ExchangeConfig backup;
        BlockSet held;
        const Status readable = configFromJson(json, backup, held);
        QVERIFY2(readable.ok(), readable.message().c_str());
        QVERIFY(backup == first.config && held == blocks);

        std::vector<FieldRef> warned;
        for (const ChangedValue &value : valuesChangedByWrite(backup, blocks)) {
            QVERIFY2(!value.refused, value.message.c_str());
            warned.push_back(value.field);
        }
        SimulatedLine second(backup);
        QVERIFY(second.run(TransferMode::AllWrite));
        second.config = start;
        QVERIFY(second.run(TransferMode::AllRead));
        for (const FieldRef &ref : differingFields(backup, second.config, blocks, false))
            QVERIFY2(std::find(warned.begin(), warned.end(), ref) != warned.end(),
                fieldKey(ref).c_str());
    }
};

QTEST_GUILESS_MAIN(RestorableTest)
#include "tst_restorable.moc"
