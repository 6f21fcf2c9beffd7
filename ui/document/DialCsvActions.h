#pragma once

#include "config/Blocks.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;

namespace ornis {

class Document;
class FileChooser;
struct DialRows;

// Sets the rows in the configuration as one step of the history named `text`, once no
// transfer runs; every view shows the result.
void takeDialRows(Document &document, const DialRows &rows, const QString &text);

// acImportCsv and acExportCsv: the table of the page in view (the PE records on "PE", the
// short dials on every other page) to and from a spreadsheet's CSV file. An import sets the
// rows the file lists and keeps the others; a file with any bad row changes nothing and
// lists them all in the error box.
class DialCsvActions final : public QObject
{
    Q_OBJECT

public:
    DialCsvActions(Document &document, QAction *importAction, QAction *exportAction,
        std::function<Block()> tableInView, FileChooser &chooser, QObject *parent);

    void importFrom(const QString &path);
    void exportTo(const QString &path);

private:
    void choose(bool importing);

    Document &document_;
    std::function<Block()> tableInView_;
    FileChooser &chooser_;
};

} // namespace ornis
