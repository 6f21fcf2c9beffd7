#pragma once

#include "ui/UserDialogs.h"

namespace ornis {

// The user's answers come from window-modal message boxes, opened without a nested event
// loop: the link keeps running while a box is up.
class MessageBoxDialogs final : public UserDialogs
{
public:
    void ask(QWidget *parent, const QString &question, std::function<void()> onYes) override;
    void showError(QWidget *parent, const QString &message) override;
    void showAbout(QWidget *parent) override;
};

} // namespace ornis
