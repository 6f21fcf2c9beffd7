#pragma once

#include "ui/dialogs/UserDialogs.h"

#include <QObject>
#include <QString>
#include <vector>

class QTabBar;

namespace ornis {

class TMainForm;

// Answers every question with Yes and writes errors to stderr: the tour runs unattended.
class TourDialogs final : public UserDialogs
{
public:
    void ask(QWidget *parent, const QString &question, std::function<void()> onYes) override;
    void showError(QWidget *parent, const QString &message) override;
    void showAbout(QWidget *parent) override;
    // Files and printing are left alone: every dialog is cancelled.
    void chooseFile(
        QWidget *, const FileDialogSetup &, std::function<void(const ChosenFile &)>) override
    {
    }
    void choosePrinter(QWidget *, QPrinter &, std::function<void()>) override { }
    void showPrintPreview(QWidget *, QPrinter &, std::function<void(QPrinter &)>) override { }
    void showDifferences(QWidget *parent, const std::vector<Difference> &differences) override;
    void showVerification(QWidget *parent, const std::vector<Difference> &differences) override;
};

// Saves a picture of every page of the window into a folder, then one of a read in
// progress, one of the about box and one of a comparison with the exchange, and quits.
// For the README and for looking at the window without a desktop.
class ScreenshotTour final : public QObject
{
    Q_OBJECT

public:
    ScreenshotTour(TMainForm &window, const QString &folder);
    void start();

private:
    // One picture of a page, or of one tab of a page that has tabs of its own.
    struct Shot
    {
        int page;
        QTabBar *tabs;
        int tab;
        QString name;
    };

    void planPageShots();
    void step();
    void save(QWidget &widget, const QString &name);

    TMainForm &window_;
    QString folder_;
    std::vector<Shot> shots_;
    std::size_t step_ = 0;
};

} // namespace ornis
