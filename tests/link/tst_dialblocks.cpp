#include "config/FactoryDefaults.h"
#include "link/DialSlots.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>

using namespace ornis;

namespace {

constexpr int ShortDialAddress = 0x200;
constexpr int PEAddress = 0x660;
constexpr uint8_t Untouched = 0xAA;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out.leftJustified(SlotSize, char(0xFF));
}

QByteArray slotOf(int32_t line, const std::string &number)
{
    QByteArray out;
    for (int p = 0; p < SlotSize; ++p)
        out.append(char(slotByte(line, number, p)));
    return out;
}

QByteArray memoryAt(const SimulatedLine &line, int address, int count)
{
    const auto image = line.memoryAt(address, count);
    return QByteArray(reinterpret_cast<const char *>(image.data()), qsizetype(image.size()));
}

int32_t &lineOf(ExchangeConfig &config, bool pe, int record)
{
    return pe ? config.PETable[size_t(record)].Line : config.ShortDialTable[size_t(record)].Line;
}

std::string &numberOf(ExchangeConfig &config, bool pe, int record)
{
    return pe ? config.PETable[size_t(record)].Number
              : config.ShortDialTable[size_t(record)].Number;
}

} // namespace

class DialBlocksTest : public QObject
{
    Q_OBJECT

private slots:
    void shortDialSlots_data()
    {
        QTest::addColumn<int>("dial");
        QTest::addColumn<int>("slot");
        QTest::newRow("821") << 821 << 0;
        QTest::newRow("820 after 829") << 820 << 9;
        QTest::newRow("831") << 831 << 10;
        QTest::newRow("899") << 899 << 78;
        QTest::newRow("890") << 890 << 79;
        QTest::newRow("811 after the reserved slots") << 811 << 96;
        QTest::newRow("810 last") << 810 << 105;
    }
    void shortDialSlots()
    {
        QFETCH(int, dial);
        QFETCH(int, slot);
        QCOMPARE(shortDialSlotOfRecord(dial - 810), slot);
        QCOMPARE(shortDialRecordOfSlot(slot), std::optional<int>(dial - 810));
    }

    void slotWritten_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<QByteArray>("slot");
        QTest::newRow("vyp, no number") << 0 << QByteArray() << bytes({0xFF});
        QTest::newRow("line 0, number 0") << 1 << QByteArray("0") << bytes({0xF0, 0xAF});
        QTest::newRow("no line chosen") << -1 << QByteArray() << bytes({0xFE});
        QTest::newRow("PE line 95") << 6 << QByteArray("0") << bytes({0xF5, 0xAF});
        QTest::newRow("fourteen digits, the fifteenth dropped")
            << 2 << QByteArray("123456789012345")
            << bytes({0xF1, 0x12, 0x34, 0x56, 0x78, 0x9A, 0x12, 0x34});
        QTest::newRow("P5") << 3 << QByteArray("P5") << bytes({0xF2, 0x05});
        QTest::newRow("5P") << 4 << QByteArray("5P") << bytes({0xF3, 0x50});
        QTest::newRow("blank") << 5 << QByteArray("1 2") << bytes({0xF4, 0x1F, 0x2F});
        QTest::newRow("lower-case p, hash") << 1 << QByteArray("p#3") << bytes({0xF0, 0xFF, 0x3F});
    }
    void slotWritten()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, number);
        QFETCH(QByteArray, slot);
        QCOMPARE(slotOf(line, number.toStdString()), slot);
    }

    void slotRead_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("number");
        QTest::newRow("FE reads as 15") << bytes({0xFE}) << 15 << QByteArray();
        QTest::newRow("FF reads as vyp") << bytes({0xFF}) << 0 << QByteArray();
        QTest::newRow("codes 11..14 dropped")
            << bytes({0xF1, 0xB1, 0xCD, 0x2E, 0xFF, 0xFF, 0xFF, 0x39}) << 2 << QByteArray("1239");
        QTest::newRow("blank read back") << bytes({0xF4, 0x1F, 0x2F}) << 5 << QByteArray("12");
    }
    void slotRead()
    {
        QFETCH(QByteArray, slot);
        QFETCH(int, line);
        QFETCH(QByteArray, number);
        int32_t readLine = -7;
        std::string readNumber = "old";
        for (int p = 0; p < SlotSize; ++p)
            storeSlotByte(readLine, readNumber, p, uint8_t(slot[p]));
        QCOMPARE(readLine, line);
        QCOMPARE(readNumber, number.toStdString());
    }

    void imageWritten_data()
    {
        QTest::addColumn<bool>("pe");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("offset");
        QTest::newRow("820 in slot 9") << false << 10 << 72;
        QTest::newRow("821 in slot 0") << false << 11 << 0;
        QTest::newRow("810 in slot 105") << false << 0 << 840;
        QTest::newRow("PE record 0") << true << 0 << 0;
        QTest::newRow("PE record 99") << true << 99 << 792;
    }
    void imageWritten()
    {
        QFETCH(bool, pe);
        QFETCH(int, record);
        QFETCH(int, offset);
        SimulatedLine line(factoryConfig());
        line.exchange.memory().fill(Untouched);
        lineOf(line.config, pe, record) = 2;
        numberOf(line.config, pe, record) = "12345678901234";
        QVERIFY(line.run(pe ? TransferMode::PEWrite : TransferMode::ShortDialsWrite));
        QCOMPARE(line.countedEvents(), pe ? 1606 : 1702);
        const int address = pe ? PEAddress : ShortDialAddress;
        QCOMPARE(memoryAt(line, address + offset, 8),
            bytes({0xF1, 0x12, 0x34, 0x56, 0x78, 0x9A, 0x12, 0x34}));
        QCOMPARE(memoryAt(line, address + (offset + 8) % 640, 8), bytes({0xFF})); // factory
        if (!pe)
            QCOMPARE(memoryAt(line, address + 640, 128), QByteArray(128, '\0')); // reserved
        QCOMPARE(memoryAt(line, address + (pe ? 800 : 848), 1), QByteArray(1, char(Untouched)));
    }

    void imageRead_data()
    {
        QTest::addColumn<bool>("pe");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("number");
        QTest::newRow("820, 92, 123")
            << false << 72 << bytes({0xF2, 0x12, 0x3F}) << 10 << 3 << QByteArray("123");
        QTest::newRow("810, high nibble ignored, 0P")
            << false << 840 << bytes({0x05, 0xA0}) << 0 << 6 << QByteArray("0P");
        QTest::newRow("PE record 99")
            << true << 792 << bytes({0xF1, 0x12, 0x34, 0x56, 0x78, 0x9A, 0x12, 0x34}) << 99 << 2
            << QByteArray("12345678901234");
    }
    // The other records read FF slots ("vyp", no number); the reserved slots change
    // nothing and the comments stay.
    void imageRead()
    {
        QFETCH(bool, pe);
        QFETCH(int, offset);
        QFETCH(QByteArray, slot);
        QFETCH(int, record);
        QFETCH(int, line);
        QFETCH(QByteArray, number);
        SimulatedLine sim(factoryConfig());
        for (auto &r : sim.config.ShortDialTable)
            r = {4, "999", "keep"};
        for (auto &r : sim.config.PETable)
            r = {4, "999"};
        const ExchangeConfig before = sim.config;
        const int address = pe ? PEAddress : ShortDialAddress;
        sim.exchange.memory().fill(0xFF);
        sim.place(address + 640, std::vector<uint8_t>(128, 0xF1));
        sim.place(address + offset, std::vector<uint8_t>(slot.begin(), slot.end()));
        QVERIFY(sim.run(pe ? TransferMode::PERead : TransferMode::ShortDialsRead));
        QCOMPARE(lineOf(sim.config, pe, record), line);
        QCOMPARE(numberOf(sim.config, pe, record), number.toStdString());
        const int records = pe ? PERecordCount : ShortDialCount;
        for (int r = 0; r < records; ++r) {
            const bool reservedInPE = pe && r >= 80 && r < 96;
            if (r == record || reservedInPE)
                continue;
            QCOMPARE(lineOf(sim.config, pe, r), 0);
            QCOMPARE(numberOf(sim.config, pe, r), std::string());
        }
        for (std::size_t i = 0; i < sim.config.ShortDialTable.size(); ++i)
            QCOMPARE(sim.config.ShortDialTable[i].Comment, std::string("keep"));
        if (pe) {
            QCOMPARE(sim.countedEvents(), 806);
            QCOMPARE(sim.observer.stored, std::vector<Block>(806, Block::PE));
            QVERIFY(sim.config.ShortDialTable == before.ShortDialTable);
        } else {
            QVERIFY(sim.config.PETable == before.PETable);
        }
    }

    // 854 events against 848: the bar stands at 100 from the 844th on; the page is
    // refilled after every one of them.
    void shortDialReadProgress()
    {
        SimulatedLine line;
        QVERIFY(line.run(TransferMode::ShortDialsRead));
        const auto &percents = line.observer.percents;
        QCOMPARE(line.countedEvents(), 854);
        QCOMPARE(percents[843], 99);
        for (std::size_t n = 844; n < percents.size(); ++n)
            QCOMPARE(percents[n], 100);
        QCOMPARE(line.observer.stored, std::vector<Block>(854, Block::ShortDials));
    }

    void timeoutInTheMiddle_data()
    {
        QTest::addColumn<bool>("pe");
        QTest::newRow("short dials") << false;
        QTest::newRow("PE") << true;
    }
    // A record whose line byte arrived keeps the digits received so far; the records
    // after it keep their former values.
    void timeoutInTheMiddle()
    {
        QFETCH(bool, pe);
        SimulatedLine line(factoryConfig());
        for (auto &record : line.config.ShortDialTable)
            record = {4, "999", "c"};
        for (auto &record : line.config.PETable)
            record = {4, "999"};
        line.exchange.memory().fill(0xFF);
        // Slots 0 and 1 whole, then slot 2's line byte and two of its digit bytes.
        std::vector<uint8_t> image {0xF1, 0xF1, 0xF1, 0xF1, 0xF1, 0xF1, 0xF1, 0xF1, 0xF1, 0xF1,
            0xF1, 0xF1, 0xF1, 0xF1, 0xF1, 0xF1, 0xF2, 0x12, 0x34, 0x56};
        line.place(pe ? PEAddress : ShortDialAddress, image);
        sim::Faults faults;
        faults.silentAfter = 5 + 16 + 3;
        line.exchange.setFaults(faults);
        QVERIFY(
            line.engine.startTransfer(pe ? TransferMode::PERead : TransferMode::ShortDialsRead));
        sim::runToIdle(line.engine, line.port);
        QVERIFY(line.engine.isIdle());
        QCOMPARE(line.observer.errors, (std::vector<std::string> {"Timeout on sim"}));

        auto record = [pe](int slot) { return pe ? slot : *shortDialRecordOfSlot(slot); };
        QCOMPARE(lineOf(line.config, pe, record(1)), 2);
        QCOMPARE(numberOf(line.config, pe, record(1)), std::string("1111111"));
        QCOMPARE(lineOf(line.config, pe, record(2)), 3);
        QCOMPARE(numberOf(line.config, pe, record(2)), std::string("1234"));
        QCOMPARE(lineOf(line.config, pe, record(3)), 4);
        QCOMPARE(numberOf(line.config, pe, record(3)), std::string("999"));
    }

    void imagesAreBoundsSafe()
    {
        for (int slot : {-1, 80, 95, 106})
            QVERIFY(!shortDialRecordOfSlot(slot));
        ExchangeConfig config;
        const ExchangeConfig before = config;
        for (int32_t k : {-1, ShortDialImageSize, INT32_MAX, INT32_MIN}) {
            QVERIFY(!shortDialImageByte(config, k) && !peImageByte(config, k));
            storeShortDialImageByte(config, k, 0xF1);
            storePEImageByte(config, k, 0xF1);
        }
        QVERIFY(!peImageByte(config, PEImageSize));
        storePEImageByte(config, PEImageSize, 0xF1);
        QVERIFY(config == before);
        QCOMPARE(int(slotByte(INT32_MIN, "", 0)), 0xFF);
    }
};

QTEST_APPLESS_MAIN(DialBlocksTest)
#include "tst_dialblocks.moc"
