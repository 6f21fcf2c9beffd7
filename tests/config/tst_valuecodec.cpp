#include "config/ValueReader.h"
#include "config/ValueWriter.h"
#include "tests/config/ItemBytes.h"

#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>

using namespace ornis;

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(ReadResult)

namespace {

enum class Item { Integer, Text, Time };

ReadResult readItem(Item kind, std::span<const uint8_t> bytes)
{
    ValueReader reader(bytes);
    int32_t integer = 0;
    std::string text;
    double days = 0;
    switch (kind) {
    case Item::Integer:
        return reader.readInteger(integer);
    case Item::Text:
        return reader.readText(text);
    case Item::Time:
        break;
    }
    return reader.readTime(days);
}

} // namespace

Q_DECLARE_METATYPE(Item)

class ValueCodecTest : public QObject
{
    Q_OBJECT

private slots:
    void integerTakesItsShortestForm_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("0") << 0 << Bytes {0x02, 0x00};
        QTest::newRow("-1") << -1 << Bytes {0x02, 0xFF};
        QTest::newRow("127") << 127 << Bytes {0x02, 0x7F};
        QTest::newRow("-128") << -128 << Bytes {0x02, 0x80};
        QTest::newRow("128") << 128 << Bytes {0x03, 0x80, 0x00};
        QTest::newRow("-129") << -129 << Bytes {0x03, 0x7F, 0xFF};
        QTest::newRow("32767") << 32767 << Bytes {0x03, 0xFF, 0x7F};
        QTest::newRow("-32768") << -32768 << Bytes {0x03, 0x00, 0x80};
        QTest::newRow("32768") << 32768 << Bytes {0x04, 0x00, 0x80, 0x00, 0x00};
        QTest::newRow("int min") << std::numeric_limits<int>::min()
                                 << Bytes {0x04, 0x00, 0x00, 0x00, 0x80};
    }
    void integerTakesItsShortestForm()
    {
        QFETCH(int, value);
        QFETCH(Bytes, bytes);
        Bytes written;
        ValueWriter(written).writeInteger(value);
        QCOMPARE(written, bytes);

        ValueReader reader(bytes);
        int32_t read = 0;
        QCOMPARE(reader.readInteger(read), ReadResult::Ok);
        QCOMPARE(read, value);
        QCOMPARE(reader.remaining(), size_t(0));
    }

    void textForms_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<Bytes>("prefix");
        QTest::newRow("empty") << 0 << Bytes {0x06, 0x00};
        QTest::newRow("255 bytes") << 255 << Bytes {0x06, 0xFF};
        QTest::newRow("256 bytes") << 256 << Bytes {0x0C, 0x00, 0x01, 0x00, 0x00};
        QTest::newRow("70000 bytes") << 70000 << Bytes {0x0C, 0x70, 0x11, 0x01, 0x00};
    }
    void textForms()
    {
        QFETCH(int, length);
        QFETCH(Bytes, prefix);
        std::string text;
        for (int i = 0; i < length; ++i)
            text.push_back(char(0x80 + i % 128)); // Windows-1250 bytes pass unchanged
        Bytes expected = prefix;
        expected.insert(expected.end(), text.begin(), text.end());

        Bytes written;
        ValueWriter(written).writeText(text);
        QCOMPARE(written, expected);

        std::string read = "previous";
        ValueReader reader(written);
        QCOMPARE(reader.readText(read), ReadResult::Ok);
        QCOMPARE(read, text);
        QCOMPARE(reader.remaining(), size_t(0));
    }

    void flagBytes()
    {
        Bytes written;
        ValueWriter writer(written);
        writer.writeFlag(true);
        writer.writeFlag(false);
        QCOMPARE(written, (Bytes {0x09, 0x08}));

        // Only 0x09 is true; every other byte reads as false, without error.
        const Bytes bytes {0x09, 0x08, 0x00, 0x01, 0xFF, 0x0A};
        ValueReader reader(bytes);
        const bool expected[] = {true, false, false, false, false, false};
        for (bool want : expected) {
            bool value = !want;
            QCOMPARE(reader.readFlag(value), ReadResult::Ok);
            QCOMPARE(value, want);
        }
        bool value = true;
        QCOMPARE(reader.readFlag(value), ReadResult::EndOfData);
    }

    void timeRead_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<ReadResult>("result");
        QTest::addColumn<double>("days");
        QTest::newRow("double") << timeItem(0.75) << ReadResult::Ok << 0.75;
        QTest::newRow("with a date") << timeItem(45000.5) << ReadResult::Ok << 45000.5;
        QTest::newRow("first day") << timeItem(-693593.0) << ReadResult::Ok << -693593.0;
        QTest::newRow("last day, late") << timeItem(2958465.999) << ReadResult::Ok << 2958465.999;
        QTest::newRow("integer, 1 byte") << Bytes {0x02, 0x05} << ReadResult::Ok << 5.0;
        QTest::newRow("integer, 4 bytes")
            << Bytes {0x04, 0x0E, 0x8F, 0x00, 0x00} << ReadResult::Ok << 36622.0;
        QTest::newRow("negative integer") << Bytes {0x03, 0x00, 0xFF} << ReadResult::Ok << -256.0;
        QTest::newRow("NaN") << timeItem(std::nan("")) << ReadResult::InvalidValue << 0.0;
        QTest::newRow("infinity") << timeItem(std::numeric_limits<double>::infinity())
                                  << ReadResult::InvalidValue << 0.0;
        QTest::newRow("-infinity") << timeItem(-std::numeric_limits<double>::infinity())
                                   << ReadResult::InvalidValue << 0.0;
        QTest::newRow("huge") << timeItem(1e300) << ReadResult::InvalidValue << 0.0;
        QTest::newRow("after the last day")
            << timeItem(2958466.0) << ReadResult::InvalidValue << 0.0;
        QTest::newRow("before the first day")
            << timeItem(-693593.5) << ReadResult::InvalidValue << 0.0;
        QTest::newRow("integer beyond the last day")
            << Bytes {0x04, 0x00, 0x00, 0x00, 0x40} << ReadResult::InvalidValue << 0.0;
    }
    void timeRead()
    {
        QFETCH(Bytes, bytes);
        QFETCH(ReadResult, result);
        QFETCH(double, days);
        double read = 0;
        QCOMPARE(ValueReader(bytes).readTime(read), result);
        if (result == ReadResult::Ok)
            QCOMPARE(read, days);
    }

    // Every item cut anywhere reports the end of the data instead of reading past it.
    void truncatedItems_data()
    {
        QTest::addColumn<Item>("kind");
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("integer 1") << Item::Integer << Bytes {0x02, 0x05};
        QTest::newRow("integer 2") << Item::Integer << Bytes {0x03, 0x05, 0x00};
        QTest::newRow("integer 4") << Item::Integer << Bytes {0x04, 0x05, 0x00, 0x00, 0x00};
        QTest::newRow("short text") << Item::Text << Bytes {0x06, 0x03, 'a', 'b', 'c'};
        QTest::newRow("long text") << Item::Text << Bytes {0x0C, 0x02, 0x00, 0x00, 0x00, 'a', 'b'};
        QTest::newRow("time") << Item::Time << timeItem(0.25);
        QTest::newRow("time as integer") << Item::Time << Bytes {0x03, 0x05, 0x00};
    }
    void truncatedItems()
    {
        QFETCH(Item, kind);
        QFETCH(Bytes, bytes);
        QCOMPARE(readItem(kind, bytes), ReadResult::Ok);
        for (size_t size = 0; size < bytes.size(); ++size) {
            QVERIFY2(readItem(kind, std::span(bytes.data(), size)) == ReadResult::EndOfData,
                qPrintable(QString::number(size)));
        }
    }

    // The length is checked against what remains before anything is allocated.
    void textLengthBeyondTheEnd_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("short form") << Bytes {0x06, 0x05, 'a', 'b'};
        QTest::newRow("4 GB") << Bytes {0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'a'};
        QTest::newRow("negative as signed") << Bytes {0x0C, 0x00, 0x00, 0x00, 0x80};
        QTest::newRow("one too many") << Bytes {0x0C, 0x02, 0x00, 0x00, 0x00, 'a'};
    }
    void textLengthBeyondTheEnd()
    {
        QFETCH(Bytes, bytes);
        std::string text = "kept";
        QCOMPARE(ValueReader(bytes).readText(text), ReadResult::EndOfData);
    }

    void unknownTags_data()
    {
        QTest::addColumn<Item>("kind");
        QTest::addColumn<Bytes>("bytes");
        QTest::newRow("integer 0x05") << Item::Integer << Bytes {0x05, 0x01};
        QTest::newRow("integer 0x01") << Item::Integer << Bytes {0x01, 0x01};
        QTest::newRow("integer as text") << Item::Integer << Bytes {0x06, 0x00};
        QTest::newRow("text 0x07") << Item::Text << Bytes {0x07, 0x00};
        QTest::newRow("text as integer") << Item::Text << Bytes {0x02, 0x00};
        QTest::newRow("text as time") << Item::Text << timeItem(0.5);
        QTest::newRow("time as text") << Item::Time << Bytes {0x06, 0x00};
    }
    void unknownTags()
    {
        QFETCH(Item, kind);
        QFETCH(Bytes, bytes);
        QCOMPARE(readItem(kind, bytes), ReadResult::InvalidValue);
    }
};

QTEST_APPLESS_MAIN(ValueCodecTest)
#include "tst_valuecodec.moc"
