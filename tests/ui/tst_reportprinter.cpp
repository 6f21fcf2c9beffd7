#include "RecordingPaintDevice.h"
#include "WindowDriver.h"
#include "config/Report.h"
#include "tests/common/SampleConfig.h"
#include "ui/ReportPainter.h"
#include "ui/support/ClockText.h"

#include <QAction>
#include <QDir>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace ornis;

namespace {

constexpr qreal PointsPerInch = 72;
constexpr qreal A4HeightPoints = 842;
constexpr qreal PrinterBorderPoints = 28; // 10 mm at the top and at the bottom

int pdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(file.readAll()).count(page));
}

} // namespace

class ReportPrinterTest : public QObject
{
    Q_OBJECT

private slots:
    // Every line of both pages, at (5 w, (k + 2) h), whatever the printer's resolution.
    void theLinesStandAtTheirPositions_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("screen") << 96;
        QTest::newRow("printer") << 600;
    }
    void theLinesStandAtTheirPositions()
    {
        QFETCH(int, dpi);
        const LocalDateTime printedAt {2024, 3, 9, 14, 5, 7};
        ReportPages pages;
        QVERIFY(reportPages(testing::awayFromFactory(), printedAt, pages).ok());
        QCOMPARE(pages.first.size(), ReportFirstPageLines);
        QCOMPARE(pages.second.size(), ReportSecondPageLines);
        QVERIFY(pages.first[ReportDateLine].startsWith(clockText(printedAt)));

        RecordingPaintDevice device(dpi);
        QPainter painter(&device);
        QVERIFY(paintReport(painter, pages, [&device] { return device.newPage(); }));
        painter.end();

        const QFontMetricsF metrics(reportFont(), &device);
        const qreal h = metrics.height();
        const qreal w = metrics.horizontalAdvance(u'M');
        QCOMPARE(metrics.horizontalAdvance(u'i'), w); // columns stand under their headings
        const qreal points = PointsPerInch / dpi;
        QVERIFY(w * points > 5.5 && w * points < 6.5); // 10 pt type
        // The last line of the second page ends inside A4 less a printer's border.
        QVERIFY(
            (ReportSecondPageLines + 2) * h * points < A4HeightPoints - 2 * PrinterBorderPoints);

        QCOMPARE(device.pages.size(), std::size_t(2));
        const QStringList *expected[] = {&pages.first, &pages.second};
        for (std::size_t p = 0; p < 2; ++p) {
            const auto &painted = device.pages[p];
            QCOMPARE(painted.size(), std::size_t(expected[p]->size()));
            for (std::size_t k = 0; k < painted.size(); ++k) {
                QCOMPARE(painted[k].text, expected[p]->at(int(k)));
                QCOMPARE(painted[k].baseline.x(), 5 * w);
                QCOMPARE(painted[k].baseline.y(), (qreal(k) + 2) * h + metrics.ascent());
                QVERIFY(painted[k].font.bold());
            }
        }
    }

    // The report printed, previewed and exported: two pages each time, the busy cursor gone.
    void aLongCommentEndsAtThePagesEdge()
    {
        ExchangeConfig config = testing::awayFromFactory();
        config.ExtensionComments[0] = std::string(200, 'K');
        ReportPages pages;
        QVERIFY(reportPages(config, {2024, 3, 9, 14, 5, 7}, pages).ok());
        RecordingPaintDevice device(300);
        QPainter painter(&device);
        QVERIFY(paintReport(painter, pages, [&device] { return device.newPage(); }));
        painter.end();
        const QFontMetricsF metrics(reportFont(), &device);
        const auto &line = device.pages[0][6]; // extension 21
        QVERIFY(pages.first[6].startsWith(line.text));
        QVERIFY(line.text.endsWith(u'K'));
        QVERIFY(line.baseline.x() + metrics.horizontalAdvance(line.text) <= device.width());
        QVERIFY(line.baseline.x() + metrics.horizontalAdvance(line.text + u'K') > device.width());
        QCOMPARE(device.pages[0][7].text, pages.first[7]); // the lines that fit stay whole
    }

    void printPreviewAndExportMakeTwoPages_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("print") << "acPrint";
        QTest::newRow("preview") << "acPrintPreview";
        QTest::newRow("PDF") << "acExportPdf";
    }
    void printPreviewAndExportMakeTwoPages()
    {
        QFETCH(QString, action);
        WindowDriver w([](WindowDriver &d) { d.fixture.fileFolder = d.folder.path(); });
        const QString pdf = w.path(QStringLiteral("report.pdf"));
        ScriptedDialogs &dialogs = w.fixture.dialogs;
        dialogs.printTo = pdf;
        dialogs.chosenFiles = {w.path(QStringLiteral("report"))};
        w.config() = testing::awayFromFactory();
        w.control<QAction>(action).trigger();

        QVERIFY(dialogs.errors.isEmpty());
        QCOMPARE(pdfPages(pdf), 2);
        QVERIFY(!QApplication::overrideCursor());
        if (action == QLatin1String("acExportPdf")) {
            QCOMPARE(dialogs.fileDialogs.first().folder, w.folder.path());
            QCOMPARE(dialogs.fileDialogs.first().defaultSuffix, QStringLiteral("pdf"));
        }
    }

    // Nothing is printed, whether the user cancelled or the printing failed.
    void nothingIsPrintedOnCancelOrFailure_data()
    {
        QTest::addColumn<QString>("printTo");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << QString() << QString();
        QTest::newRow("folder missing") << "missing/report.pdf"
                                        << "Cannot print on %1";
    }
    void nothingIsPrintedOnCancelOrFailure()
    {
        QFETCH(QString, printTo);
        QFETCH(QString, message);
        WindowDriver w;
        const QString target = printTo.isEmpty() ? QString() : w.path(printTo);
        w.fixture.dialogs.printTo = target;
        w.actions().acPrint->trigger();

        QCOMPARE(w.fixture.dialogs.printDialogs, 1);
        const QStringList errors
            = message.isEmpty() ? QStringList() : QStringList(message.arg(target));
        QCOMPARE(w.errors(), errors);
        QCOMPARE(QDir(w.folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList());
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(ReportPrinterTest)
#include "tst_reportprinter.moc"
