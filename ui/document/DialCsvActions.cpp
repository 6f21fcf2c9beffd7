#include "DialCsvActions.h"

#include "common/BlockNames.h"
#include "common/DialTableFile.h"
#include "common/FilePath.h"
#include "common/ShortList.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/document/Document.h"
#include "ui/document/FileChooser.h"
#include "ui/editing/ConfigEditor.h"

#include <QAction>

namespace ornis {

namespace {

// A name without a suffix is a CSV file but while the workbooks are chosen.
const QList<FileType> TableTypes {
    {QStringLiteral("Tabulky (*.csv *.xlsx)"), QStringLiteral("csv")},
    {QStringLiteral("Soubory CSV (*.csv)"), QStringLiteral("csv")},
    {QStringLiteral("Sešity Excel (*.xlsx)"), QStringLiteral("xlsx")},
};

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
    std::function<Block()> tableInView, FileChooser &chooser, QObject *parent)
    : QObject(parent)
    , document_(document)
    , tableInView_(std::move(tableInView))
    , chooser_(chooser)
{
    connect(importAction, &QAction::triggered, this, [this] { choose(true); });
    connect(exportAction, &QAction::triggered, this, [this] { choose(false); });
}

void DialCsvActions::choose(bool importing)
{
    const FileDialogSetup setup {
        importing ? FileDialogSetup::Kind::Open : FileDialogSetup::Kind::Save,
        importing ? QStringLiteral("Importovat z CSV nebo XLSX")
                  : QStringLiteral("Exportovat do CSV nebo XLSX"),
        {}, TableTypes, {}};
    chooser_.choose(FileUse::Tables, setup, [this, importing](const ChosenFile &file) {
        if (importing)
            importFrom(file.path);
        else
            exportTo(withDefaultSuffix(file.path, TableTypes.value(file.type).suffix));
    });
}

void DialCsvActions::importFrom(const QString &path)
{
    DialRows rows;
    if (const Status status = readDialFile(path, rows); !status.ok()) {
        document_.dialogs().showError(
            document_.dialogParent(), QString::fromStdString(status.message()));
        return;
    }
    QStringList problems = dialRowProblemLines(path, rows);
    const Block table = tableInView_();
    if (problems.isEmpty() && rows.table != table)
        problems << QStringLiteral("%1:1: holds the %2, not the %3")
                        .arg(path, blockTitles({rows.table}), blockTitles({table}));
    if (!problems.isEmpty()) {
        const auto more = [](qsizetype left) {
            return left == 1 ? QStringLiteral("… a 1 další")
                             : QStringLiteral("… a %1 dalších").arg(left);
        };
        document_.dialogs().showError(
            document_.dialogParent(), shortList(problems, more).join(u'\n'));
        return;
    }
    takeDialRows(document_, rows, QStringLiteral("Import tabulky"));
}

void DialCsvActions::exportTo(const QString &path)
{
    document_.commitTypedEdits();
    const Status status = writeDialFile(path, document_.config(), tableInView_());
    if (!status.ok())
        document_.dialogs().showError(
            document_.dialogParent(), QString::fromStdString(status.message()));
}

} // namespace ornis
