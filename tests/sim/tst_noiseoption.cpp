#include "sim/NoiseOption.h"
#include "sim/VirtualExchange.h"

#include <QTest>

using namespace ornis::sim;

class NoiseOptionTest : public QObject
{
    Q_OBJECT

private slots:
    void parsesAddressAndByte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("address"); // -1: refused
        QTest::addColumn<int>("byte");
        QTest::newRow("decimal") << "489=5" << 489 << 5;
        QTest::newRow("hexadecimal") << "0x1E9=0xfe" << 0x1E9 << 0xFE;
        QTest::newRow("last address") << "4095=255" << 4095 << 255;
        QTest::newRow("address beyond memory") << "4096=1" << -1 << 0;
        QTest::newRow("byte too large") << "1=256" << -1 << 0;
        QTest::newRow("no byte") << "12=" << -1 << 0;
        QTest::newRow("no equals sign") << "12" << -1 << 0;
        QTest::newRow("negative") << "-1=0" << -1 << 0;
        QTest::newRow("trailing text") << "12=3x" << -1 << 0;
    }
    void parsesAddressAndByte()
    {
        QFETCH(QString, text);
        QFETCH(int, address);
        QFETCH(int, byte);
        const auto noise = parseNoise(text.toStdString());
        QCOMPARE(noise.has_value(), address >= 0);
        if (noise) {
            QCOMPARE(int(noise->first), address);
            QCOMPARE(int(noise->second), byte);
        }
    }

    // The garbled cell keeps the noise byte; its neighbour gets what was written, and the
    // answer to the data byte is its echo as always.
    void aWriteStoresTheNoiseByte()
    {
        VirtualExchange exchange;
        Faults faults;
        faults.noise[0x101] = 0x42;
        exchange.setFaults(faults);
        for (const int byte : {int('A'), 0x00, 0x81, int('W'), 0x11, int('W')})
            exchange.receive(uint8_t(byte));
        QCOMPARE(exchange.receive(0x22), std::vector<uint8_t> {0x22});
        QCOMPARE(int(exchange.memory()[0x100]), 0x11);
        QCOMPARE(int(exchange.memory()[0x101]), 0x42);
    }
};

QTEST_APPLESS_MAIN(NoiseOptionTest)
#include "tst_noiseoption.moc"
