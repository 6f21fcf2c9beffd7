#include "ButtonStrip.h"

#include "ui/MainActions.h"
#include "ui/widgets/ActionButton.h"
#include "ui/widgets/TypeScale.h"

#include <QHBoxLayout>

namespace ornis {

ButtonStrip::ButtonStrip(
    const MainActions &actions, const QString &suffix, const Captions &captions, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    const int buttonWidth = typeScaled(ButtonWidth, *this);
    const auto add = [&](const char *prefix, const QString &caption, QAction *action) {
        auto *button = new ActionButton(caption, *action, this);
        button->setObjectName(QLatin1String(prefix) + suffix);
        button->setMinimumWidth(buttonWidth);
        layout->addWidget(button);
        return button;
    };
    // As wide as its caption needs.
    add("btCompare", captions.compare, actions.acCompare);
    layout->addStretch();
    add("btReceive", captions.receive, actions.acReceive)->setFixedWidth(buttonWidth);
    add("btSend", captions.send, actions.acSend)->setFixedWidth(buttonWidth);
    add("btDef", captions.def, actions.acDef)->setFixedWidth(buttonWidth);
}

} // namespace ornis
