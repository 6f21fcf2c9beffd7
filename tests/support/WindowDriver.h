#pragma once

#include "WindowFixture.h"

#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>

class QTabWidget;

// Long enough for any transfer the tests run: in process a whole one takes well under a
// second, over a pseudo-terminal about a second.
inline constexpr int TransferBound = 60'000; // ms

// The window as the tests drive it: made on the fixture's services, its controls found by
// name, its pages and tabs brought to the front, its transfers run to their end.
class WindowDriver
{
public:
    // `setUp` sets the fixture up before the window is made.
    explicit WindowDriver(const std::function<void(WindowDriver &)> &setUp = {});

    // The next run of the program: a new window on the same services.
    void reopen();
    // Shown on the screen and active, as a person finds it.
    void show();

    [[nodiscard]] const ornis::ExchangeConfig &config() const { return window->config(); }
    // Changes the configuration through the editor: `edit` on a copy, taken as one step of
    // the history (the model and the modules without one).
    void change(const std::function<void(ornis::ExchangeConfig &)> &edit);
    // The configuration, as if the window had always held it: a new history, nothing
    // unsaved.
    void hold(const ornis::ExchangeConfig &config);
    [[nodiscard]] const ornis::MainActions &actions() const { return window->actions(); }
    [[nodiscard]] InstantExchangePort &port() { return fixture.ports.exchangePort(); }
    [[nodiscard]] ornis::sim::VirtualExchange &exchange() { return port().exchange; }
    [[nodiscard]] QStringList &errors() { return fixture.dialogs.errors; }
    // A path in the test's own folder, which goes with the driver.
    [[nodiscard]] QString path(const QString &name) const { return folder.filePath(name); }

    // The control named `name`; a test without it cannot go on.
    template<typename Widget = QWidget> [[nodiscard]] Widget &control(const QString &name) const
    {
        auto *widget = window->findChild<Widget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return *widget;
    }
    // The same, with every tab that holds it brought to the front.
    template<typename Widget = QWidget> Widget &reveal(const QString &name)
    {
        return reveal(control<Widget>(name));
    }
    template<typename Widget> Widget &reveal(Widget &widget)
    {
        bringToFront(widget);
        return widget;
    }
    [[nodiscard]] QTabWidget &pages() const;
    void openPage(int page);

    // Runs the event loop until the transfer is over and shows what the frame after it
    // shows; false when it is not over within the bound.
    [[nodiscard]] bool runToIdle();
    // `action` on page `page`, then the transfer it started run to its end.
    [[nodiscard]] bool run(int page, QAction *action);
    // A mouse click on the button, then the transfer it started run to its end.
    [[nodiscard]] bool click(const QString &button);

    QTemporaryDir folder;
    WindowFixture fixture;
    std::unique_ptr<ornis::TMainForm> window;

private:
    void bringToFront(QWidget &widget);
};
