#include "RecordingPaintDevice.h"
#include "WindowDriver.h"
#include "config/Report.h"
#include "tests/common/SampleConfig.h"
#include "ui/clock/ClockText.h"
#include "ui/dialogs/MessageBoxDialogs.h"
#include "ui/report/ReportPainter.h"

#include <QAction>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace ornis;

namespace {

const LocalDateTime PrintedAt {2024, 3, 9, 14, 5, 7};
constexpr qreal PointsPerInch = 72;

// The output of a poppler tool (the install script brings poppler-utils).
QString popplerOutput(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished() || process.exitCode() != 0)
        return QStringLiteral("%1 failed: %2").arg(tool, process.errorString());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Blanks and blank lines fall away: what is left must be on the paper in this order.
QStringList printedWords(const QStringList &lines)
{
    QStringList words;
    for (const QString &line : lines)
        words.append(line.simplified());
    words.removeAll(QString());
    return words;
}

QList<QStringList> pdfPages(const QString &path)
{
    QStringList pages
        = popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"})
              .split(u'\f');
    if (pages.size() > 1 && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QList<QStringList> words;
    for (const QString &page : pages)
        words.append(printedWords(page.split(u'\n')));
    return words;
}

} // namespace

class ReportPrinterTest : public QObject
{
    Q_OBJECT

private slots:
    // Every line of both pages at (5 w, (k + 2) h), inside the printable area of A4 and of
    // Letter, none over another, in every fixed-pitch font the machine has, at a screen's
    // and a printer's resolution: the font shrinks where it would not fit.
    void everyLineLiesOnThePaper_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QSizeF>("printable");
        QTest::addColumn<int>("dpi");
        // The paper less a printer's usual 10 mm border.
        const std::pair<const char *, QSizeF> papers[]
            = {{"A4", {190, 277}}, {"Letter", {195.9, 259.4}}};
        for (const QString &family : QFontDatabase::families()) {
            if (!QFontDatabase::isFixedPitch(family))
                continue;
            for (const auto &[paper, printable] : papers) {
                for (int dpi : {96, 600})
                    QTest::addRow("%s %s %d dpi", qPrintable(family), paper, dpi)
                        << family << printable << dpi;
            }
        }
    }
    void everyLineLiesOnThePaper()
    {
        QFETCH(QString, family);
        QFETCH(QSizeF, printable);
        QFETCH(int, dpi);
        ReportPages pages;
        QVERIFY(reportPages(testing::awayFromFactory(), PrintedAt, pages).ok());
        QCOMPARE(pages.first.size(), ReportFirstPageLines);
        QCOMPARE(pages.second.size(), ReportSecondPageLines);
        QVERIFY(pages.first[ReportDateLine].startsWith(clockText(PrintedAt)));

        RecordingPaintDevice device(dpi, printable);
        const QFont font = fittingReportFont(QFont(family, 10, QFont::Bold), pages, device);
        QPainter painter(&device);
        QVERIFY(paintReport(painter, pages, font, [&device] { return device.newPage(); }));
        painter.end();

        QCOMPARE(device.pages.size(), std::size_t(2));
        const QStringList *expected[] = {&pages.first, &pages.second};
        for (std::size_t p = 0; p < 2; ++p) {
            const auto &painted = device.pages[p];
            QCOMPARE(painted.size(), std::size_t(expected[p]->size()));
            const QFontMetricsF metrics(painted.front().font, &device);
            QCOMPARE(painted.front().font.pointSizeF(), font.pointSizeF());
            const qreal h = metrics.height();
            const qreal w = metrics.horizontalAdvance(u'M');
            QCOMPARE(metrics.horizontalAdvance(u'i'), w); // columns stand under their headings
            qreal previousBottom = 0;
            for (std::size_t k = 0; k < painted.size(); ++k) {
                const auto &line = painted[k];
                QCOMPARE(line.text, expected[p]->at(int(k)));
                QCOMPARE(line.baseline.x(), 5 * w);
                QCOMPARE(line.baseline.y(), (qreal(k) + 2) * h + metrics.ascent());
                QVERIFY(line.font.bold());
                const qreal top = line.baseline.y() - metrics.ascent();
                const qreal bottom = line.baseline.y() + metrics.descent();
                QVERIFY2(top >= previousBottom, qPrintable(line.text));
                QVERIFY2(bottom <= device.height(), qPrintable(line.text));
                QVERIFY2(
                    line.baseline.x() + metrics.horizontalAdvance(line.text) <= device.width(),
                    qPrintable(line.text));
                previousBottom = bottom;
            }
        }
    }

    // Where the machine has Courier New or a font of its metrics, A4 takes the report at
    // 10 points, as ever.
    void theReportKeepsTenPointsOnA4()
    {
        const QString family = QFontInfo(reportFont()).family();
        QVERIFY2(
            family == QLatin1String("Courier New") || family == QLatin1String("Liberation Mono"),
            qPrintable(family));
        ReportPages pages;
        QVERIFY(reportPages(testing::awayFromFactory(), PrintedAt, pages).ok());
        RecordingPaintDevice device(600);
        const QFont font = fittingReportFont(reportFont(), pages, device);
        QCOMPARE(font.pointSizeF(), 10.0);
        const qreal w = QFontMetricsF(font, &device).horizontalAdvance(u'M');
        QVERIFY(qAbs(w * PointsPerInch / 600 - 6) < 0.1);
    }

    // The report printed, previewed and exported: two pages each time, the busy cursor gone.
    void aLongCommentEndsAtThePagesEdge()
    {
        ExchangeConfig config = testing::awayFromFactory();
        ReportPages plain;
        QVERIFY(reportPages(config, {2024, 3, 9, 14, 5, 7}, plain).ok());
        config.ExtensionComments[0] = std::string(200, 'K');
        ReportPages pages;
        QVERIFY(reportPages(config, {2024, 3, 9, 14, 5, 7}, pages).ok());
        RecordingPaintDevice device(300);
        const QFont font = fittingReportFont(reportFont(), pages, device);
        // The comment is cut, not the type made smaller for it.
        QCOMPARE(font, fittingReportFont(reportFont(), plain, device));
        QPainter painter(&device);
        QVERIFY(paintReport(painter, pages, font, [&device] { return device.newPage(); }));
        painter.end();
        const QFontMetricsF metrics(font, &device);
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
        w.hold(testing::awayFromFactory());
        dialogs.chosenFiles = {w.path(QStringLiteral("konfig.set")), w.path("report")};
        w.actions().acSaveAs->trigger();
        dialogs.printTo = pdf;
        w.control<QAction>(action).trigger();

        QVERIFY(dialogs.errors.isEmpty());
        QVERIFY(!QApplication::overrideCursor());
        // Both pages whole on the paper, and the document named by the file the window holds.
        ReportPages pages;
        QVERIFY(reportPages(w.config(), w.fixture.clock.time, pages).ok());
        const QList<QStringList> printed = pdfPages(pdf);
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed[0], printedWords(pages.first));
        QCOMPARE(printed[1], printedWords(pages.second));
        const QString info = popplerOutput(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QStringLiteral("ORNIS SET – konfig.set")), qPrintable(info));
        if (action == QLatin1String("acExportPdf")) {
            QCOMPARE(dialogs.fileDialogs.last().folder, w.folder.path());
            QCOMPARE(dialogs.fileDialogs.last().types.value(0).suffix, QStringLiteral("pdf"));
            QCOMPARE(dialogs.fileDialogs.last().name, QStringLiteral("konfig.pdf"));
        }
    }

    // The report's lines are read at the page's width, not as a whole page in a corner.
    void thePreviewOpensAtPageWidth()
    {
        QWidget window;
        QPrinter printer;
        MessageBoxDialogs().showPrintPreview(&window, printer, [](QPrinter &) {});
        auto *preview = window.findChild<QPrintPreviewWidget *>();
        QVERIFY(preview);
        QCOMPARE(preview->zoomMode(), QPrintPreviewWidget::FitToWidth);
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
