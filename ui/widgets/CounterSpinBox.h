#pragma once

#include <QSpinBox>

namespace ornis {

// An up-down counter over a read-only edit: the value changes only by stepping (arrows,
// keys, wheel) and wraps around at its limits. The edit carries a name of its own.
class CounterSpinBox final : public QSpinBox
{
    Q_OBJECT

public:
    CounterSpinBox(const QString &name, const QString &editName, QWidget *parent = nullptr);
};

} // namespace ornis
