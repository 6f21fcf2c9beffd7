#include "common/DialTableCsv.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "tests/common/DialTables.h"

#include <QTest>

using namespace ornis;

Q_DECLARE_METATYPE(ornis::Block)

class TestDialTableCsv : public QObject
{
    Q_OBJECT

private slots:
    void outAndBackIsByteIdentical()
    {
        for (quint32 seed = 1; seed <= 20; ++seed) {
            const ExchangeConfig config = testing::randomDialTables(seed);
            for (const Block table : {Block::ShortDials, Block::PE}) {
                const std::optional<QByteArray> csv = dialTableCsv(config, table);
                QVERIFY(csv && csv->startsWith("\xEF\xBB\xBF"));
                const DialRows rows = readDialRows(*csv);
                QVERIFY2(
                    rows.problems.empty(), qPrintable(dialRowProblemLines("", rows).join('\n')));
                QCOMPARE(rows.table, table);
                QCOMPARE(int(rows.rows.size()), dialRecordCount(table));
                ExchangeConfig back = factoryConfig();
                applyDialRows(back, rows);
                QCOMPARE(dialTableCsv(back, table), csv);
            }
        }
    }

    // Digits alone are what a spreadsheet takes for a value; a 'P' keeps a number text.
    void numbersOfDigitsAreWrittenAsTextFormulas()
    {
        ExchangeConfig config = factoryConfig();
        config.PETable[1].Number = "0224810111";
        config.PETable[2].Number = "0P12";
        const QByteArray csv = dialTableCsv(config, Block::PE).value();
        QVERIFY(csv.contains("\r\n00;vyp;\r\n01;vyp;=\"0224810111\"\r\n02;vyp;0P12\r\n"));
    }

    void readsEachSeparatorAndEncoding_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Block>("table");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("number"); // Windows-1250, as the model keeps it
        QTest::addColumn<QByteArray>("comment");
        QTest::newRow("semicolon, UTF-8 with BOM, CR LF")
            << QByteArray("\xEF\xBB\xBFVolba;Státní;Číslo;Komentář\r\n815;91;123;Kancelář\r\n")
            << Block::ShortDials << 5 << 2 << QByteArray("123") << QByteArray("Kancel\xE1\xF8");
        QTest::newRow("comma, no BOM, quoted separator and quote")
            << QByteArray("Komentář,Volba\n\"a,\"\"b\"\"\",899\n") << Block::ShortDials << 89 << 0
            << QByteArray() << QByteArray("a,\"b\"");
        QTest::newRow("tab, Windows-1250, line break in quotes")
            << QByteArray("Volba\tKoment\xE1\xF8\n810\t\"\xC8\x61\r\nb\"\n") << Block::ShortDials
            << 0 << 0 << QByteArray() << QByteArray("\xC8\x61\r\nb");
        QTest::newRow("PE, one-digit record, empty line")
            << QByteArray("Záznam;Číslo;Státní\n7;0P12;95\n\n") << Block::PE << 7 << 6
            << QByteArray("0P12") << QByteArray();
        QTest::newRow("number kept text by a formula; a quote inside a field")
            << QByteArray("Volba;Číslo;Komentář\n811;=\"0224810111\";a\"b\n") << Block::ShortDials
            << 1 << 0 << QByteArray("0224810111") << QByteArray("a\"b");
        QTest::newRow("the formula in quotes")
            << QByteArray("Záznam,Číslo\n00,\"=\"\"00420\"\"\"\n") << Block::PE << 0 << 0
            << QByteArray("00420") << QByteArray();
        QTest::newRow("empty line text is no entry")
            << QByteArray("Volba;Státní\n830;\n") << Block::ShortDials << 20 << -1 << QByteArray()
            << QByteArray();
    }

    void readsEachSeparatorAndEncoding()
    {
        QFETCH(QByteArray, text);
        QFETCH(Block, table);
        QFETCH(int, record);
        QFETCH(int, line);
        QFETCH(QByteArray, number);
        QFETCH(QByteArray, comment);
        const DialRows rows = readDialRows(text);
        QVERIFY2(rows.problems.empty(), qPrintable(dialRowProblemLines("", rows).join('\n')));
        QCOMPARE(rows.table, table);
        QCOMPARE(rows.rows.size(), std::size_t(1));
        ExchangeConfig config = factoryConfig();
        applyDialRows(config, rows);
        ExchangeConfig expected = factoryConfig();
        if (table == Block::PE) {
            expected.PETable[std::size_t(record)] = {line, number.toStdString()};
        } else {
            expected.ShortDialTable[std::size_t(record)]
                = {line, number.toStdString(), comment.toStdString()};
        }
        QVERIFY(config == expected);
    }

    void listsEveryBadRowWithItsLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("bad values")
            << QByteArray("Volba;Státní;Číslo;Komentář\n"
                          "815;91;12a4;x\n"
                          "816;95;1;x\n"
                          "900;0;;\n"
                          "815;0;;\n"
                          "817;0;123456789012345;\n"
                          "818;0;;Gruß ☎\n"
                          "819;0\n")
            << QStringList {
                   "f.csv:2: column \"Číslo\": \"12a4\" is no number (0-9 and P, at most 14)",
                   "f.csv:3: column \"Státní\": \"95\" is not in the list (vyp, 0, 91, 92, 93, "
                   "94)",
                   "f.csv:4: column \"Volba\": \"900\" is no short dial (810-899)",
                   "f.csv:5: column \"Volba\": \"815\" is given twice (also on line 2)",
                   "f.csv:6: column \"Číslo\": \"123456789012345\" is no number (0-9 and P, at "
                   "most 14)",
                   "f.csv:7: column \"Komentář\": \"Gruß ☎\" has a character Windows-1250 "
                   "cannot hold",
                   "f.csv:8: has 2 fields, not 4"};
        QTest::newRow("numbers a spreadsheet made of the digits")
            << QByteArray("Záznam;Číslo\n01;2.24810111E+08\n02;224810111,00\n03;=\"1E5\"\n")
            << QStringList {"f.csv:2: column \"Číslo\": \"2.24810111E+08\" is a spreadsheet's "
                            "number: leading zeros may be lost (keep the column as text)",
                   "f.csv:3: column \"Číslo\": \"224810111,00\" is a spreadsheet's number: "
                   "leading zeros may be lost (keep the column as text)",
                   "f.csv:4: column \"Číslo\": \"1E5\" is a spreadsheet's number: leading "
                   "zeros may be lost (keep the column as text)"};
        QTest::newRow("PE record outside, quoted line break counts")
            << QByteArray("Záznam;Číslo\n\"1\n\";1\n100;1\n")
            << QStringList {"f.csv:2: column \"Záznam\": \"1\n\" is no record (00-99)",
                   "f.csv:4: column \"Záznam\": \"100\" is no record (00-99)"};
        QTest::newRow("no dial number column") << QByteArray(
            "Státní;Číslo\n") << QStringList {"f.csv:1: no column \"Volba\" or \"Záznam\""};
        QTest::newRow("unknown and doubled columns")
            << QByteArray("Záznam;Komentář;Číslo;Číslo\n")
            << QStringList {"f.csv:1: column \"Komentář\" is unknown (Záznam, Státní, Číslo)",
                   "f.csv:1: column \"Číslo\" is given twice"};
        QTest::newRow("unclosed quote") << QByteArray("Volba\n810\n\"811\n")
                                        << QStringList {"f.csv:3: a quoted field is not closed"};
        QTest::newRow("empty file") << QByteArray() << QStringList {"f.csv:1: no header"};
    }

    void listsEveryBadRowWithItsLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, problems);
        QCOMPARE(dialRowProblemLines("f.csv", readDialRows(text)), problems);
    }

    void pastedRowsGoByNumberOrFromTheFocusedRow()
    {
        const std::vector<int> rows {58, 59, 80}; // rows down a PE tab, not all adjacent
        const DialRows bare
            = readPastedDialRows("91\t5\r\n\t\r\n95\t1\r\nvyp\t6\r\n", Block::PE, rows);
        QCOMPARE(dialRowProblemLines("Schránka", bare),
            QStringList {"Schránka:4: lies past the last row"});
        QCOMPARE(bare.rows.size(), std::size_t(3));
        QCOMPARE(bare.rows[2].record, 80);
        QCOMPARE(bare.rows[2].line, 6);
        QCOMPARE(bare.rows[1].line, -1);
        const DialRows headed = readPastedDialRows("Záznam\tČíslo\r\n07\t1\r\n", Block::PE, rows);
        QCOMPARE(headed.rows.size(), std::size_t(1));
        QCOMPARE(headed.rows[0].record, 7);
        QCOMPARE(dialRowProblemLines("S", readPastedDialRows("Volba\n810\n", Block::PE, rows)),
            QStringList {"S:1: holds the rows of the other table"});
    }
};

QTEST_GUILESS_MAIN(TestDialTableCsv)
#include "tst_dialtablecsv.moc"
