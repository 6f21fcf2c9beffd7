#include "config/FieldTable.h"
#include "config/GridCells.h"
#include "tests/common/SampleConfig.h"

#include <QTest>
#include <cstring>

using namespace ornis;

Q_DECLARE_METATYPE(ornis::SettingsGrid)
Q_DECLARE_METATYPE(ornis::CellKind)

namespace {

uint8_t &cellByte(ExchangeConfig &config, SettingsGrid grid, int column, int row)
{
    return gridBytes(config, grid)[gridRules(grid).shape.cellIndex(column, row)];
}

// A click on the cell, as the page's binding makes it: false when it changes nothing.
bool pressCell(ExchangeConfig &config, SettingsGrid grid, int column, int row)
{
    const std::optional<uint8_t> value = pressedValue(config, grid, column, row);
    if (value)
        cellByte(config, grid, column, row) = *value;
    return value.has_value();
}

QString shownText(const ExchangeConfig &config, SettingsGrid grid, int column, int row)
{
    const auto text = cellText(config, grid, column, row);
    return text ? QString::fromLatin1(text->data(), qsizetype(text->size())) : QString();
}

} // namespace

class GridRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void clicksFollowTheCycles_data()
    {
        QTest::addColumn<SettingsGrid>("grid");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("texts"); // after each click, separated by '|'
        using enum SettingsGrid;
        QTest::newRow("Call of row 00") << Extension << 9 << 17 << 0 << "0-9n|0-0n|0-00|0-nn";
        QTest::newRow("7n of row 00") << Extension << 11 << 17 << 0 << "X|";
        QTest::newRow("L from stray 200") << GlobalExtension << 5 << 4 << 200 << "L3|L4";
        QTest::newRow("J from 255") << GlobalExtension << 16 << 3 << 255 << "J3";
        QTest::newRow("GE for MIRA") << GlobalExtension << 16 << 7 << 0 << "X|";
        QTest::newRow("LP from stray 7") << GlobalLine << 4 << 1 << 7 << "16k|";
        QTest::newRow("LP from 255") << GlobalLine << 1 << 1 << 255 << "X";
        QTest::newRow("G2") << GlobalLine << 3 << 4 << 0 << "D|N|DN|";
        QTest::newRow("Call from 255") << Extension << 9 << 16 << 255 << "0-nn";
        QTest::newRow("day ring stray 2") << DayRing << 1 << 1 << 2 << "X|";
        QTest::newRow("night ring stray 3") << NightRing << 16 << 4 << 3 << "|X";
    }
    void clicksFollowTheCycles()
    {
        QFETCH(SettingsGrid, grid);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, start);
        QFETCH(QString, texts);
        ExchangeConfig config = factoryConfig();
        cellByte(config, grid, column, row) = uint8_t(start);
        QStringList shown;
        for (qsizetype i = 0; i < texts.split(u'|').size(); ++i) {
            QVERIFY(pressCell(config, grid, column, row));
            shown.append(shownText(config, grid, column, row));
        }
        QCOMPARE(shown.join(u'|'), texts);
    }

    void pressesThatChangeNothing_data()
    {
        QTest::addColumn<SettingsGrid>("grid");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("model");
        using enum SettingsGrid;
        QTest::newRow("beyond the last column") << Extension << 13 << 1 << 0;
        QTest::newRow("beyond the last row") << GlobalLine << 1 << 5 << 0;
        QTest::newRow("row 00, column 91") << Extension << 1 << 17 << 0;
        QTest::newRow("row 00, column 00") << Extension << 12 << 17 << 0;
        QTest::newRow("GE for VEGA") << GlobalExtension << 1 << 7 << 1;
        QTest::newRow("GE for VEGA X") << GlobalExtension << 16 << 7 << 2;
        QTest::newRow("GE without a model") << GlobalExtension << 8 << 7 << -1;
    }
    void pressesThatChangeNothing()
    {
        QFETCH(SettingsGrid, grid);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, model);
        ExchangeConfig config = testing::awayFromFactory(model);
        const ExchangeConfig before = config;
        QVERIFY(!pressCell(config, grid, column, row));
        QCOMPARE(config, before);
    }

    // The cell's byte index in the 460-byte area, as the settings file stores it.
    void aPressChangesTheByteAtItsIndex_data()
    {
        QTest::addColumn<SettingsGrid>("grid");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("offset");
        using enum SettingsGrid;
        QTest::newRow("21, incoming 91") << Extension << 1 << 1 << 0;
        QTest::newRow("28, Call") << Extension << 9 << 8 << 7 * 12 + 8;
        QTest::newRow("row 00, 7n") << Extension << 11 << 17 << 202;
        QTest::newRow("day 91 at 21") << DayRing << 1 << 1 << 204;
        QTest::newRow("day 94 at 38") << DayRing << 16 << 4 << 267;
        QTest::newRow("night 92 at 31") << NightRing << 9 << 2 << 268 + 16 + 8;
        QTest::newRow("G2 of 94") << GlobalLine << 4 << 4 << 347;
        QTest::newRow("G3 of 21") << GlobalExtension << 1 << 1 << 348;
        QTest::newRow("GE of 38") << GlobalExtension << 16 << 7 << 459;
    }
    void aPressChangesTheByteAtItsIndex()
    {
        QFETCH(SettingsGrid, grid);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, offset);
        ExchangeConfig config = factoryConfig();
        uint8_t before[sizeof(GridArea)];
        std::memcpy(before, &config.Grids, sizeof before);
        QVERIFY(pressCell(config, grid, column, row));
        uint8_t after[sizeof(GridArea)];
        std::memcpy(after, &config.Grids, sizeof after);
        QList<int> changed;
        for (int i = 0; i < int(sizeof(GridArea)); ++i) {
            if (before[i] != after[i])
                changed.append(i);
        }
        QCOMPARE(changed, QList<int> {offset});
    }

    // Each grid is one field of the configuration, element by element: the field table
    // has as many elements as the grid cells, and every cell's value is its byte.
    void eachGridIsOneField()
    {
        const ExchangeConfig config = testing::awayFromFactory();
        for (int g = 0; g < SettingsGridCount; ++g) {
            const auto grid = SettingsGrid(g);
            const GridRules &rules = gridRules(grid);
            QCOMPARE(gridOfField(rules.field), std::optional(grid));
            QCOMPARE(std::size_t(fieldRow(rules.field).count), rules.shape.size());
            for (int row = 1; row <= rules.shape.rows; ++row) {
                for (int column = 1; column <= rules.shape.columns; ++column) {
                    QCOMPARE(integerValue(config, cellRef(grid, column, row)),
                        int64_t(gridBytes(config, grid)[rules.shape.cellIndex(column, row)]));
                }
            }
        }
        QVERIFY(!gridOfField(Field::Counter));
    }

    void bytesOutsideTheValueSetHaveNoText_data()
    {
        QTest::addColumn<CellKind>("kind");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text"); // null: no text, the cell keeps the one it had
        using enum CellKind;
        QTest::newRow("Call 4") << Call << 4 << QString();
        QTest::newRow("mark 2") << Mark << 2 << QString();
        QTest::newRow("LP 3") << LP << 3 << QString();
        QTest::newRow("J 10 is J0") << J << 10 << "J0";
        QTest::newRow("J 11") << J << 11 << QString();
        QTest::newRow("L 255") << L << 255 << QString();
        QTest::newRow("not in use") << Unused << 0 << QString();
    }
    void bytesOutsideTheValueSetHaveNoText()
    {
        QFETCH(CellKind, kind);
        QFETCH(int, value);
        QFETCH(QString, text);
        const auto shown = cellValueText(kind, uint8_t(value));
        QCOMPARE(shown.has_value(), !text.isNull());
        if (shown)
            QCOMPARE(QString::fromLatin1(shown->data(), qsizetype(shown->size())), text);
    }
};

QTEST_APPLESS_MAIN(GridRulesTest)
#include "tst_gridrules.moc"
