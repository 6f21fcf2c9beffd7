#pragma once

#include "UserDialogs.h"

namespace ornis {

// The user's answers come from window-modal message boxes and dialogs, opened without a
// nested event loop: the link keeps running while one is up.
class MessageBoxDialogs final : public UserDialogs
{
public:
    void ask(QWidget *parent, const QString &question, std::function<void()> onYes) override;
    void showError(QWidget *parent, const QString &message) override;
    void showAbout(QWidget *parent) override;
    void chooseFile(QWidget *parent, const FileDialogSetup &setup,
        std::function<void(const ChosenFile &file)> onChosen) override;
    void choosePrinter(
        QWidget *parent, QPrinter &printer, std::function<void()> onAccepted) override;
    void showPrintPreview(
        QWidget *parent, QPrinter &printer, std::function<void(QPrinter &printer)> paint) override;
    void showDifferences(QWidget *parent, const std::vector<Difference> &differences) override;
    void showVerification(QWidget *parent, const std::vector<Difference> &differences) override;
};

} // namespace ornis
