#include "TransferPage.h"

#include <QVBoxLayout>
#include <utility>

namespace ornis {

TransferPage::TransferPage(
    const QString &name, const MainActions &actions, const QString &suffix, QWidget *parent)
    : QWidget(parent)
    , layout_(new QVBoxLayout(this))
{
    setObjectName(name);
    layout_->setContentsMargins(6, 6, 6, 6);
    layout_->addStretch(1);
    strip_ = new ButtonStrip(actions, suffix, {}, this);
    layout_->addWidget(strip_);
}

void TransferPage::setContent(QWidget *content)
{
    // The stretch (or the room kept) that held the buttons at the bottom gives way.
    delete layout_->takeAt(0);
    layout_->insertWidget(0, content, 1);
    putButtonsAfter(*content);
}

void TransferPage::putButtonsAfter(QWidget &content)
{
    // Tab goes through the page's own controls first, then to the buttons below them.
    QWidget *last = nullptr;
    for (QWidget *widget = content.nextInFocusChain(); content.isAncestorOf(widget);
         widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() != Qt::NoFocus)
            last = widget;
    }
    if (!last)
        return;
    for (QWidget *button : strip_->findChildren<QWidget *>()) {
        if (button->focusPolicy() == Qt::NoFocus)
            continue;
        QWidget::setTabOrder(last, button);
        last = button;
    }
}

void TransferPage::reserveContentHeight(int height)
{
    if (!build_)
        return;
    delete layout_->takeAt(0);
    layout_->insertSpacerItem(
        0, new QSpacerItem(0, height, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));
}

void TransferPage::setContentBuilder(std::function<QWidget *(QWidget *parent)> build)
{
    build_ = std::move(build);
}

void TransferPage::ensureContent()
{
    if (!build_)
        return;
    QWidget *content = std::exchange(build_, nullptr)(this);
    setContent(content);
    // A page already on screen shows its new controls at once.
    if (isVisible())
        content->show();
    emit contentBuilt(*content);
}

void TransferPage::showEvent(QShowEvent *event)
{
    ensureContent();
    QWidget::showEvent(event);
}

} // namespace ornis
