#include "ReportPrinter.h"

#include "ReportPainter.h"
#include "common/FilePath.h"
#include "config/FileBytes.h"
#include "ui/MainActions.h"
#include "ui/dialogs/AboutText.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/document/Document.h"
#include "ui/document/FileChooser.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <span>

namespace ornis {

namespace {

const QString PdfSuffix = QStringLiteral("pdf");
// A printer's usual unprintable border, so that a PDF looks like the printed pages.
constexpr qreal PdfMargin = 10; // mm

// The busy cursor for as long as it lives, whichever way the work ends.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

QString printerName(const QPrinter &printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

Status failure(const QString &message)
{
    return Status::failure(message.toStdString());
}

// A print queue and a PDF reader show it: "ORNIS SET – konfig.set".
QString documentTitle(const QString &fileName)
{
    if (fileName.isEmpty())
        return about::Name;
    return QStringLiteral("%1 – %2").arg(about::Name, QFileInfo(fileName).fileName());
}

} // namespace

ReportPrinter::ReportPrinter(Document &document, const MainActions &actions,
    const LocalClock &clock, FileChooser &chooser, QObject *parent)
    : QObject(parent)
    , document_(document)
    , clock_(clock)
    , chooser_(chooser)
{
    connect(actions.acPrint, &QAction::triggered, this, &ReportPrinter::print);
    connect(actions.acPrintPreview, &QAction::triggered, this, &ReportPrinter::preview);
    connect(actions.acExportPdf, &QAction::triggered, this, &ReportPrinter::exportPdf);
}

ReportPrinter::~ReportPrinter() = default;

QPrinter &ReportPrinter::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void ReportPrinter::print()
{
    document_.dialogs().choosePrinter(
        document_.dialogParent(), printer(), [this] { report(printOn(printer())); });
}

void ReportPrinter::preview()
{
    document_.dialogs().showPrintPreview(document_.dialogParent(), printer(),
        [this](QPrinter &target) { report(printOn(target)); });
}

void ReportPrinter::exportPdf()
{
    // "konfig.set" suggests "konfig.pdf".
    const QString fileName = document_.FileName();
    const QString suggested = fileName.isEmpty()
        ? QString()
        : QFileInfo(fileName).completeBaseName() + u'.' + PdfSuffix;
    const FileDialogSetup setup {FileDialogSetup::Kind::Save, QStringLiteral("Exportovat do PDF"),
        {}, {{QStringLiteral("Dokumenty PDF (*.pdf)"), PdfSuffix}}, suggested};
    chooser_.choose(FileUse::Pdf, setup, [this](const ChosenFile &file) {
        report(exportTo(withDefaultSuffix(file.path, PdfSuffix)));
    });
}

Status ReportPrinter::currentPages(ReportPages &pages)
{
    // The short dials print as the page shows them.
    document_.commitTypedEdits();
    return reportPages(document_.config(), clock_.now(), pages);
}

Status ReportPrinter::printOn(QPrinter &printer)
{
    const BusyCursor busy;
    ReportPages pages;
    if (Status status = currentPages(pages); !status.ok())
        return status;
    const QFont font = fittingReportFont(reportFont(), pages, printer);
    printer.setDocName(documentTitle(document_.FileName()));
    QPainter painter;
    if (!painter.begin(&printer))
        return failure(QStringLiteral("Cannot print on %1").arg(printerName(printer)));
    if (!paintReport(painter, pages, font, [&printer] { return printer.newPage(); })) {
        printer.abort();
        painter.end();
        return failure(QStringLiteral("Printing on %1 failed").arg(printerName(printer)));
    }
    if (!painter.end())
        return failure(QStringLiteral("Printing on %1 failed").arg(printerName(printer)));
    return Status::success();
}

Status ReportPrinter::exportTo(const QString &path)
{
    const BusyCursor busy;
    ReportPages pages;
    if (Status status = currentPages(pages); !status.ok())
        return status;
    const Status cannotCreate = failure(QStringLiteral("Cannot create file %1").arg(path));
    // The document is made in memory and written whole: a failure leaves any file of
    // that name as it was.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("ORNIS SET"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(PdfMargin, PdfMargin, PdfMargin, PdfMargin), QPageLayout::Millimeter));
        const QFont font = fittingReportFont(reportFont(), pages, writer);
        writer.setTitle(documentTitle(document_.FileName()));
        QPainter painter;
        if (!painter.begin(&writer))
            return cannotCreate;
        const bool painted
            = paintReport(painter, pages, font, [&writer] { return writer.newPage(); });
        if (!painter.end() || !painted)
            return cannotCreate;
    }
    const QByteArray &bytes = buffer.data();
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
    return writeFileAtomically(toFilePath(path), std::span(data, std::size_t(bytes.size())));
}

void ReportPrinter::report(const Status &status)
{
    if (!status.ok())
        document_.dialogs().showError(
            document_.dialogParent(), QString::fromStdString(status.message()));
}

} // namespace ornis
