#include "ButtonStrip.h"

#include <QHBoxLayout>

#include "ui/widgets/ActionButton.h"
#include "ui/MainActions.h"

namespace ornis {

ButtonStrip::ButtonStrip(const MainActions &actions, const QString &suffix,
                         const Captions &captions, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addStretch();
    const auto add = [&](const char *prefix, const QString &caption, QAction *action) {
        auto *button = new ActionButton(caption, *action, this);
        button->setObjectName(QLatin1String(prefix) + suffix);
        button->setFixedWidth(ButtonWidth);
        layout->addWidget(button);
    };
    add("btReceive", captions.receive, actions.acReceive);
    add("btSend", captions.send, actions.acSend);
    add("btDef", captions.def, actions.acDef);
}

} // namespace ornis
