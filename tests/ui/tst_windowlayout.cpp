#include "WindowDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

using namespace ornis;

namespace {

// The application's style and type for one test: a style by name, and a type size other
// than the window's own 8 points by a style sheet, as a user sets it.
class LookOfTheTest
{
public:
    LookOfTheTest(const QString &style, int points)
    {
        QApplication::setStyle(QStyleFactory::create(style));
        if (points != 8)
            qApp->setStyleSheet(QStringLiteral("* { font-size: %1pt; }").arg(points));
    }
    ~LookOfTheTest()
    {
        qApp->setStyleSheet(QString());
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
};

void addLooks()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("points");
    for (const char *style : {"Fusion", "Windows"}) {
        for (const int points : {8, 10})
            QTest::addRow("%s, %d pt", style, points) << QString::fromLatin1(style) << points;
    }
}

// Shows every page and every tab of the window in turn, and calls `look` at each.
void visitEveryTab(WindowDriver &w, const std::function<void()> &look)
{
    QTabWidget &pages = w.pages();
    for (int page = 0; page < pages.count(); ++page) {
        if (!pages.isTabVisible(page))
            continue;
        w.openPage(page);
        look();
        for (QTabBar *tabs : pages.widget(page)->findChildren<QTabBar *>()) {
            for (int tab = 1; tab < tabs->count(); ++tab) {
                tabs->setCurrentIndex(tab);
                look();
            }
            tabs->setCurrentIndex(0);
        }
    }
}

// The length along the bar that the application's style asks for a tab's caption.
int askedLength(const QTabBar &tabs, int tab)
{
    QStyleOptionTab option;
    option.initFrom(&tabs);
    option.shape = tabs.shape();
    option.text = tabs.tabText(tab);
    const int room
        = QApplication::style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, &tabs);
    return tabs.fontMetrics().size(Qt::TextShowMnemonic, option.text).width() + room;
}

bool vertical(const QTabBar &tabs)
{
    return tabs.shape() == QTabBar::RoundedWest || tabs.shape() == QTabBar::RoundedEast
        || tabs.shape() == QTabBar::TriangularWest || tabs.shape() == QTabBar::TriangularEast;
}

// `widget`'s rectangle in the window's coordinates.
QRect placeIn(const QWidget &window, const QWidget &widget)
{
    return QRect(widget.mapTo(&window, QPoint(0, 0)), widget.size());
}

// The caption of a control: the widest item of a list, otherwise all the control shows.
QString captionOf(const QWidget &widget)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        return label->text();
    QString widest;
    const auto &list = static_cast<const QComboBox &>(widget);
    for (int item = 0; item < list.count(); ++item) {
        if (list.fontMetrics().horizontalAdvance(list.itemText(item))
            > list.fontMetrics().horizontalAdvance(widest))
            widest = list.itemText(item);
    }
    return widest;
}

// The width `widget` has for its caption, and the width its caption needs.
std::pair<int, int> captionWidths(const QWidget &widget)
{
    const auto *list = qobject_cast<const QComboBox *>(&widget);
    if (!list)
        return {widget.width(), widget.minimumSizeHint().width()};
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    const QRect field = list->style()->subControlRect(
        QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
    return {field.width(), list->fontMetrics().horizontalAdvance(captionOf(widget))};
}

// What of a control showing a caption is cut: the caption, or its place in the window.
QString cutOf(const QWidget &window, const QWidget &widget)
{
    const QString name = widget.objectName().isEmpty()
        ? QString::fromLatin1(widget.metaObject()->className()) + u' ' + captionOf(widget)
        : widget.objectName();
    if (!window.rect().contains(placeIn(window, widget)))
        return name + QStringLiteral(" stands outside the window");
    if (captionOf(widget).isEmpty())
        return {};
    const auto [has, needs] = captionWidths(widget);
    if (has < needs || widget.height() < widget.fontMetrics().height())
        return QStringLiteral("%1 is %2x%3, its caption needs %4x%5")
            .arg(name)
            .arg(has)
            .arg(widget.height())
            .arg(needs)
            .arg(widget.fontMetrics().height());
    return {};
}

} // namespace

class WindowLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void largerTypeGrowsTheWindowInProportion_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("scale");
        QTest::newRow("8 pt") << 8 << 1.0;
        QTest::newRow("10 pt") << 10 << 1.25;
    }
    void largerTypeGrowsTheWindowInProportion()
    {
        QFETCH(int, points);
        QFETCH(double, scale);
        LookOfTheTest look(QStringLiteral("Fusion"), points);
        WindowDriver w;
        QCOMPARE(w.window->width(), qRound(TMainForm::ClientSize.width() * scale));
        QVERIFY(w.window->height() >= qRound(TMainForm::ClientSize.height() * scale));
    }

    void everyTabCaptionHasTheRoomTheStyleAsksFor_data() { addLooks(); }
    void everyTabCaptionHasTheRoomTheStyleAsksFor()
    {
        QFETCH(QString, style);
        QFETCH(int, points);
        LookOfTheTest look(style, points);
        WindowDriver w;
        w.show();
        visitEveryTab(w, [&w] {
            for (const QTabBar *tabs : w.window->findChildren<QTabBar *>()) {
                if (!tabs->isVisible())
                    continue;
                QVERIFY(w.window->rect().contains(placeIn(*w.window, *tabs)));
                for (int tab = 0; tab < tabs->count(); ++tab) {
                    const QRect rect = tabs->tabRect(tab);
                    if (!tabs->isTabVisible(tab))
                        continue;
                    QVERIFY2(tabs->rect().contains(rect),
                        qPrintable(QStringLiteral("%1: %2 of %3")
                                       .arg(tabs->tabText(tab))
                                       .arg(rect.bottom())
                                       .arg(tabs->height())));
                    const int length = vertical(*tabs) ? rect.height() : rect.width();
                    QVERIFY2(length >= askedLength(*tabs, tab),
                        qPrintable(QStringLiteral("%1: %2 of %3")
                                       .arg(tabs->tabText(tab))
                                       .arg(length)
                                       .arg(askedLength(*tabs, tab))));
                }
            }
        });
    }

    void everyControlHasItsRoom_data() { addLooks(); }
    void everyControlHasItsRoom()
    {
        QFETCH(QString, style);
        QFETCH(int, points);
        LookOfTheTest look(style, points);
        WindowDriver w;
        w.show();
        w.fixture.clockBeat.beatNow();
        visitEveryTab(w, [&w] {
            for (const QWidget *widget : w.window->findChildren<QWidget *>()) {
                const bool captioned = qobject_cast<const QAbstractButton *>(widget)
                    || qobject_cast<const QLabel *>(widget)
                    || qobject_cast<const QComboBox *>(widget);
                if (!captioned || !widget->isVisible())
                    continue;
                const QString cut = cutOf(*w.window, *widget);
                QVERIFY2(cut.isEmpty(), qPrintable(cut));
            }
        });
    }

    void thePositionIsRememberedWhereAScreenShowsIt_data()
    {
        QTest::addColumn<QPoint>("left");
        QTest::addColumn<bool>("restored");
        QTest::newRow("on the screen") << QPoint(60, 40) << true;
        QTest::newRow("on a screen unplugged since") << QPoint(20000, 40) << false;
    }
    void thePositionIsRememberedWhereAScreenShowsIt()
    {
        QFETCH(QPoint, left);
        QFETCH(bool, restored);
        WindowDriver w(
            [](WindowDriver &d) { d.fixture.settings = d.path(QStringLiteral("window.ini")); });
        w.window->move(left);
        w.show();
        w.window->close();
        w.reopen();
        QCOMPARE(w.window->pos() == left, restored);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "tst_windowlayout.moc"
