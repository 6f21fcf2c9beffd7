#pragma once

#include "config/Status.h"

#include <QObject>
#include <QString>
#include <memory>

class QPrinter;

namespace ornis {

class Document;
class FileChooser;
class LocalClock;
struct MainActions;
struct ReportPages;

// Prints the report of the window's configuration, shows its preview and exports it as a
// PDF document, all painted alike and titled by the file the window holds.
class ReportPrinter final : public QObject
{
    Q_OBJECT

public:
    ReportPrinter(Document &document, const MainActions &actions, const LocalClock &clock,
        FileChooser &chooser, QObject *parent);
    ~ReportPrinter() override;

    // acPrint, acPrintPreview, acExportPdf
    void print();
    void preview();
    void exportPdf();

private:
    // The printer keeps the user's choices from one print to the next.
    [[nodiscard]] QPrinter &printer();
    [[nodiscard]] Status currentPages(ReportPages &pages);
    [[nodiscard]] Status printOn(QPrinter &printer);
    [[nodiscard]] Status exportTo(const QString &path);
    void report(const Status &status);

    Document &document_;
    const LocalClock &clock_;
    FileChooser &chooser_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace ornis
