#include "config/ExchangeConfig.h"
#include "config/Numbering.h"
#include "link/SettingsImage.h"

#include <QTest>
#include <functional>

using namespace ornis;

// Changes a configuration, or tells whether one holds what a read should have stored.
using Edit = std::function<void(ExchangeConfig &)>;
using Check = std::function<bool(const ExchangeConfig &)>;
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Check)

namespace {

uint8_t &extensionCell(ExchangeConfig &c, int column, int row)
{
    return c.Grids.ExtensionGrid[ExtensionGridShape.cellIndex(column, row)];
}
uint8_t &lineCell(ExchangeConfig &c, int row, int line)
{
    return c.Grids.GlobalLineGrid[GlobalLineGridShape.cellIndex(line + 1, row)];
}
uint8_t globalCell(const ExchangeConfig &c, int row, int extension)
{
    return c.Grids.GlobalExtensionGrid[GlobalExtensionGridShape.cellIndex(extension + 1, row)];
}
void setGlobalRow(ExchangeConfig &c, int row, uint8_t value)
{
    for (int e = 0; e < ExtensionCount; ++e)
        c.Grids.GlobalExtensionGrid[GlobalExtensionGridShape.cellIndex(e + 1, row)] = value;
}

} // namespace

// The configurations start all zero (counters 0, model MIRA, "M1", fax "vyp").
class SettingsImageTest : public QObject
{
    Q_OBJECT

private slots:
    void byteWritten_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("byte");
        using C = ExchangeConfig;
        QTest::newRow("C0 25 in tens") << Edit([](C &c) { c.Counters[0] = 25; }) << 15 << 250;
        QTest::newRow("C6 1 in fives") << Edit([](C &c) { c.Counters[6] = 1; }) << 13 << 5;
        QTest::newRow("C0 26 clamped") << Edit([](C &c) { c.Counters[0] = 26; }) << 15 << 250;
        QTest::newRow("C1 0 clamped") << Edit([](C &) {}) << 8 << 1;
        QTest::newRow("fax vyp") << Edit([](C &) {}) << 105 << 0xFF;
        QTest::newRow("fax 38") << Edit([](C &c) { c.FaxExtension = 16; }) << 105 << 15;
        QTest::newRow("fax none") << Edit([](C &c) { c.FaxExtension = -1; }) << 105 << 0xFE;
        QTest::newRow("fax off list") << Edit([](C &c) { c.FaxExtension = 272; }) << 105 << 0xFE;
        QTest::newRow("G7 U1 M0") << Edit([](C &c) { c.G7U[0] = 9; }) << 42 << 10;
        QTest::newRow("G7 U4 none") << Edit([](C &c) { c.G7U[3] = -1; }) << 45 << 0;
        QTest::newRow("G7 off list") << Edit([](C &c) { c.G7U[1] = 300; }) << 43 << 0;
        QTest::newRow("G0 Sunday, Saturday")
            << Edit([](C &c) { c.G0Days[0] = c.G0Days[6] = true; }) << 36 << 0x41;
        QTest::newRow("LP 16k on 92")
            << Edit([](C &c) { lineCell(c, GlobalLineRow::LP, 1) = 2; }) << 104 << 0x20;
        QTest::newRow("G2 DN on 94")
            << Edit([](C &c) { lineCell(c, GlobalLineRow::G2, 3) = 3; }) << 38 << 0x88;
        QTest::newRow("G9 stray 2 on 91")
            << Edit([](C &c) { lineCell(c, GlobalLineRow::G9, 0) = 2; }) << 37 << 0;
        QTest::newRow("row 00 Call 3")
            << Edit([](C &c) { extensionCell(c, ExtensionColumn::Call, 17) = 3; }) << 39 << 0x30;
        QTest::newRow("Call 5 kept off 7")
            << Edit([](C &c) { extensionCell(c, ExtensionColumn::Call, 1) = 5; }) << 64 << 0x10;
        QTest::newRow("in 92, row 38")
            << Edit([](C &c) { extensionCell(c, 2, 16) = 1; }) << 99 << 0x80;
        QTest::newRow("00 column, row 31")
            << Edit([](C &c) { extensionCell(c, ExtensionColumn::ZeroZero, 9) = 1; }) << 41 << 1;
        QTest::newRow("stray 2 in a ring cell")
            << Edit([](C &c) { c.Grids.DayRingGrid[0] = 2; }) << 80 << 0;
        QTest::newRow("G6 L byte as it is")
            << Edit([](C &c) { c.Grids.GlobalExtensionGrid[3 * 16 + 15] = 0xAB; }) << 31 << 0xAB;
        QTest::newRow("GE on MIRA")
            << Edit([](C &c) { setGlobalRow(c, GlobalExtensionRow::GE, 1); }) << 33 << 0xFF;
        QTest::newRow("GE on VEGA") << Edit([](C &c) {
            setGlobalRow(c, GlobalExtensionRow::GE, 1);
            c.ExchangeType = ModelVega;
        }) << 32 << 0;
    }
    void byteWritten()
    {
        QFETCH(Edit, edit);
        QFETCH(int, step);
        QFETCH(int, byte);
        ExchangeConfig config;
        edit(config);
        QCOMPARE(settingsByteAt(config, step), std::optional<uint8_t>(uint8_t(byte)));
    }

    void byteRead_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("byte");
        QTest::addColumn<Check>("check");
        using C = const ExchangeConfig;
        QTest::newRow("C8 57 gives 5")
            << 0 << 7 << 57 << Check([](C &c) { return c.Counters[8] == 5; });
        QTest::newRow("C8 250 within range")
            << 0 << 7 << 250 << Check([](C &c) { return c.Counters[8] == 10; });
        QTest::newRow("C1 0 within range")
            << 0 << 8 << 0 << Check([](C &c) { return c.Counters[1] == 1; });
        QTest::newRow("fax 0xFF vyp")
            << 0 << 105 << 0xFF << Check([](C &c) { return c.FaxExtension == 0; });
        QTest::newRow("fax 16 none")
            << 0 << 105 << 16 << Check([](C &c) { return c.FaxExtension == -1; });
        QTest::newRow("G7 0 none") << 0 << 44 << 0 << Check([](C &c) { return c.G7U[2] == -1; });
        QTest::newRow("G7 11 none") << 0 << 42 << 11 << Check([](C &c) { return c.G7U[0] == -1; });
        QTest::newRow("G0 0xC1") << 0 << 36 << 0xC1 << Check([](C &c) {
            return c.G0Days == std::array<bool, 7> {true, false, false, false, false, false, true};
        });
        QTest::newRow("LP 16k on 92") << 0 << 104 << 0x22 << Check([](C &c) {
            return c.Grids.GlobalLineGrid == std::array<uint8_t, 16> {0, 2};
        });
        QTest::newRow("LP both bits as 16k")
            << 0 << 104 << 0x11 << Check([](C &c) { return c.Grids.GlobalLineGrid[0] == 2; });
        QTest::newRow("G2 both bits DN")
            << 0 << 38 << 0x11 << Check([](C &c) { return c.Grids.GlobalLineGrid[12] == 3; });
        QTest::newRow("row byte 0xD5") << 0 << 64 << 0xD5 << Check([](C &c) {
            const std::array<uint8_t, 12> row {0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 1, 0};
            return std::equal(row.begin(), row.end(), c.Grids.ExtensionGrid.begin());
        });
        QTest::newRow("GE on MIRA") << 0 << 33 << 0x80 << Check([](C &c) {
            return globalCell(c, GlobalExtensionRow::GE, 15) == 1
                && globalCell(c, GlobalExtensionRow::GE, 8) == 0;
        });
        QTest::newRow("GE dropped on VEGA X")
            << 2 << 32 << 0x00
            << Check([](C &c) { return globalCell(c, GlobalExtensionRow::GE, 0) == 7; });
        QTest::newRow("step 111 dropped") << 0 << 111 << 0x00 << Check([](C &c) {
            return globalCell(c, GlobalExtensionRow::GE, 0) == 7 && c.G0Days[0];
        });
    }
    void byteRead()
    {
        QFETCH(int, model);
        QFETCH(int, step);
        QFETCH(int, byte);
        QFETCH(Check, check);
        ExchangeConfig config;
        config.ExchangeType = model;
        config.G0Days.fill(true);
        config.Grids.GlobalExtensionGrid.fill(7); // stray values, all to be overwritten
        storeSettingsByte(config, step, uint8_t(byte));
        QVERIFY(check(config));
    }
};

QTEST_APPLESS_MAIN(SettingsImageTest)
#include "tst_settingsimage.moc"
