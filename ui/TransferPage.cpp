#include "TransferPage.h"

#include <QVBoxLayout>

namespace ornis {

TransferPage::TransferPage(const QString &name, const MainActions &actions,
                           const QString &suffix, QWidget *parent)
    : QWidget(parent)
    , content_(new QWidget(this))
{
    setObjectName(name);
    content_->setObjectName(name + QStringLiteral("Content"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(content_, 1);
    layout->addWidget(new ButtonStrip(actions, suffix, {}, this));
}

} // namespace ornis
