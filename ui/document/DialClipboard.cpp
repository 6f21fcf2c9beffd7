#include "DialClipboard.h"

#include "DialCsvActions.h"
#include "common/DialTableCsv.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/document/Document.h"
#include "ui/pages/DialPageWindows.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>

namespace ornis {

namespace {

// "cbTempl3", "medPETempl12", "edTempl20": the controls of row K (1..20) of a page.
const QRegularExpression RowControl(QStringLiteral("^(cb|med|ed)(PE)?Templ([0-9]+)$"));

DialTable dialTableOf(Block table)
{
    return table == Block::PE ? DialTable::PE : DialTable::ShortDials;
}

// The tab in view of a page's tab control, whichever kind of widget carries it.
int tabInView(const QWidget &page, Block table)
{
    const QString name
        = table == Block::PE ? QStringLiteral("tcPE") : QStringLiteral("tcShortDials");
    if (const auto *tabs = page.findChild<QTabWidget *>(name))
        return tabs->currentIndex();
    if (const auto *bar = page.findChild<QTabBar *>(name))
        return bar->currentIndex();
    return 0;
}

} // namespace

DialClipboard::DialClipboard(
    Document &document, QWidget &shortDialPage, QWidget &pePage, QObject *parent)
    : QObject(parent)
    , document_(document)
    , shortDialPage_(shortDialPage)
    , pePage_(pePage)
{
    watchRows(shortDialPage);
    watchRows(pePage);
}

void DialClipboard::watchRows(QWidget &page)
{
    for (QWidget *control : page.findChildren<QWidget *>(RowControl))
        control->installEventFilter(this);
}

std::optional<DialClipboard::Place> DialClipboard::placeOf(const QObject *control) const
{
    const QRegularExpressionMatch match = RowControl.match(control->objectName());
    if (!match.hasMatch())
        return std::nullopt;
    const Block table = match.captured(2).isEmpty() ? Block::ShortDials : Block::PE;
    const QWidget &page = table == Block::PE ? pePage_ : shortDialPage_;
    return Place {table, tabInView(page, table), match.captured(3).toInt() - 1};
}

std::vector<int> DialClipboard::recordsFrom(const Place &place, int firstRow) const
{
    std::vector<int> records;
    const DialTable table = dialTableOf(place.table);
    for (int row = firstRow; row < dialRowsShown(table, place.tab); ++row)
        if (const std::optional<int> record = dialRecordAt(table, place.tab, row))
            records.push_back(*record);
    return records;
}

bool DialClipboard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool copy = key->matches(QKeySequence::Copy);
    const bool paste = key->matches(QKeySequence::Paste);
    const std::optional<Place> place = placeOf(watched);
    if ((!copy && !paste) || !place)
        return false;
    const auto *edit = qobject_cast<QLineEdit *>(watched);
    const QString text = QApplication::clipboard()->text();
    // A selection in an edit and a text of one field go the edit's own way.
    if ((copy && edit && edit->hasSelectedText())
        || (paste && !text.contains(u'\t') && !text.trimmed().contains(u'\n')))
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // the key comes here as a key press, not to a shortcut
        return true;
    }
    if (copy)
        copyRows(*place);
    else
        pasteRows(*place, text);
    return true;
}

void DialClipboard::copyRows(const Place &place)
{
    document_.commitTypedEdits();
    if (const std::optional<QString> text
        = dialTableText(document_.config(), place.table, u'\t', recordsFrom(place, 0)))
        QApplication::clipboard()->setText(*text);
}

void DialClipboard::pasteRows(const Place &place, const QString &text)
{
    const std::vector<int> records = recordsFrom(place, place.row);
    const DialRows rows = readPastedDialRows(text.toUtf8(), place.table, records);
    if (!rows.problems.empty()) {
        document_.dialogs().showError(document_.dialogParent(),
            dialRowProblemLines(QStringLiteral("Schránka"), rows).join(u'\n'));
        return;
    }
    takeDialRows(document_, rows, QStringLiteral("Vložení řádků"));
}

} // namespace ornis
