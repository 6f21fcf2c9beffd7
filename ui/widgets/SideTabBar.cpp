#include "SideTabBar.h"

#include <QProxyStyle>

namespace ornis {

namespace {

// The application's style with less room at the ends of a tab's caption.
class NarrowTabStyle final : public QProxyStyle
{
public:
    int pixelMetric(
        PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return CaptionRoom;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    static constexpr int CaptionRoom = 12; // pixels, both ends together
};

} // namespace

SideTabBar::SideTabBar(QWidget *parent)
    : QTabBar(parent)
{
    auto *style = new NarrowTabStyle;
    style->setParent(this);
    setStyle(style);
    setShape(QTabBar::RoundedWest);
    setExpanding(false);
}

} // namespace ornis
