#pragma once

#include "common/Comparison.h"

#include <QDialog>
#include <vector>

namespace ornis {

// Where the window's configuration differs from the exchange's: one row per item with its
// block, its name and both values; a sentence instead when nothing differs.
class DifferencesDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit DifferencesDialog(
        const std::vector<Difference> &differences, QWidget *parent = nullptr);
};

} // namespace ornis
