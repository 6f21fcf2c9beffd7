#include "SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace ornis {

SvgPicture::SvgPicture(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , resource_(resource)
{
}

bool SvgPicture::isLoaded() const
{
    return QSvgRenderer(resource_).isValid();
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (drawn_.size() != pixels) {
        drawn_ = QPixmap(pixels);
        drawn_.fill(Qt::transparent);
        drawn_.setDevicePixelRatio(ratio);
        QSvgRenderer renderer(resource_);
        renderer.setAspectRatioMode(Qt::KeepAspectRatio);
        QPainter painter(&drawn_);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size())));
    }
    QPainter(this).drawPixmap(0, 0, drawn_);
}

} // namespace ornis
