#pragma once

#include <QPushButton>

class QAction;

namespace ornis {

// A push button that runs an action: it follows the action's enabled state and shows its
// hint, but keeps a caption of its own (the strip of page "Konfigurace" reads "vše").
class ActionButton final : public QPushButton
{
    Q_OBJECT

public:
    ActionButton(const QString &caption, QAction &action, QWidget *parent = nullptr);
};

} // namespace ornis
