#pragma once

#include "common/Comparison.h"

#include <QDialog>
#include <vector>

namespace ornis {

// Where the window's configuration differs from the exchange's, or what a write sent from
// what the exchange holds after it: one row per item with its block, its name and both
// values; a sentence instead when nothing differs.
class DifferencesDialog final : public QDialog
{
    Q_OBJECT

public:
    enum class Kind { Comparison, Verification };

    explicit DifferencesDialog(const std::vector<Difference> &differences,
        QWidget *parent = nullptr, Kind kind = Kind::Comparison);
};

} // namespace ornis
