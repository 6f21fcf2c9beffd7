#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ornis {

// Every question and message the window puts to the user goes through here, so that the
// tests can answer them. Nothing waits for the answer: the window goes on when the user
// has answered, from the event loop.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    // A Yes/No question; `onYes` runs only if the answer is Yes.
    virtual void ask(QWidget *parent, const QString &question, std::function<void()> onYes) = 0;
    // The one error box of the program.
    virtual void showError(QWidget *parent, const QString &message) = 0;
    virtual void showAbout(QWidget *parent) = 0;
};

} // namespace ornis
