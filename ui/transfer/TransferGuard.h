#pragma once

#include <QString>
#include <functional>
#include <vector>

class QObject;
class QWidget;

namespace ornis {

class TransferEngine;
class UserDialogs;

// A transfer owns the line and the configuration it reads into or writes from. An action
// that would replace either while one runs (another file, the factory values, another
// model or port, a comparison) goes through here: the user is asked whether to end the
// transfer; Yes ends it with the stop sequence and carries the action out once the engine
// is idle ('X' or the answer timeout), No leaves the transfer running and does nothing.
class TransferGuard final
{
public:
    static const QString Question; // "Probíhá přenos dat. Přerušit ho?"

    // The question belongs to `dialogParent`; the waiting actions run while `context` lives.
    TransferGuard(
        TransferEngine &engine, UserDialogs &dialogs, QWidget *dialogParent, QObject &context);

    // Runs `action` now when no transfer runs, else as described above.
    void runWhenIdle(std::function<void()> action);
    // Ends a running transfer without asking and runs `action` once the engine is idle.
    void endThenRun(std::function<void()> action);
    // The engine is idle again: the actions waiting for it run, from the event loop (the
    // engine is still inside the input that ended the transfer).
    void transferEnded();

private:
    void runWaiting();

    TransferEngine &engine_;
    UserDialogs &dialogs_;
    QWidget *dialogParent_;
    QObject &context_;
    std::vector<std::function<void()>> waiting_;
};

} // namespace ornis
