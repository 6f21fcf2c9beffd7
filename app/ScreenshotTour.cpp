#include "ScreenshotTour.h"

#include "link/TransferEngine.h"
#include "ui/MainForm.h"
#include "ui/MainPages.h"
#include "ui/dialogs/DifferencesDialog.h"
#include "ui/dialogs/MessageBoxDialogs.h"
#include "ui/document/BackupFolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

namespace ornis {

namespace {

constexpr int SettleMs = 300;
// Long enough for the clock button to have shown the time once.
constexpr int FirstShotMs = 1300;
// A whole read on the 2400-baud virtual exchange is well on its way by then.
constexpr int TransferShotMs = 2500;
// The short dials of the virtual exchange, read and compared with the window's.
constexpr int ComparedPage = int(MainPage::ShortDials);

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

void TourDialogs::showDifferences(QWidget *parent, const std::vector<Difference> &differences)
{
    MessageBoxDialogs().showDifferences(parent, differences);
}

void TourDialogs::showVerification(QWidget *parent, const std::vector<Difference> &differences)
{
    MessageBoxDialogs().showVerification(parent, differences);
}

ScreenshotTour::ScreenshotTour(TMainForm &window, const QString &folder)
    : window_(window)
    , folder_(folder)
{
}

void ScreenshotTour::start()
{
    QDir().mkpath(folder_);
    planPageShots();
    QTimer::singleShot(FirstShotMs, this, &ScreenshotTour::step);
}

void ScreenshotTour::planPageShots()
{
    window_.ensurePagesBuilt();
    auto *pages = window_.findChild<QTabWidget *>(QStringLiteral("pcMain"));
    for (int page = 0; page < pages->count(); ++page) {
        // A page the model hides (PE) has no picture.
        if (!pages->isTabVisible(page))
            continue;
        // "4-zkracene-volby": the page's caption without accents.
        const QString name = QStringLiteral("%1-%2").arg(page + 1).arg(
            fileNamePart(pages->tabText(page)).replace(u'_', u'-'));
        // A page with tabs of its own gets one picture a tab.
        QTabBar *tabs = nullptr;
        for (QTabBar *bar : pages->widget(page)->findChildren<QTabBar *>()) {
            if (bar->count() > 1) {
                tabs = bar;
                break;
            }
        }
        if (!tabs) {
            shots_.push_back({page, nullptr, 0, name});
            continue;
        }
        for (int tab = 0; tab < tabs->count(); ++tab)
            shots_.push_back({page, tabs, tab, QStringLiteral("%1-%2").arg(name).arg(tab + 1)});
    }
}

void ScreenshotTour::step()
{
    auto *pages = window_.findChild<QTabWidget *>(QStringLiteral("pcMain"));
    if (step_ < shots_.size()) {
        const Shot &shot = shots_[step_++];
        pages->setCurrentIndex(shot.page);
        if (shot.tabs)
            shot.tabs->setCurrentIndex(shot.tab);
        // Let the page settle before its picture is taken.
        QTimer::singleShot(SettleMs, this, [this, name = shot.name] {
            save(window_, name);
            step();
        });
        return;
    }
    if (step_ == shots_.size()) {
        ++step_;
        pages->setCurrentIndex(int(MainPage::Setup));
        window_.actions().acReceive->trigger();
        QTimer::singleShot(TransferShotMs, this, &ScreenshotTour::step);
        return;
    }
    if (step_ == shots_.size() + 1) {
        ++step_;
        save(window_, QStringLiteral("6-prenos"));
        window_.actions().acStop->trigger();
        window_.actions().acAbout->trigger();
        QTimer::singleShot(SettleMs, this, &ScreenshotTour::step);
        return;
    }
    if (step_ == shots_.size() + 2) {
        ++step_;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible()) {
                save(*box, QStringLiteral("7-o-aplikaci"));
                box->close();
            }
        }
        pages->setCurrentIndex(ComparedPage);
        window_.actions().acCompare->trigger();
        QTimer::singleShot(SettleMs, this, &ScreenshotTour::step);
        return;
    }
    if (!window_.engine().isIdle()) {
        QTimer::singleShot(SettleMs, this, &ScreenshotTour::step);
        return;
    }
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<DifferencesDialog *>(widget);
            dialog && dialog->isVisible())
            save(*dialog, QStringLiteral("8-porovnani"));
    }
    QApplication::quit();
}

void ScreenshotTour::save(QWidget &widget, const QString &name)
{
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    // What the screen shows, as the user sees it: a widget that leaves part of its
    // rectangle unpainted leaves there what was on the screen before.
    QPixmap picture = widget.screen()->grabWindow(widget.winId());
    if (picture.isNull())
        picture = widget.grab();
    if (!picture.save(path))
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

} // namespace ornis
