#pragma once

#include "config/ConfigFields.h"

#include <QWidget>

namespace ornis {

class CellGrid;
class FieldBinding;

// The comment fields beside a grid, each level with the data row it comments on, under a
// label that stands level with the grid's header row.
class CommentColumn final : public QWidget
{
    Q_OBJECT

public:
    // The fields of data rows 1.. show the elements 0.. of `comments`; `names` are their
    // object names.
    CommentColumn(const QString &label, const CellGrid &grid, FieldBinding &binding,
        Field comments, const QStringList &names, int width, QWidget *parent = nullptr);
};

} // namespace ornis
