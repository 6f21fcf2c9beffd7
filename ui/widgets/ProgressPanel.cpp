#include "ProgressPanel.h"

#include "TypeScale.h"

#include <QHBoxLayout>
#include <QProgressBar>

namespace ornis {

ProgressPanel::ProgressPanel(QWidget *parent)
    : QFrame(parent)
    , bar_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("pnlProgress"));
    setFixedWidth(typeScaled(Width, *this));
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setRange(0, 100);
    bar_->setTextVisible(true);
    bar_->setFormat(QStringLiteral("%p %"));
    bar_->setAlignment(Qt::AlignCenter);
    bar_->setMaximumHeight(typeScaled(16, *this));
    QPalette palette = bar_->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128)); // navy fill
    palette.setColor(QPalette::HighlightedText, Qt::white);
    bar_->setPalette(palette);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->addWidget(bar_);
    hide();
}

void ProgressPanel::showProgress(bool visible, int percent)
{
    bar_->setValue(percent);
    setVisible(visible);
}

int ProgressPanel::percent() const
{
    return bar_->value();
}

} // namespace ornis
