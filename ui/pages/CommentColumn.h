#pragma once

#include <QList>
#include <QWidget>
#include <span>
#include <string>

namespace ornis {

class CellGrid;
class CommentEdit;

// The comment fields beside a grid, each level with the data row it comments on, under a
// label that stands level with the grid's header row.
class CommentColumn final : public QWidget
{
    Q_OBJECT

public:
    // `fields` are the model texts of data rows 1.., `names` their fields' object names.
    CommentColumn(const QString &label, const CellGrid &grid, std::span<std::string> fields,
        const QStringList &names, int width, QWidget *parent = nullptr);

    // Shows the texts the model holds now.
    void refresh();

private:
    QList<CommentEdit *> edits_;
};

} // namespace ornis
