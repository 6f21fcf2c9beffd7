#include "SideTabBar.h"

namespace ornis {

SideTabBar::SideTabBar(QWidget *parent)
    : QTabBar(parent)
{
    setShape(QTabBar::RoundedWest);
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
}

} // namespace ornis
