#pragma once

#include <QTabBar>

namespace ornis {

// Tabs on the left of what they switch, their captions read bottom to top. The tabs keep
// little room around their captions, so that five of them fit beside ten rows.
class SideTabBar final : public QTabBar
{
    Q_OBJECT

public:
    explicit SideTabBar(QWidget *parent = nullptr);
};

} // namespace ornis
