#include "XlsxWriter.h"

#include "ConfigFiles.h"

#include <QTemporaryDir>
#include <vector>
#include <xlsxwriter.h>

namespace ornis {

namespace {

// The workbook's date of creation, the same for every file (1 January 1980, as the dates of
// the zip entries), so that a table gives the same bytes each time it is written.
constexpr time_t CreatedAt = 315532800;

Status failure(lxw_error error)
{
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        return Status::failure("A text is longer than a spreadsheet's cell holds (32767)");
    return Status::failure(std::string("Cannot write the workbook: ") + lxw_strerror(error));
}

// Writes the cells into an open workbook; the first error stops it.
lxw_error writeCells(lxw_workbook *workbook, const QString &name, std::span<const SheetRow> rows,
    std::span<const XlsxColumn> columns)
{
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, name.toUtf8().constData());
    if (!sheet)
        return LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED;
    lxw_format *header = workbook_add_format(workbook);
    format_set_bold(header);
    std::vector<lxw_format *> formats;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        lxw_format *format = nullptr;
        if (columns[c].numberFormat) {
            format = workbook_add_format(workbook);
            format_set_num_format(format, columns[c].numberFormat);
        }
        formats.push_back(format);
        const lxw_col_t column = lxw_col_t(c);
        if (const lxw_error error
            = worksheet_set_column(sheet, column, column, columns[c].width, format))
            return error;
    }
    for (const SheetRow &row : rows) {
        const bool first = &row == &rows.front();
        for (const SheetCell &cell : row.cells) {
            const std::size_t c = std::size_t(cell.column);
            lxw_format *format = first ? header : c < formats.size() ? formats[c] : nullptr;
            const lxw_row_t r = lxw_row_t(row.row - 1);
            const lxw_col_t column = lxw_col_t(cell.column);
            const lxw_error error = cell.number
                ? worksheet_write_number(sheet, r, column, cell.text.toDouble(), format)
                : worksheet_write_string(
                    sheet, r, column, xlsxEscaped(cell.text).toUtf8().constData(), format);
            if (error)
                return error;
        }
    }
    return LXW_NO_ERROR;
}

} // namespace

Status writeXlsxSheet(const QString &name, std::span<const SheetRow> rows,
    std::span<const XlsxColumn> columns, QByteArray &file)
{
    // libxlsxwriter writes to a named file, and keeps its own temporary files beside it.
    QTemporaryDir folder;
    if (!folder.isValid())
        return Status::failure(
            "Cannot create a temporary folder: " + folder.errorString().toStdString());
    const QByteArray path = folder.filePath(QStringLiteral("sheet.xlsx")).toLocal8Bit();
    const QByteArray temporary = folder.path().toLocal8Bit();
    lxw_workbook_options options {};
    options.tmpdir = const_cast<char *>(temporary.constData());
    lxw_workbook *workbook = workbook_new_opt(path.constData(), &options);
    if (!workbook)
        return Status::failure("Cannot create file " + path.toStdString());
    lxw_doc_properties properties {};
    properties.created = CreatedAt;
    lxw_error error = workbook_set_properties(workbook, &properties);
    if (!error)
        error = writeCells(workbook, name, rows, columns);
    const lxw_error closed = workbook_close(workbook); // frees it in any case
    if (error || closed)
        return failure(error ? error : closed);
    return readWholeFile(QString::fromLocal8Bit(path), file);
}

} // namespace ornis
