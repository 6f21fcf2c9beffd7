#include "ActionButton.h"

#include <QAction>

namespace ornis {

ActionButton::ActionButton(const QString &caption, QAction &action, QWidget *parent)
    : QPushButton(caption, parent)
{
    setStatusTip(action.statusTip());
    setToolTip(action.toolTip());
    setEnabled(action.isEnabled());
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, &action, &QAction::trigger);
    connect(&action, &QAction::enabledChanged, this, &QWidget::setEnabled);
}

} // namespace ornis
