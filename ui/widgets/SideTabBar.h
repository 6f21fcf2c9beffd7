#pragma once

#include <QTabBar>

namespace ornis {

// Tabs on the left of what they switch, their captions read bottom to top, each with the
// room the application's style wants around it. The bar takes the length of all its tabs:
// the window grows rather than cut a caption or hide a tab behind scroll buttons.
class SideTabBar final : public QTabBar
{
    Q_OBJECT

public:
    explicit SideTabBar(QWidget *parent = nullptr);

    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }
};

} // namespace ornis
