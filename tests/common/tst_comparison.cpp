#include "common/Comparison.h"
#include "config/FactoryDefaults.h"
#include "config/Numbering.h"

#include <QTest>
#include <functional>

using namespace ornis;

using Change = std::function<void(ExchangeConfig &)>;
Q_DECLARE_METATYPE(Change)

class ComparisonTest : public QObject
{
    Q_OBJECT

private slots:
    // One value changed: exactly its item is listed, named and shown as the window does.
    void oneChangedValueIsListed_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("expected"); // block, item, left, right
        const auto row = [](const char *name, Change change, QStringList expected) {
            QTest::newRow(name) << change << expected;
        };
        row("model", [](ExchangeConfig &c) { c.ExchangeType = ModelVegaX; },
            {"Konfigurace", "Typ ústředny", "MIRA", "VEGA X"});
        row("module", [](ExchangeConfig &c) { c.ExchangeModules.GSM = true; },
            {"Konfigurace", "Modul GSM (MIRA)", "ne", "ano"});
        row("call column",
            [](ExchangeConfig &c) {
                c.Grids.ExtensionGrid[ExtensionGridShape.cellIndex(ExtensionColumn::Call, 3)] = 1;
            },
            {"Nastavení", "Pobočka 23, Call", "0-00", "0-9n"});
        row("row 00",
            [](ExchangeConfig &c) {
                c.Grids.ExtensionGrid[ExtensionGridShape.cellIndex(6, ExtensionRowZeroZero)] = 1;
            },
            {"Nastavení", "Řádek 00, Výstup 92", "", "X"});
        row("night ring", [](ExchangeConfig &c) { c.Grids.NightRingGrid[16 + 9] = 1; },
            {"Nastavení", "Noc, linka 92, pobočka 32", "", "X"});
        row("LP", [](ExchangeConfig &c) { c.Grids.GlobalLineGrid[3] = 2; },
            {"Nastavení", "LP, linka 94", "X", "16k"});
        row("G6 J, value 10",
            [](ExchangeConfig &c) {
                c.Grids.GlobalExtensionGrid[GlobalExtensionGridShape.cellIndex(
                    16, GlobalExtensionRow::G6J)]
                    = 10;
            },
            {"Nastavení", "G6 J, pobočka 38", "", "J0"});
        row("a byte without a text", [](ExchangeConfig &c) { c.Grids.DayRingGrid[0] = 7; },
            {"Nastavení", "Den, linka 91, pobočka 21", "X", "7"});
        row("day start", [](ExchangeConfig &c) { c.DayStart = "  :  "; },
            {"Nastavení", "Režim D/N, Den", "06:00", "  :  "});
        row("comment", [](ExchangeConfig &c) { c.ExtensionComments[8] = "Sklad"; },
            {"Nastavení", "Pobočka 31, komentář", "Kancelář 31", "Sklad"});
        row("G7 none", [](ExchangeConfig &c) { c.G7U[2] = -1; },
            {"Nastavení", "G7, U3", "M1", ""});
        row("counter", [](ExchangeConfig &c) { c.Counters[8] = 10; },
            {"Nastavení", "GG, C8", "1", "10"});
        row("redirection", [](ExchangeConfig &c) { c.Services[2].Redirect = 8; },
            {"Služby", "Pobočka 23, Přesměrování", "vyp", "31"});
        row("call-back to a line", [](ExchangeConfig &c) { c.Services[15].BackRing = 19; },
            {"Služby", "Pobočka 38, Zpětné vyzvánění", "vyp", "94"});
        row("parking", [](ExchangeConfig &c) { c.Services[0].ParkTo[5] = true; },
            {"Služby", "Pobočka 21, Parkování 6", "ne", "ano"});
        row("short-dial number", [](ExchangeConfig &c) { c.ShortDialTable[5].Number = "0P1"; },
            {"Zkrácené volby", "Zkrácená volba 815, číslo", "", "0P1"});
        row("PE line beyond its list", [](ExchangeConfig &c) { c.PETable[5].Line = 9; },
            {"PE", "PE 05, státní", "vyp", "9"});
    }
    void oneChangedValueIsListed()
    {
        QFETCH(Change, change);
        QFETCH(QStringList, expected);
        const ExchangeConfig left = factoryConfig();
        ExchangeConfig right = left;
        change(right);
        const std::vector<Difference> differences = compareConfigs(left, right, BlockSet::all());
        QCOMPARE(differences.size(), std::size_t(1));
        const Difference &d = differences.front();
        QCOMPARE((QStringList {d.block, d.item, d.left, d.right}), expected);
    }

    void onlyTheGivenBlocksAndRealChangesCount()
    {
        ExchangeConfig right = factoryConfig();
        right.DayStart = " 6:00"; // the same time as "06:00"
        right.ShortDialTable[0].Comment = "x";
        QVERIFY(compareConfigs(factoryConfig(), right, {Block::Settings, Block::PE}).empty());
        QCOMPARE(compareConfigs(factoryConfig(), right, BlockSet::all()).size(), std::size_t(1));
    }
};

QTEST_APPLESS_MAIN(ComparisonTest)
#include "tst_comparison.moc"
