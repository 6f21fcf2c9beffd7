#pragma once

#include "config/Blocks.h"

#include <QObject>
#include <optional>
#include <vector>

class QWidget;

namespace ornis {

class Document;

// Rows of the pages "Zkrácené volby" and "PE" through the clipboard. With the focus in a
// row, Ctrl+C copies the rows of the tab in view as tab-separated text with the CSV header
// (a number or comment edit holding a selection copies that, as ever); Ctrl+V pastes
// tab-separated rows from a spreadsheet: with a header by their dial numbers, without one
// from the focused row down. Rows that cannot be taken are listed, and nothing changes.
class DialClipboard final : public QObject
{
    Q_OBJECT

public:
    // The rows are found by their controls' names on the two pages.
    DialClipboard(Document &document, QWidget &shortDialPage, QWidget &pePage, QObject *parent);

    // Takes the keys of the rows of a page; a page built later is announced by this.
    void watchRows(QWidget &page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The focused row (0..19) and the records its tab shows from there down, page by page.
    struct Place
    {
        Block table;
        int tab;
        int row;
    };
    [[nodiscard]] std::optional<Place> placeOf(const QObject *control) const;
    [[nodiscard]] std::vector<int> recordsFrom(const Place &place, int firstRow) const;
    void copyRows(const Place &place);
    void pasteRows(const Place &place, const QString &text);

    Document &document_;
    QWidget &shortDialPage_;
    QWidget &pePage_;
};

} // namespace ornis
