#include "CounterSpinBox.h"

#include <QLineEdit>

namespace ornis {

CounterSpinBox::CounterSpinBox(const QString &name, const QString &editName, QWidget *parent)
    : QSpinBox(parent)
{
    setObjectName(name);
    lineEdit()->setObjectName(editName);
    lineEdit()->setReadOnly(true);
    setWrapping(true);
}

} // namespace ornis
