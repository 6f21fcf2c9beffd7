#include "common/BlockNames.h"
#include "common/JsonForm.h"
#include "config/ConfigFields.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace ornis;

namespace {

// A configuration in which every field differs from its factory value.
ExchangeConfig everyFieldChanged()
{
    ExchangeConfig config = factoryConfig();
    config.ExchangeType = ModelVegaX;
    config.ExchangeModules = {true, false, true, false, true, true};
    config.DayStart = " 7:05";
    config.NightStart = "  :  ";
    for (std::size_t i = 0; i < config.Grids.ExtensionGrid.size(); ++i)
        config.Grids.ExtensionGrid[i] = uint8_t(i * 7);
    config.Grids.DayRingGrid.fill(1);
    config.Grids.NightRingGrid[63] = 255;
    config.Grids.GlobalLineGrid[15] = 3;
    config.Grids.GlobalExtensionGrid[111] = 1;
    // "Česká linka" and a byte Windows-1250 leaves unused
    config.ExtensionComments[0] = "\xC8\x65sk\xE1 linka \x81";
    config.DayRingComments[3] = std::string(300, 'x');
    config.NightRingComments[0] = "";
    config.G7U = {-1, 9, 57, 0};
    config.G0Days = {false, true, false, true, false, true, false};
    config.FaxExtension = -1;
    config.Counters = {1, 2, 3, 4, 5, 6, 7, 8, -9};
    for (int e = 0; e < ExtensionCount; ++e) {
        ExtensionServices &s = config.Services[std::size_t(e)];
        s.BackRing = e + 4;
        s.Redirect = 15 - e;
        s.RedirectWhen = e % 4;
        s.RingFrom = {e % 2 == 0, true, false, e == 15};
        s.AlarmOnce = "24:00";
        s.AlarmDaily = e == 3 ? "07:45" : "  :  ";
        s.ParkTo[std::size_t(e % 6)] = true;
    }
    config.GeneralRing = {true, false, true, false};
    config.BlockRedirect = true;
    config.ShortDialTable[0] = {2, "0P123", "Kancel\xE1\xF8"};
    config.ShortDialTable[89] = {-1, "99", std::string(20, 'c')};
    config.PETable[0] = {6, "P"};
    config.PETable[99] = {15, "12345678901234"};
    return config;
}

QJsonArray repeated(const QJsonValue &value, int count)
{
    QJsonArray array;
    for (int i = 0; i < count; ++i)
        array.append(value);
    return array;
}

QByteArray withKey(const char *key, const QJsonValue &value)
{
    return QJsonDocument(QJsonObject {{QLatin1String(key), value}}).toJson();
}

QJsonArray withElement(QJsonArray array, int index, const QJsonValue &value)
{
    array[index] = value;
    return array;
}

QJsonArray servicesWith(int index, const char *member, const QJsonValue &value)
{
    return withElement(repeated(QJsonObject(), ExtensionCount), index,
        QJsonObject {{QLatin1String(member), value}});
}

} // namespace

class JsonFormTest : public QObject
{
    Q_OBJECT

private slots:
    // Also without a model chosen, as a backup of the window may be.
    void roundTripKeepsEveryField()
    {
        for (const int32_t model : {ModelVegaX, ModelNone}) {
            ExchangeConfig config = everyFieldChanged();
            config.ExchangeType = model;
            QByteArray json;
            QVERIFY(configToJson(config, BlockSet::all(), json).ok());
            ExchangeConfig back;
            BlockSet blocks;
            const Status status = configFromJson(json, back, blocks);
            QVERIFY2(status.ok(), status.message().c_str());
            QVERIFY(back == config);
            QVERIFY(blocks == BlockSet::all());
        }
    }

    // A form of some blocks holds their keys only; read back, the others are factory values.
    void formHoldsItsBlocks_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("someKey"); // of a block the form holds
        QTest::addColumn<QString>("absentKey"); // of a block it does not hold
        QTest::newRow("services") << QStringList {"services"} << "GeneralRing"
                                  << "DayStart";
        QTest::newRow("settings and PE") << QStringList {"settings", "pe"} << "Counters"
                                         << "ShortDialTable";
        QTest::newRow("short dials") << QStringList {"shortdials"} << "ShortDialTable"
                                     << "PETable";
    }
    void formHoldsItsBlocks()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, someKey);
        QFETCH(QString, absentKey);
        BlockSet blocks;
        for (const QString &name : names)
            blocks.insert(*blockNamed(name));
        QByteArray json;
        QVERIFY(configToJson(everyFieldChanged(), blocks, json).ok());
        const QJsonObject root = QJsonDocument::fromJson(json).object();
        QCOMPARE(root["Blocks"].toVariant().toStringList(), names);
        QVERIFY(root.contains(someKey) && root.contains("ExchangeType"));
        QVERIFY(!root.contains(absentKey));

        ExchangeConfig back;
        BlockSet held;
        QVERIFY(configFromJson(json, back, held).ok());
        QVERIFY(held == blocks);
        QVERIFY(differingFields(back, everyFieldChanged(), blocks, true).empty());
        QVERIFY(differingFields(back, factoryConfig(), BlockSet::all() - blocks, false).empty());
    }

    void keysAreTheModelsFieldNames()
    {
        QByteArray json;
        QVERIFY(configToJson(factoryConfig(), BlockSet::all(), json).ok());
        const QJsonObject root = QJsonDocument::fromJson(json).object();
        QStringList keys = root.keys();
        keys.sort();
        QCOMPARE(keys.join(' '),
            QStringLiteral("BlockRedirect Blocks Counters DayRingComments DayRingGrid DayStart "
                           "ExchangeModules ExchangeType ExtensionComments ExtensionGrid "
                           "FaxExtension G0Days G7U GeneralRing GlobalExtensionGrid "
                           "GlobalLineGrid NightRingComments NightRingGrid NightStart "
                           "PETable Services ShortDialTable"));
        const QJsonArray comments = root["ExtensionComments"].toArray();
        QCOMPARE(comments[0].toString(), QStringLiteral("Kancelář 21"));
        QCOMPARE(root["Services"].toArray()[0].toObject().keys().join(' '),
            QStringLiteral("AlarmDaily AlarmOnce BackRing ParkTo Redirect RedirectWhen "
                           "RingFrom"));
    }

    void missingKeysReadAsFactoryValues()
    {
        ExchangeConfig config = everyFieldChanged();
        BlockSet blocks;
        QVERIFY(configFromJson("{}", config, blocks).ok());
        QVERIFY(config == factoryConfig());
        QVERIFY(blocks == BlockSet::all());

        const QByteArray partial = R"({"Counters": [25, 15, 99, 99, 99, 50, 50, 10, 10],
            "Services": [{}, {}, {"AlarmOnce": "06:30"}, {}, {}, {}, {}, {}, {}, {}, {}, {},
                         {}, {}, {}, {}],
            "ShortDialTable": [)"
            + QByteArray("{},").repeated(89) + R"({"Number": "5"}]})";
        const Status status = configFromJson(partial, config, blocks);
        QVERIFY2(status.ok(), status.message().c_str());
        ExchangeConfig expected = factoryConfig();
        expected.Counters = {25, 15, 99, 99, 99, 50, 50, 10, 10};
        expected.Services[2].AlarmOnce = "06:30";
        expected.ShortDialTable[89].Number = "5";
        QVERIFY(config == expected);
    }

    void errorsNameTheKey_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        const QJsonArray grid = repeated(0, 204);
        QTest::newRow("not JSON") << QByteArray("{\"G7U\": [") << "Invalid JSON at offset";
        QTest::newRow("not an object") << QByteArray("[]") << "Invalid JSON: the configuration";
        QTest::newRow("grid byte above 255") << withKey("ExtensionGrid", withElement(grid, 3, 256))
                                             << R"(Key "ExtensionGrid[3]": 256 is outside 0..255)";
        QTest::newRow("grid of the wrong size") << withKey("DayRingGrid", repeated(0, 63))
                                                << R"(Key "DayRingGrid": expected an array of 64)";
        QTest::newRow("integer given as a text")
            << withKey("Counters", withElement(repeated(20, 9), 8, "20"))
            << R"(Key "Counters[8]": expected an integer)";
        QTest::newRow("fraction") << withKey("G7U", QJsonArray {0, 1.5, 0, 0})
                                  << R"(Key "G7U[1]": expected an integer)";
        QTest::newRow("counter beyond its field")
            << withKey("Counters", repeated(40000, 9)) << R"(Key "Counters[0]": 40000 is outside)";
        QTest::newRow("flag given as a number")
            << withKey("G0Days", repeated(1, 7)) << R"(Key "G0Days[0]": expected true or false)";
        QTest::newRow("unknown model")
            << withKey("ExchangeType", 3) << R"(Key "ExchangeType": 3 is outside -1..2)";
        QTest::newRow("call-back item beyond its list")
            << withKey("Services", servicesWith(2, "BackRing", 20))
            << R"(Key "Services[2].BackRing": 20 is outside 0..19)";
        QTest::newRow("time without its blank")
            << withKey("Services", servicesWith(0, "AlarmOnce", "7:00"))
            << R"(Key "Services[0].AlarmOnce": expected a time of day)";
        QTest::newRow("time with a blank the mask has no room for")
            << withKey("NightStart", "12: 5") << R"(Key "NightStart": expected a time of day)";
        QTest::newRow("time the mask cannot show")
            << withKey("DayStart", "165:00") << R"(Key "DayStart": expected a time of day)";
        const auto numberRow = [&](const char *name, const char *table, const char *number) {
            QTest::newRow(name) << withKey(table,
                withElement(repeated(QJsonObject(), table[0] == 'S' ? 90 : 100), 7,
                    QJsonObject {{"Number", number}}))
                                << QStringLiteral(R"(Key "%1[7].Number": expected at most 14)")
                                       .arg(QLatin1String(table));
        };
        numberRow("number of 15 digits", "ShortDialTable", "123456789012345");
        numberRow("number with a blank", "PETable", "1 2");
        numberRow("number with a small p", "ShortDialTable", "p5");
        QTest::newRow("key given twice")
            << QByteArray(R"({"FaxExtension": 1, "G7U": [0,0,0,0], "FaxExtension": 2})")
            << R"(Key "FaxExtension" is given twice)";
        QTest::newRow("member given twice, escaped the second time")
            << QByteArray(
                   R"({"Services": [{}, {}, {"AlarmOnce": "06:00", "AlarmOnce": "  :  "}]})")
            << R"(Key "Services[2].AlarmOnce" is given twice)";
        QTest::newRow("unknown block") << withKey("Blocks", QJsonArray {"settings", "dials"})
                                       << R"(Key "Blocks": expected an array of distinct)";
        QTest::newRow("block listed twice") << withKey("Blocks", QJsonArray {"pe", "pe"})
                                            << R"(Key "Blocks": expected an array of distinct)";
        QTest::newRow("key of a block not listed")
            << QByteArray(R"({"Blocks": ["services"], "Counters": [1,1,1,1,1,1,1,1,1]})")
            << R"(Key "Counters": belongs to the block settings, which "Blocks" does not list)";
        QTest::newRow("unknown key") << withKey("Day", "06:00") << R"(Unknown key "Day")";
        QTest::newRow("unknown member")
            << withKey("Services", servicesWith(1, "Park", QJsonArray()))
            << R"(Unknown key "Services[1].Park")";
        const QJsonObject modules {{"GSM", "yes"}};
        QTest::newRow("module flag of the wrong type") << withKey(
            "ExchangeModules", modules) << R"(Key "ExchangeModules.GSM": expected true or false)";
        QTest::newRow("comment Windows-1250 cannot hold")
            << withKey("ExtensionComments",
                   withElement(repeated("", 16), 4, QString::fromUtf8("Sklad 日本")))
            << R"(Key "ExtensionComments[4]": holds a character Windows-1250 cannot hold)";
        QTest::newRow("short-dial number Windows-1250 cannot hold")
            << withKey("ShortDialTable",
                   withElement(repeated(QJsonObject(), 90), 89,
                       QJsonObject {{"Number", "12\u20AC\U0001F600"}}))
            << R"(Key "ShortDialTable[89].Number": holds a character)";
    }
    void errorsNameTheKey()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        ExchangeConfig config = everyFieldChanged();
        BlockSet blocks {Block::PE};
        const Status status = configFromJson(json, config, blocks);
        QVERIFY(!status.ok());
        const QString text = QString::fromStdString(status.message());
        QVERIFY2(text.startsWith(message), status.message().c_str());
        QVERIFY(config == everyFieldChanged()); // nothing applied
        QVERIFY(blocks == BlockSet {Block::PE});
    }
};

QTEST_APPLESS_MAIN(JsonFormTest)
#include "tst_jsonform.moc"
