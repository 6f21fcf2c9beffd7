#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/SettingsFile.h"
#include "tests/config/ItemBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <filesystem>

using namespace ornis;

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

// Offsets of items in a file whose texts are all empty.
constexpr size_t DayStartAt = 520;
constexpr size_t NightStartAt = 529;
constexpr size_t FirstCommentAt = 742;
constexpr size_t G0SundayAt = 1054;
constexpr size_t CounterC0At = 1063;
constexpr size_t FirstShortDialAt = 1081;

constexpr QDir::Filters AllInFolder = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;

Bytes fixture(const char *name)
{
    QFile file(QStringLiteral(ORNIS_TEST_DATA "/settings/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

Bytes spliced(const Bytes &bytes, size_t at, size_t removed, const Bytes &inserted)
{
    Bytes result(bytes.begin(), bytes.begin() + std::ptrdiff_t(at));
    result.insert(result.end(), inserted.begin(), inserted.end());
    result.insert(result.end(), bytes.begin() + std::ptrdiff_t(at + removed), bytes.end());
    return result;
}

ExchangeConfig emptyTexts()
{
    ExchangeConfig config = factoryConfig();
    for (Text &text : config.ExtensionComments)
        text.clear();
    for (Text &text : config.DayRingComments)
        text.clear();
    for (Text &text : config.NightRingComments)
        text.clear();
    return config;
}

// A configuration unlike every file of these tests, in the blocks the file holds and in
// those it does not.
ExchangeConfig distinctConfig()
{
    ExchangeConfig config = factoryConfig();
    config.ExchangeType = ModelVegaX;
    config.ExchangeModules.MKX = true;
    config.DayStart = "05:55";
    config.NightStart = "  :  ";
    config.Grids.ExtensionGrid.fill(7);
    config.Grids.GlobalExtensionGrid[111] = 9;
    config.ExtensionComments[0] = "before";
    config.Counters[8] = 3;
    config.G0Days.fill(false);
    config.Services[2].BackRing = 12;
    config.Services[5].RingFrom[1] = true;
    config.GeneralRing[3] = true;
    config.ShortDialTable[7] = {3, "777", "seven"};
    config.PETable[42] = {4, "42"};
    return config;
}

// `base` with every field the settings file holds taken from `from`.
ExchangeConfig withFileFields(ExchangeConfig base, const ExchangeConfig &from)
{
    base.Grids = from.Grids;
    base.ExtensionComments = from.ExtensionComments;
    base.DayRingComments = from.DayRingComments;
    base.NightRingComments = from.NightRingComments;
    base.DayStart = from.DayStart;
    base.NightStart = from.NightStart;
    base.G7U = from.G7U;
    base.G0Days = from.G0Days;
    base.FaxExtension = from.FaxExtension;
    base.Counters = from.Counters;
    base.ShortDialTable = from.ShortDialTable;
    base.PETable = from.PETable;
    return base;
}

Bytes encoded(const ExchangeConfig &config)
{
    Bytes bytes;
    const Status status = encodeSettingsFile(config, bytes);
    if (!status.ok())
        qFatal("encoding failed: %s", status.message().c_str());
    return bytes;
}

Bytes fileContent(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

void writeContent(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

std::filesystem::path fsPath(const QString &path)
{
    return path.toStdString();
}

} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void emptyTextsFileIs2021Bytes()
    {
        const Bytes golden = fixture("empty-texts.set");
        QCOMPARE(golden.size(), size_t(2021));
        QCOMPARE(encoded(emptyTexts()), golden);

        // Loading sets what the file holds and nothing else.
        ExchangeConfig config = distinctConfig();
        QVERIFY(decodeSettingsFile(golden, config).ok());
        QVERIFY(config == withFileFields(distinctConfig(), emptyTexts()));
    }

    void timeFieldBytes_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<Bytes>("bytes");
        const Bytes quarter {0x11, 0, 0, 0, 0, 0, 0, 0xD0, 0x3F};
        QTest::newRow("06:00") << QByteArray("06:00") << quarter;
        QTest::newRow("blank first digit") << QByteArray(" 6:00") << quarter;
        const Bytes threeQuarters {0x11, 0, 0, 0, 0, 0, 0, 0xE8, 0x3F};
        const Bytes half {0x11, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F};
        QTest::newRow("18:00") << QByteArray("18:00") << threeQuarters;
        QTest::newRow("12:00") << QByteArray("12:00") << half;
        QTest::newRow("00:00") << QByteArray("00:00") << Bytes {0x11, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("23:59") << QByteArray("23:59") << timeItem(1439.0 / 1440.0);
    }
    void timeFieldBytes()
    {
        QFETCH(QByteArray, field);
        QFETCH(Bytes, bytes);
        for (const bool night : {false, true}) {
            ExchangeConfig config = emptyTexts();
            (night ? config.NightStart : config.DayStart) = field.toStdString();
            const Bytes file = encoded(config);
            const size_t at = night ? NightStartAt : DayStartAt;
            QCOMPARE(
                Bytes(file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + 9)),
                bytes);
        }
    }

    void saveRefusesAFieldWithoutTime_data()
    {
        QTest::addColumn<bool>("night");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("blank day") << false << QByteArray("  :  ");
        QTest::newRow("blank night") << true << QByteArray("  :  ");
        QTest::newRow("empty night") << true << QByteArray("");
        QTest::newRow("24:00") << false << QByteArray("24:00");
        QTest::newRow("12:60") << true << QByteArray("12:60");
    }
    void saveRefusesAFieldWithoutTime()
    {
        QFETCH(bool, night);
        QFETCH(QByteArray, field);
        ExchangeConfig config = emptyTexts();
        (night ? config.NightStart : config.DayStart) = field.toStdString();
        Bytes bytes {1, 2, 3};
        const Status status = encodeSettingsFile(config, bytes);
        QVERIFY(!status.ok());
        QCOMPARE(status.message(), "'" + field.toStdString() + "' is not a valid date and time");
        QCOMPARE(bytes, (Bytes {1, 2, 3}));
    }

    // The field shows "hh:mm": rounded to the millisecond, seconds and date dropped.
    void timeFieldTextAfterLoading_data()
    {
        QTest::addColumn<Bytes>("item");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("06:00") << timeItem(0.25) << QByteArray("06:00");
        QTest::newRow("date dropped") << timeItem(45000.75) << QByteArray("18:00");
        QTest::newRow("seconds dropped")
            << timeItem((6 * 3600 + 59) / 86400.0) << QByteArray("06:00");
        QTest::newRow("last millisecond") << timeItem(0.99999998) << QByteArray("23:59");
        QTest::newRow("rounds up to 06:01")
            << timeItem((6 * 3600 + 59.9996) / 86400.0) << QByteArray("06:01");
        QTest::newRow("day's end wraps") << timeItem(0.9999999999) << QByteArray("00:00");
        QTest::newRow("before the epoch") << timeItem(-1.25) << QByteArray("06:00");
        QTest::newRow("integer days") << Bytes {0x02, 0x05} << QByteArray("00:00");
        QTest::newRow("integer days, 4 bytes")
            << Bytes {0x04, 0x8E, 0x8E, 0x00, 0x00} << QByteArray("00:00");
    }
    void timeFieldTextAfterLoading()
    {
        QFETCH(Bytes, item);
        QFETCH(QByteArray, field);
        const Bytes file = spliced(fixture("empty-texts.set"), DayStartAt, 9, item);
        ExchangeConfig config = distinctConfig();
        QVERIFY(decodeSettingsFile(file, config).ok());
        QCOMPARE(QByteArray::fromStdString(config.DayStart), field);
        QCOMPARE(config.NightStart, Text("18:00"));
    }

    void textLengthForms_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<Bytes>("prefix");
        QTest::newRow("255 bytes") << 255 << Bytes {0x06, 0xFF};
        QTest::newRow("256 bytes") << 256 << Bytes {0x0C, 0x00, 0x01, 0x00, 0x00};
    }
    void textLengthForms()
    {
        QFETCH(int, length);
        QFETCH(Bytes, prefix);
        ExchangeConfig config = emptyTexts();
        config.ExtensionComments[0] = Text(size_t(length), '\xE8'); // "č"
        const Bytes file = encoded(config);
        QCOMPARE(file.size(), 2021 + size_t(length) + prefix.size() - 2);
        Bytes expected = prefix;
        expected.insert(expected.end(), size_t(length), 0xE8);
        QCOMPARE(Bytes(file.begin() + std::ptrdiff_t(FirstCommentAt),
                     file.begin() + std::ptrdiff_t(FirstCommentAt + expected.size())),
            expected);

        ExchangeConfig loaded = distinctConfig();
        QVERIFY(decodeSettingsFile(file, loaded).ok());
        QCOMPARE(loaded.ExtensionComments[0], config.ExtensionComments[0]);
    }

    // What another writer may put in a file and the reader still takes.
    void tolerantReading_data()
    {
        QTest::addColumn<Bytes>("file");
        QTest::addColumn<int>("counterC0");
        QTest::addColumn<bool>("sunday");
        const Bytes golden = fixture("empty-texts.set");
        QTest::newRow("C0 with tag 0x04")
            << spliced(golden, CounterC0At, 2, {0x04, 0x14, 0x00, 0x00, 0x00}) << 20 << true;
        QTest::newRow("C0 with tag 0x03")
            << spliced(golden, CounterC0At, 2, {0x03, 0x19, 0x00}) << 25 << true;
        QTest::newRow("negative C0")
            << spliced(golden, CounterC0At, 2, {0x03, 0x00, 0x80}) << -32768 << true;
        Bytes junkHeader = golden;
        std::memcpy(junkHeader.data(), "XYZW\x07\x00\x00\x00", 8);
        for (size_t i = 8; i < 520; ++i)
            junkHeader[i] = uint8_t(i);
        QTest::newRow("other magic and version") << junkHeader << 20 << true;
        QTest::newRow("flag byte 0x01 is false")
            << spliced(golden, G0SundayAt, 1, {0x01}) << 20 << false;
        Bytes trailing = golden;
        trailing.insert(trailing.end(), {0x02, 0x05, 0xFF});
        QTest::newRow("trailing bytes") << trailing << 20 << true;
    }
    void tolerantReading()
    {
        QFETCH(Bytes, file);
        QFETCH(int, counterC0);
        QFETCH(bool, sunday);
        ExchangeConfig expected = emptyTexts();
        expected.Counters[0] = int16_t(counterC0);
        expected.G0Days[0] = sunday;
        ExchangeConfig config = distinctConfig();
        const Status status = decodeSettingsFile(file, config);
        QVERIFY2(status.ok(), status.message().c_str());
        QVERIFY(config == withFileFields(distinctConfig(), expected));
    }

    void realFileRoundTrip()
    {
        const Bytes sample = fixture("sample.set");
        ExchangeConfig config = factoryConfig();
        QVERIFY(decodeSettingsFile(sample, config).ok());
        QCOMPARE(config.DayStart, Text("07:30"));
        QCOMPARE(config.NightStart, Text("19:45"));
        QCOMPARE(config.Grids.ExtensionGrid[203], uint8_t(0xFF));
        QCOMPARE(config.ExtensionComments[15].size(), size_t(256));
        QCOMPARE(config.ExtensionComments[3],
            Text("\xDA\xE8t\xE1rna \x96 pan\xED R\xF9\x9Ei\xE8kov\xE1"));
        QCOMPARE(config.G7U, (std::array<int32_t, 4> {9, -1, 0, 3}));
        QCOMPARE(config.FaxExtension, 16);
        QCOMPARE(config.Counters[8], int16_t(7));
        QVERIFY(config.ShortDialTable[89] == (ShortDialRecord {5, "12345678901234", "899"}));
        QVERIFY(config.PETable[99] == (PERecord {-1, "99"}));
        QCOMPARE(encoded(config), sample);

        // Save, load into a fresh configuration, save again: the same bytes.
        ExchangeConfig fresh;
        QVERIFY(decodeSettingsFile(encoded(config), fresh).ok());
        QVERIFY(withFileFields(fresh, config) == fresh);
        QCOMPARE(encoded(fresh), sample);
    }

    // A file cut anywhere, even after the last text's first bytes, changes nothing.
    void truncationChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("empty texts") << QByteArray("empty-texts.set");
        QTest::newRow("real file") << QByteArray("sample.set");
    }
    void truncationChangesNothing()
    {
        QFETCH(QByteArray, name);
        const Bytes file = fixture(name.constData());
        const ExchangeConfig before = distinctConfig();
        for (size_t size = 0; size < file.size(); ++size) {
            ExchangeConfig config = before;
            const Status status = decodeSettingsFile(std::span(file.data(), size), config);
            if (status.message() != "Stream read error" || !(config == before))
                QFAIL(qPrintable(QStringLiteral("cut at %1: '%2'")
                                     .arg(size)
                                     .arg(QString::fromStdString(status.message()))));
        }
    }

    void damagedItemChangesNothing_data()
    {
        QTest::addColumn<Bytes>("file");
        QTest::addColumn<QByteArray>("message");
        const Bytes golden = fixture("empty-texts.set");
        const QByteArray invalid("Invalid property value");
        QTest::newRow("comment tag 0x07") << spliced(golden, FirstCommentAt, 1, {0x07}) << invalid;
        QTest::newRow("counter tag 0x05") << spliced(golden, CounterC0At, 1, {0x05}) << invalid;
        QTest::newRow("line tag of a text")
            << spliced(golden, FirstShortDialAt, 1, {0x06}) << invalid;
        QTest::newRow("time tag neither time nor integer")
            << spliced(golden, DayStartAt, 1, {0x08}) << invalid;
        QTest::newRow("time NaN") << spliced(golden, NightStartAt, 9, timeItem(std::nan("")))
                                  << invalid;
        QTest::newRow("counter beyond 16 bits")
            << spliced(golden, CounterC0At, 2, {0x04, 0x00, 0x00, 0x01, 0x00}) << invalid;
        QTest::newRow("text length past the end") << spliced(golden, FirstCommentAt, 2,
            {0x0C, 0xFF, 0xFF, 0xFF, 0x7F}) << QByteArray("Stream read error");
    }
    void damagedItemChangesNothing()
    {
        QFETCH(Bytes, file);
        QFETCH(QByteArray, message);
        const ExchangeConfig before = distinctConfig();
        ExchangeConfig config = before;
        QCOMPARE(QByteArray::fromStdString(decodeSettingsFile(file, config).message()), message);
        QVERIFY(config == before);
    }

    void saveAndLoad()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ústředna.set"));
        ExchangeConfig config = factoryConfig();
        config.ShortDialTable[0] = {2, "123", "a"};
        QVERIFY(SaveSettingsFile(fsPath(path), config).ok());
        QCOMPARE(fileContent(path), encoded(config));
        // Saving again replaces the file.
        config.DayStart = "07:00";
        QVERIFY(SaveSettingsFile(fsPath(path), config).ok());
        QCOMPARE(fileContent(path), encoded(config));
        QCOMPARE(QDir(dir.path()).entryList(AllInFolder), QStringList {"ústředna.set"});

        ExchangeConfig loaded = distinctConfig();
        QVERIFY(LoadSettingsFile(fsPath(path), loaded).ok());
        QVERIFY(loaded == withFileFields(distinctConfig(), config));
    }

    void failedSaveKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.set"));
        writeContent(path, "old content");
        ExchangeConfig config = factoryConfig();
        config.NightStart = UnsetTime;
        QCOMPARE(SaveSettingsFile(fsPath(path), config).message(),
            std::string("'  :  ' is not a valid date and time"));
        QCOMPARE(fileContent(path), bytesOf("old content"));
    }

    void cannotCreate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder")
            << QStringLiteral("missing/x.set") << QStringLiteral("No such file or directory");
        QTest::newRow("a folder in the way")
            << QStringLiteral("folder") << QStringLiteral("Is a directory");
    }
    void cannotCreate()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder")));
        writeContent(dir.filePath(QStringLiteral("folder/inside")), "kept");
        const QString path = dir.filePath(name);
        QCOMPARE(SaveSettingsFile(fsPath(path), factoryConfig()).message(),
            "Cannot create file " + path.toStdString() + ": " + reason.toStdString());
        QCOMPARE(fileContent(dir.filePath(QStringLiteral("folder/inside"))), bytesOf("kept"));
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(AllInFolder), QStringList {"folder"});
    }

    void saveThroughALinkKeepsTheLink()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("real.set"));
        const QString link = dir.filePath(QStringLiteral("link.set"));
        writeContent(target, "old");
        QVERIFY(QFile::link(target, link));
        QVERIFY(SaveSettingsFile(fsPath(link), factoryConfig()).ok());
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(fileContent(target), encoded(factoryConfig()));
    }

    void cannotOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // %1: the path
        QTest::newRow("missing file") << QStringLiteral(
            "nothing.set") << QStringLiteral("Cannot open file %1: No such file or directory");
        QTest::newRow("a folder") << QStringLiteral(".")
                                  << QStringLiteral("Cannot read file %1: Is a directory");
    }
    void cannotOpen()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        ExchangeConfig config = distinctConfig();
        QCOMPARE(
            LoadSettingsFile(fsPath(path), config).message(), message.arg(path).toStdString());
        QVERIFY(config == distinctConfig());
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"
