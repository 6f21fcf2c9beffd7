#include "common/DialTableXlsx.h"
#include "common/XlsxSheet.h"
#include "common/ZipArchive.h"
#include "config/FactoryDefaults.h"
#include "tests/common/DialTables.h"

#include <QTemporaryDir>
#include <QTest>
#include <minizip/zip.h>
#include <optional>
#include <ranges>
#include <zlib.h>

using namespace ornis;

namespace {

struct Part
{
    const char *name;
    QByteArray bytes;
    std::optional<uLong> claimedSize = std::nullopt; // stored as it is, its size told wrong
};

QByteArray zipOf(const std::vector<Part> &parts)
{
    QTemporaryDir folder;
    const QByteArray path = folder.filePath("w.zip").toLocal8Bit();
    zipFile zip = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    for (const Part &part : parts) {
        const bool raw = part.claimedSize.has_value();
        zipOpenNewFileInZip2_64(zip, part.name, nullptr, nullptr, 0, nullptr, 0, nullptr,
            raw ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION, raw, 0);
        zipWriteInFileInZip(zip, part.bytes.constData(), unsigned(part.bytes.size()));
        if (raw) {
            const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(part.bytes.constData()),
                uInt(part.bytes.size()));
            zipCloseFileInZipRaw64(zip, *part.claimedSize, crc);
        } else {
            zipCloseFileInZip(zip);
        }
    }
    zipClose(zip, nullptr);
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A workbook of one sheet as a spreadsheet writes it, with `rows` in its <sheetData> and
// `texts` (<si> elements) as its shared texts.
QByteArray workbook(const QByteArray &rows, const QByteArray &texts = {},
    std::optional<uLong> claimedSheetSize = std::nullopt, const QByteArray &prolog = {})
{
    const QByteArray ns = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
                          R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/)"
                          R"(relationships")";
    const QByteArray rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    return zipOf({
        {"_rels/.rels",
            "<Relationships><Relationship Id=\"rId1\" Type=\"" + rels
                + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
            "<workbook " + ns + "><sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId7\"/>"
                + "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
            "<Relationships><Relationship Id=\"rId3\" Type=\"" + rels
                + "/sharedStrings\" Target=\"/xl/sharedStrings.xml\"/><Relationship "
                  "Id=\"rId7\" Type=\""
                + rels + "/worksheet\" Target=\"worksheets/../worksheets/s.xml\"/>"
                + "</Relationships>"},
        {"xl/sharedStrings.xml", "<sst " + ns + ">" + texts + "</sst>"},
        {"xl/worksheets/s.xml",
            prolog + "<worksheet " + ns + "><sheetData>" + rows + "</sheetData></worksheet>",
            claimedSheetSize},
    });
}

QString problems(const DialRows &rows)
{
    return dialRowProblemLines("f.xlsx", rows).join('\n');
}

} // namespace

class TestDialTableXlsx : public QObject
{
    Q_OBJECT

private slots:
    // Every Číslo a text cell in a column formatted as text; the same table, the same bytes;
    // what a workbook holds comes back.
    void outAndBackGivesTheTables()
    {
        for (quint32 seed = 1; seed <= 4; ++seed) {
            ExchangeConfig config = testing::randomDialTables(seed);
            config.ShortDialTable[7].Comment = "_x0041_ \x01"; // a text that looks escaped
            for (const Block table : {Block::ShortDials, Block::PE}) {
                QByteArray file;
                QVERIFY(dialTableXlsx(config, table, file).ok());
                QByteArray again;
                QVERIFY(dialTableXlsx(config, table, again).ok());
                QCOMPARE(again, file);
                const DialRows rows = readDialXlsx(file);
                QVERIFY2(rows.problems.empty(), qPrintable(problems(rows)));
                QCOMPARE(rows.table, table);
                QCOMPARE(int(rows.rows.size()), dialRecordCount(table));
                ExchangeConfig back = factoryConfig();
                applyDialRows(back, rows);
                QVERIFY(dialTableXlsx(back, table, again).ok());
                QCOMPARE(again, file); // a line outside the list is written as none

                const Sheet sheet = readXlsxSheet(file);
                for (const SheetRow &row : sheet.rows | std::views::drop(1)) {
                    for (const SheetCell &cell : row.cells)
                        QCOMPARE(cell.number, cell.column == 0);
                }
                ZipArchive zip(file);
                QByteArray styles;
                QVERIFY(zip.read("xl/styles.xml", 1 << 20, styles).ok());
                QVERIFY(styles.contains(R"(formatCode="@")"));
            }
        }
    }

    // Text as shared, inline and formula cells, runs of rich text without their phonetic
    // guide, escapes, cells without a name, and the header on a later row.
    void readsEveryKindOfTextCell()
    {
        const DialRows rows = readDialXlsx(
            workbook(R"(<row r="2"><c r="A2" t="s"><v>0</v></c><c t="s"><v>1</v></c>)"
                     R"(<c t="inlineStr"><is><t>Kom</t><r><t>entář</t></r></is></c></row>)"
                     R"(<row><c><v>812</v></c><c t="str"><f>"0224"</f><v>0224</v></c>)"
                     R"(<c r="C3" t="s"><v>2</v></c></row>)",
                R"(<si><t>Volba</t></si><si><t>Číslo</t></si>)"
                R"(<si><r><t>a_x000D_</t></r><r><t xml:space="preserve">
b</t></r><rPh><t>x</t></rPh></si>)"));
        QVERIFY2(rows.problems.empty(), qPrintable(problems(rows)));
        ExchangeConfig config = factoryConfig();
        applyDialRows(config, rows);
        ExchangeConfig expected = factoryConfig();
        expected.ShortDialTable[2].Number = "0224";
        expected.ShortDialTable[2].Comment = "a\r\nb";
        QVERIFY(config == expected);
    }

    void namesWhatKeepsAWorkbookFromBeingRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("problems");
        const QByteArray header = R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)";
        const QByteArray volba = "<si><t>Volba</t></si>";
        QTest::newRow("no zip") << QByteArray("Volba;Číslo\r\n")
                                << "f.xlsx: is no workbook (no zip archive)";
        QTest::newRow("shared text past the last")
            << workbook(header + R"(<row r="2"><c r="A2" t="s"><v>1</v></c></row>)", volba)
            << "f.xlsx:2: cell A2 names shared text \"1\" of 1";
        QTest::newRow("cell of another row")
            << workbook(header + R"(<row r="2"><c r="B3"><v>1</v></c></row>)", volba)
            << "f.xlsx:2: cell B3 stands out of its place in row 2";
        QTest::newRow("cell left of the one before")
            << workbook(R"(<row r="1"><c r="B1"/><c r="A1"/></row>)")
            << "f.xlsx:1: cell A1 stands out of its place in row 1";
        QTest::newRow("no cell of a sheet") << workbook(R"(<row><c r="ZZZZ1"/></row>)")
                                            << "f.xlsx:1: \"ZZZZ1\" is no cell of a sheet";
        QTest::newRow("rows out of order") << workbook(R"(<row r="3"/><row r="2"/>)")
                                           << "f.xlsx:3: row \"2\" does not follow "
                                              "row 3";
        QTest::newRow("document type")
            << workbook(header, volba, std::nullopt, "<!DOCTYPE x [<!ENTITY a \"aaaa\">]>")
            << "f.xlsx: the sheet is no XML: declares a document type";
        QTest::newRow("zip bomb") << workbook(header + QByteArray(9 << 20, ' '), volba)
                                  << "f.xlsx: xl/worksheets/s.xml unpacks to more than 8192 KiB";
        QTest::newRow("size told wrong")
            << workbook(header, volba, 20) << "f.xlsx: xl/worksheets/s.xml is damaged";
        QTest::newRow("rows named as in CSV")
            << workbook(R"(<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c></row>)"
                        R"(<row><c><v>810</v></c><c><v>224810111</v></c></row>)"
                        R"(<row><c><v>811</v></c><c r="D3" t="s"><v>0</v></c></row>)"
                        R"(<row><c><v>900</v></c></row>)",
                   volba + "<si><t>Číslo</t></si>")
            << "f.xlsx:2: column \"Číslo\": \"224810111\" is a spreadsheet's number: leading "
               "zeros may be lost (keep the column as text)\n"
               "f.xlsx:3: cell D3 lies past the header's columns\n"
               "f.xlsx:4: column \"Volba\": \"900\" is no short dial (810-899)";
        QTest::newRow("empty sheet") << workbook({}) << "f.xlsx:1: no header";
    }

    void namesWhatKeepsAWorkbookFromBeingRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, problems);
        QCOMPARE(::problems(readDialXlsx(file)), problems);
    }
};

QTEST_GUILESS_MAIN(TestDialTableXlsx)
#include "tst_dialtablexlsx.moc"
