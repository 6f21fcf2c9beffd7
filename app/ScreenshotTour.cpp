#include "ScreenshotTour.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

#include "ui/MainForm.h"
#include "ui/MessageBoxDialogs.h"

namespace ornis {

namespace {

constexpr int SettleMs = 300;
// Long enough for the clock button to have shown the time once.
constexpr int FirstShotMs = 1300;
// A whole read on the 2400-baud virtual exchange is well on its way by then.
constexpr int TransferShotMs = 2500;

const char *const PageNames[] = {"konfigurace", "nastaveni", "sluzby", "zkracene-volby", "pe"};

} // namespace

void TourDialogs::ask(QWidget *, const QString &, std::function<void()> onYes)
{
    onYes();
}

void TourDialogs::showError(QWidget *, const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

void TourDialogs::showAbout(QWidget *parent)
{
    MessageBoxDialogs().showAbout(parent);
}

ScreenshotTour::ScreenshotTour(TMainForm &window, const QString &folder)
    : window_(window)
    , folder_(folder)
{}

void ScreenshotTour::start()
{
    QDir().mkpath(folder_);
    QTimer::singleShot(FirstShotMs, this, &ScreenshotTour::step);
}

void ScreenshotTour::step()
{
    auto *pages = window_.findChild<QTabWidget *>(QStringLiteral("pcMain"));
    const int pageCount = int(std::size(PageNames));
    if (step_ < pageCount) {
        // A page the model hides (PE) has no picture.
        if (pages->currentIndex() == step_)
            save(window_, QStringLiteral("%1-%2").arg(step_ + 1).arg(PageNames[step_]));
        ++step_;
        if (step_ < pageCount) {
            pages->setCurrentIndex(step_);
        } else {
            pages->setCurrentIndex(0);
            window_.actions().acReceive->trigger();
        }
        QTimer::singleShot(step_ < pageCount ? SettleMs : TransferShotMs, this,
                           &ScreenshotTour::step);
        return;
    }
    if (step_ == pageCount) {
        save(window_, QStringLiteral("6-prenos"));
        window_.actions().acStop->trigger();
        window_.actions().acAbout->trigger();
        ++step_;
        QTimer::singleShot(SettleMs, this, &ScreenshotTour::step);
        return;
    }
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            save(*box, QStringLiteral("7-o-aplikaci"));
    }
    QApplication::quit();
}

void ScreenshotTour::save(QWidget &widget, const QString &name)
{
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path))
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

} // namespace ornis
