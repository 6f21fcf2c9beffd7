#include "config/AppConfigFile.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ornis;

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

Bytes header()
{
    Bytes bytes {'O', 'C', 'F', 'G', 1, 0, 0, 0};
    bytes.resize(520, 0);
    return bytes;
}

Bytes withHeader(const Bytes &items)
{
    Bytes bytes = header();
    bytes.insert(bytes.end(), items.begin(), items.end());
    return bytes;
}

// The state of a window just created: MIRA, no modules, factory values.
ExchangeConfig started()
{
    return factoryConfig();
}

ExchangeConfig withModel(int32_t model, ModuleFlags modules)
{
    ExchangeConfig config = started();
    config.ExchangeType = model;
    config.ExchangeModules = modules;
    return config;
}

} // namespace

class AppConfigFileTest : public QObject
{
    Q_OBJECT

private slots:
    void writtenBytes_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("flags"); // bit 0 MiraMKV .. bit 5 MKX
        QTest::addColumn<Bytes>("items");
        QTest::newRow("MIRA, none") << 0 << 0 << Bytes {0x02, 0x00, 8, 8, 8, 8, 8, 8};
        QTest::newRow("VEGA X, MKX") << 2 << 0x20 << Bytes {0x02, 0x02, 8, 8, 8, 8, 8, 9};
        QTest::newRow("MIRA, GSM") << 0 << 0x04 << Bytes {0x02, 0x00, 8, 8, 9, 8, 8, 8};
        QTest::newRow("none chosen, all") << -1 << 0x3F << Bytes {0x02, 0xFF, 9, 9, 9, 9, 9, 9};
    }
    void writtenBytes()
    {
        QFETCH(int, model);
        QFETCH(int, flags);
        QFETCH(Bytes, items);
        const ModuleFlags modules {bool(flags & 1), bool(flags & 2), bool(flags & 4),
            bool(flags & 8), bool(flags & 16), bool(flags & 32)};
        const ExchangeConfig config = withModel(model, modules);
        const Bytes bytes = encodeAppConfig(config);
        QCOMPARE(bytes.size(), size_t(528));
        QCOMPARE(bytes, withHeader(items));

        ExchangeConfig loaded = started();
        decodeAppConfig(bytes, loaded);
        QVERIFY(loaded == config);
    }

    void reading_data()
    {
        QTest::addColumn<Bytes>("file");
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("flags");
        // The configuration before reading is VEGA with MKV and MKPR (flags 0x18).
        QTest::newRow("VEGA X, MKX") << withHeader({0x02, 0x02, 8, 8, 8, 8, 8, 9}) << 2 << 0x20;
        QTest::newRow("header only") << header() << 1 << 0x18;
        QTest::newRow("shorter than the header") << Bytes {'O', 'C'} << 1 << 0x18;
        QTest::newRow("empty") << Bytes {} << 1 << 0x18;
        QTest::newRow("model only") << withHeader({0x02, 0x00}) << 0 << 0x18;
        // Items are applied one by one: the flags read before the end stay set.
        QTest::newRow("two flags") << withHeader({0x02, 0x00, 9, 9}) << 0 << 0x1B;
        QTest::newRow("bad model tag") << withHeader({0x05, 0x02, 9, 9, 9, 9, 9, 9}) << 1 << 0x18;
        QTest::newRow("model with tag 0x04")
            << withHeader({0x04, 0x02, 0, 0, 0, 8, 8, 8, 8, 8, 9}) << 2 << 0x20;
        QTest::newRow("other flag bytes are false")
            << withHeader({0x02, 0x00, 0x01, 0xFF, 0x00, 0x09, 0x0A, 0x08}) << 0 << 0x08;
        QTest::newRow("other magic") << [] {
            Bytes bytes = withHeader({0x02, 0x00, 9, 8, 8, 8, 8, 8});
            bytes[0] = 'X';
            bytes[4] = 9;
            bytes[100] = 0xAA;
            return bytes;
        }() << 0 << 0x01;
        QTest::newRow("trailing bytes")
            << withHeader({0x02, 0x01, 8, 8, 8, 9, 8, 8, 0x02, 0x00}) << 1 << 0x08;
        // A model index beyond the list means no model is chosen.
        QTest::newRow("model 3") << withHeader({0x02, 0x03, 8, 8, 8, 8, 8, 8}) << -1 << 0;
        QTest::newRow("model -2") << withHeader({0x02, 0xFE, 8, 8, 8, 8, 8, 8}) << -1 << 0;
        QTest::newRow("model 1000") << withHeader({0x03, 0xE8, 0x03, 8, 8, 8, 8, 8, 8}) << -1 << 0;
    }
    void reading()
    {
        QFETCH(Bytes, file);
        QFETCH(int, model);
        QFETCH(int, flags);
        ExchangeConfig config = withModel(ModelVega, {false, false, false, true, true, false});
        const ExchangeConfig before = config;
        decodeAppConfig(file, config);

        const ModuleFlags modules {bool(flags & 1), bool(flags & 2), bool(flags & 4),
            bool(flags & 8), bool(flags & 16), bool(flags & 32)};
        QCOMPARE(config.ExchangeType, model);
        QVERIFY(config.ExchangeModules == modules);
        // Nothing else is in the file.
        ExchangeConfig rest = config;
        rest.ExchangeType = before.ExchangeType;
        rest.ExchangeModules = before.ExchangeModules;
        QVERIFY(rest == before);
        // Whatever was read, the next file is written in its 528 bytes.
        QCOMPARE(encodeAppConfig(config).size(), size_t(528));
    }

    void firstStartWithoutFile()
    {
        QTemporaryDir dir;
        ExchangeConfig config = started();
        LoadAppConfig((dir.path() + "/OSet.cfg").toStdString(), config);
        QVERIFY(config == started());
        QCOMPARE(config.ExchangeType, int32_t(ModelMira));
        QVERIFY(config.ExchangeModules == ModuleFlags {});
    }

    void saveAndLoad()
    {
        QTemporaryDir dir;
        const std::string path = (dir.path() + "/OSet.cfg").toStdString();
        const ExchangeConfig saved
            = withModel(ModelVegaX, {true, false, false, false, false, true});
        SaveAppConfig(path, saved);
        SaveAppConfig(path, saved); // replaces the file
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.size(), qint64(528));

        ExchangeConfig loaded = started();
        LoadAppConfig(path, loaded);
        QVERIFY(loaded == saved);
    }

    void failedSaveIsSilentAndKeepsTheOldFile()
    {
        QTemporaryDir dir;
        SaveAppConfig((dir.path() + "/missing/OSet.cfg").toStdString(), started());
        QVERIFY(!QFile::exists(dir.path() + "/missing"));

        // A folder where the file should be: it stays, and nothing is left beside it.
        QVERIFY(QDir(dir.path()).mkdir("OSet.cfg"));
        SaveAppConfig((dir.path() + "/OSet.cfg").toStdString(), started());
        QVERIFY(QFileInfo(dir.path() + "/OSet.cfg").isDir());
        const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(dir.path()).entryList(all), QStringList {"OSet.cfg"});
    }
};

QTEST_GUILESS_MAIN(AppConfigFileTest)
#include "tst_appconfigfile.moc"
