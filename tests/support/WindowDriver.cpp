#include "WindowDriver.h"

#include "link/TransferEngine.h"
#include "ui/document/Document.h"
#include "ui/editing/ConfigEditor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace ornis;

WindowDriver::WindowDriver(const std::function<void(WindowDriver &)> &setUp)
{
    if (setUp)
        setUp(*this);
    window = fixture.makeWindow();
}

void WindowDriver::reopen()
{
    window.reset();
    window = fixture.makeWindow();
}

void WindowDriver::show()
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qFatal("the window was not shown");
}

void WindowDriver::bringToFront(QWidget &widget)
{
    for (QWidget *inner = &widget; inner && inner != window.get(); inner = inner->parentWidget()) {
        auto *tabs = qobject_cast<QTabWidget *>(inner->parentWidget());
        // A tab's page sits in the tab widget's stack, not in the tab widget itself.
        if (!tabs && inner->parentWidget())
            tabs = qobject_cast<QTabWidget *>(inner->parentWidget()->parentWidget());
        if (tabs && tabs->indexOf(inner) >= 0)
            tabs->setCurrentWidget(inner);
    }
}

void WindowDriver::change(const std::function<void(ExchangeConfig &)> &edit)
{
    ExchangeConfig changed = config();
    edit(changed);
    window->editor().setExchangeBlock(changed);
    window->editor().applyBlocks(changed, BlockSet::all(), QStringLiteral("Změna v testu"));
}

void WindowDriver::hold(const ExchangeConfig &config)
{
    window->editor().startHistory(config, BlockSet::all(), true);
    window->document().markInFile();
}

QTabWidget &WindowDriver::pages() const
{
    return control<QTabWidget>(QStringLiteral("pcMain"));
}

void WindowDriver::openPage(int page)
{
    pages().setCurrentIndex(page);
}

bool WindowDriver::runToIdle()
{
    const QDeadlineTimer deadline(TransferBound);
    while (!window->engine().isIdle() && !deadline.hasExpired())
        QCoreApplication::processEvents();
    repaintNow(*window);
    return window->engine().isIdle();
}

bool WindowDriver::run(int page, QAction *action)
{
    openPage(page);
    action->trigger();
    return runToIdle();
}

bool WindowDriver::click(const QString &button)
{
    QTest::mouseClick(&control<QPushButton>(button), Qt::LeftButton);
    return runToIdle();
}
