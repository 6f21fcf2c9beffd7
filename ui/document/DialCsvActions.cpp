#include "DialCsvActions.h"

#include "common/BlockNames.h"
#include "common/ConfigFiles.h"
#include "common/DialTableCsv.h"
#include "common/FilePath.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/document/Document.h"
#include "ui/editing/ConfigEditor.h"

#include <QAction>

namespace ornis {

namespace {

const QString CsvSuffix = QStringLiteral("csv");

} // namespace

void takeDialRows(Document &document, const DialRows &rows, const QString &text)
{
    // A transfer reads and writes the tables: the rows wait for its end.
    document.runWhenIdle([&document, rows, text] {
        document.commitTypedEdits();
        ExchangeConfig edited = document.config();
        applyDialRows(edited, rows);
        document.editor().applyBlocks(edited, {rows.table}, text);
    });
}

DialCsvActions::DialCsvActions(Document &document, QAction *importAction, QAction *exportAction,
    std::function<Block()> tableInView, QString startFolder, QObject *parent)
    : QObject(parent)
    , document_(document)
    , tableInView_(std::move(tableInView))
    , startFolder_(std::move(startFolder))
{
    connect(importAction, &QAction::triggered, this, [this] { choose(true); });
    connect(exportAction, &QAction::triggered, this, [this] { choose(false); });
}

void DialCsvActions::choose(bool importing)
{
    const FileDialogSetup setup {
        importing ? FileDialogSetup::Kind::Open : FileDialogSetup::Kind::Save,
        importing ? QStringLiteral("Importovat z CSV") : QStringLiteral("Exportovat do CSV"),
        startFolder_, QStringLiteral("Soubory CSV (*.csv)"), CsvSuffix};
    document_.dialogs().chooseFile(
        document_.dialogParent(), setup, [this, importing](const QString &path) {
            if (importing)
                importFrom(path);
            else
                exportTo(withDefaultSuffix(path, CsvSuffix));
        });
}

void DialCsvActions::importFrom(const QString &path)
{
    QByteArray bytes;
    if (const Status status = readWholeFile(path, bytes); !status.ok()) {
        document_.dialogs().showError(
            document_.dialogParent(), QString::fromStdString(status.message()));
        return;
    }
    const DialRows rows = readDialRows(bytes);
    QStringList problems = dialRowProblemLines(path, rows);
    const Block table = tableInView_();
    if (problems.isEmpty() && rows.table != table)
        problems << QStringLiteral("%1:1: holds the %2, not the %3")
                        .arg(path, blockTitles({rows.table}), blockTitles({table}));
    if (!problems.isEmpty()) {
        document_.dialogs().showError(document_.dialogParent(), problems.join(u'\n'));
        return;
    }
    takeDialRows(document_, rows, QStringLiteral("Import z CSV"));
}

void DialCsvActions::exportTo(const QString &path)
{
    document_.commitTypedEdits();
    const std::optional<QByteArray> csv = dialTableCsv(document_.config(), tableInView_());
    const Status status
        = csv ? writeWholeFile(path, *csv) : Status::failure("A text has no Unicode form");
    if (!status.ok())
        document_.dialogs().showError(
            document_.dialogParent(), QString::fromStdString(status.message()));
}

} // namespace ornis
