// The window on the page "Nastavení", for read_grid_atspi.py to read its grids through
// AT-SPI as a screen reader does. It ends when its standard input closes.

#include "tests/support/WindowFixture.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTabWidget>
#include <unistd.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    WindowFixture fixture;
    std::unique_ptr<ornis::TMainForm> window = fixture.makeWindow(false);
    window->findChild<QTabWidget *>(QStringLiteral("pcMain"))->setCurrentIndex(1);
    window->show();
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&input] {
        char byte = 0;
        if (read(STDIN_FILENO, &byte, 1) <= 0) {
            input.setEnabled(false);
            QApplication::quit();
        }
    });
    return QApplication::exec();
}
