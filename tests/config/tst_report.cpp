#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/Numbering.h"
#include "config/Report.h"

#include <QFile>
#include <QStringDecoder>
#include <QTest>
#include <functional>

using namespace ornis;

namespace {

constexpr const char *FixedDate = "01.02.2024 10:20:30";

QString fromWindows1250(const std::string &text)
{
    QStringDecoder decoder("windows-1250");
    return decoder(QByteArray::fromStdString(text));
}

uint8_t &extensionCell(ExchangeConfig &config, int column, int row)
{
    return config.Grids.ExtensionGrid[ExtensionGridShape.cellIndex(column, row)];
}
uint8_t &globalLineCell(ExchangeConfig &config, int line, int row)
{
    return config.Grids.GlobalLineGrid[GlobalLineGridShape.cellIndex(line + 1, row)];
}
uint8_t &globalExtensionCell(ExchangeConfig &config, int extension, int row)
{
    const std::size_t index = GlobalExtensionGridShape.cellIndex(extension + 1, row);
    return config.Grids.GlobalExtensionGrid[index];
}

// One report line after a change to the factory configuration.
struct LineCase
{
    const char *name;
    std::function<void(ExchangeConfig &)> change;
    int page; // 1 or 2
    int line;
    const char *expected; // UTF-8
};

const std::vector<LineCase> &lineCases()
{
    static const std::vector<LineCase> cases {
        {"counters keep two digits",
            [](ExchangeConfig &c) {
                c.Counters[2] = 5;
                c.Counters[3] = 99;
            },
            2, 6, "GG:    20   15   05   99   60   30   30   05   01"},
        {"short dial 815",
            [](ExchangeConfig &c) {
                c.ShortDialTable[5] = {2, "123", "Office"};
            },
            2, 15, "815:  91  123........... Office      "},
        {"long comment cut to 11, right entry stays in its column",
            [](ExchangeConfig &c) {
                c.ShortDialTable[10] = {5, "12345678901234",
                    "Kancel\xE1\xF8 \xF8"
                    "editele"};
                c.ShortDialTable[50] = {1, "P5", "Sklad"};
            },
            2, 21,
            "820:  94  12345678901234 Kancelář ře     860:  0   P5............ Sklad       "},
        {"number longer than 14 gets no dots",
            [](ExchangeConfig &c) {
                c.ShortDialTable[89] = {3, "1234567890123456", ""};
            },
            2, 63,
            "859:  vyp ..............                 899:  92  1234567890123456             "},
        {"line index without an entry prints blanks",
            [](ExchangeConfig &c) {
                c.ShortDialTable[0].Line = -1;
                c.ShortDialTable[1].Line = 7;
            },
            2, 10, "810:      ..............             "},
        {"G2 DN and LP dash with three blanks",
            [](ExchangeConfig &c) {
                globalLineCell(c, 0, GlobalLineRow::LP) = 0;
                globalLineCell(c, 1, GlobalLineRow::LP) = 2;
            },
            1, 40, "LP:    -      16k   X     X  "},
        {"G2 texts",
            [](ExchangeConfig &c) {
                for (int l = 0; l < LineCount; ++l)
                    globalLineCell(c, l, GlobalLineRow::G2) = uint8_t(l);
            },
            1, 43, "G2:    -     D     N     DN"},
        {"bytes beyond their tables print the text of value 0",
            [](ExchangeConfig &c) {
                extensionCell(c, ExtensionColumn::Incoming91, 1) = 2;
                extensionCell(c, ExtensionColumn::Call, 1) = 7;
                extensionCell(c, ExtensionColumn::SevenN, 1) = 255;
            },
            1, 6, "21:    -O    IO    IO    IO    0-nn    -    -     -     Kancelář 21"},
        {"J values beyond J0",
            [](ExchangeConfig &c) {
                globalExtensionCell(c, 0, GlobalExtensionRow::G6J) = 11;
                globalExtensionCell(c, 15, GlobalExtensionRow::G6J) = 10;
            },
            1, 49, "G6:    -  J2 J3 J4 J5 J6 J7 J8 J9 J0 -  -  -  -  -  J0 "},
        {"row 00 shows every cell, also those the grid never shows",
            [](ExchangeConfig &c) {
                extensionCell(c, 1, ExtensionRowZeroZero) = 1;
                extensionCell(c, 12, ExtensionRowZeroZero) = 1;
                extensionCell(c, ExtensionColumn::Call, ExtensionRowZeroZero) = 3;
            },
            1, 22, "00:    I-    --    --    --    0-00    -    -     X     "},
        {"G7 choices",
            [](ExchangeConfig &c) {
                c.G7U = {9, -1, 10, 4};
            },
            1, 60, "G7:    M0            M5"},
        {"control characters in a comment print as blanks",
            [](ExchangeConfig &c) { c.DayRingComments[2] = "a\nb\fc"; }, 1, 28,
            "93:    -  -  -  -  -  -  -  -  X  -  -  -  -  -  -  -   a b c"},
    };
    return cases;
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT

private slots:
    void factoryReportMatchesGolden()
    {
        QFile golden(QStringLiteral(ORNIS_TEST_DATA "/report/factory.txt"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        const QStringList expected = QString::fromUtf8(golden.readAll()).split('\n');
        const Report report = buildReport(factoryConfig(), FixedDate);
        QCOMPARE(int(report.firstPage.size()), ReportFirstPageLines);
        QCOMPARE(int(report.secondPage.size()), ReportSecondPageLines);
        const QStringList actual = fromWindows1250(reportPlainText(report)).split('\n');
        QCOMPARE(actual.size(), expected.size());
        for (qsizetype i = 0; i < actual.size(); ++i)
            QCOMPARE(actual[i], expected[i]); // names the first line that differs
    }

    void lines_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < lineCases().size(); ++i)
            QTest::newRow(lineCases()[i].name) << int(i);
    }
    void lines()
    {
        QFETCH(int, index);
        const LineCase &c = lineCases()[std::size_t(index)];
        ExchangeConfig config = factoryConfig();
        c.change(config);
        const Report report = buildReport(config, FixedDate);
        const auto &page = c.page == 1 ? report.firstPage : report.secondPage;
        QCOMPARE(fromWindows1250(page.at(std::size_t(c.line))), QString::fromUtf8(c.expected));
        // Whatever the values, the pages keep their lines.
        QCOMPARE(int(report.firstPage.size()), ReportFirstPageLines);
        QCOMPARE(int(report.secondPage.size()), ReportSecondPageLines);
    }

    void dateLineTakesTheCallersTexts()
    {
        ExchangeConfig config = factoryConfig();
        config.DayStart = " 7:30";
        config.NightStart = "  :  ";
        const Report report = buildReport(config, "31.12.2009 23:59:59");
        QCOMPARE(report.firstPage[ReportDateLine], "31.12.2009 23:59:59    D =  7:30  N =   :  ");
    }
};

QTEST_APPLESS_MAIN(ReportTest)
#include "tst_report.moc"
