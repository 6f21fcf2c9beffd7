#pragma once

#include <QSize>

class QWidget;

// The window's pixel sizes are those of 8-point type on a 96-dpi screen. Larger type (a
// larger font, a style sheet's font size, a screen of more dots per inch) grows them in
// proportion, so that every caption keeps its room; smaller type keeps them as they are.

namespace ornis {

// How much larger than 8 points at 96 dpi the type of the window that holds `widget` is, at
// least 1. Ask a control that has its parent already.
[[nodiscard]] double typeScale(const QWidget &widget);

[[nodiscard]] int typeScaled(int pixels, const QWidget &widget);
[[nodiscard]] QSize typeScaled(QSize pixels, const QWidget &widget);

} // namespace ornis
