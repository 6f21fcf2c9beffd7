#include "SvgPicture.h"

#include <QPainter>

namespace ornis {

SvgPicture::SvgPicture(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , renderer_(resource)
{
    renderer_.setAspectRatioMode(Qt::KeepAspectRatio);
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, rect());
}

} // namespace ornis
