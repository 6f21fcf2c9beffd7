#include "TypeScale.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

namespace ornis {

namespace {
constexpr double ReferencePoints = 8.0;
constexpr double ReferenceDpi = 96.0;
constexpr double PointsPerInch = 72.0;
} // namespace

double typeScale(const QWidget &widget)
{
    // The window's type: a style sheet's reaches a control only when the control is
    // polished, after it was made.
    const QWidget &window = *widget.window();
    const QFont &font = window.font();
    const double pixels = font.pointSizeF() > 0
        ? font.pointSizeF() * window.logicalDpiY() / PointsPerInch
        : double(font.pixelSize());
    return std::max(1.0, pixels / (ReferencePoints * ReferenceDpi / PointsPerInch));
}

int typeScaled(int pixels, const QWidget &widget)
{
    return int(std::lround(pixels * typeScale(widget)));
}

QSize typeScaled(QSize pixels, const QWidget &widget)
{
    return {typeScaled(pixels.width(), widget), typeScaled(pixels.height(), widget)};
}

} // namespace ornis
