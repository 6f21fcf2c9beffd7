#include "TransferGuard.h"

#include "link/TransferEngine.h"
#include "ui/dialogs/UserDialogs.h"

#include <QTimer>
#include <QWidget>
#include <utility>

namespace ornis {

const QString TransferGuard::Question = QStringLiteral("Probíhá přenos dat. Přerušit ho?");

TransferGuard::TransferGuard(
    TransferEngine &engine, UserDialogs &dialogs, QWidget *dialogParent, QObject &context)
    : engine_(engine)
    , dialogs_(dialogs)
    , dialogParent_(dialogParent)
    , context_(context)
{
}

void TransferGuard::runWhenIdle(std::function<void()> action)
{
    if (engine_.isIdle()) {
        action();
        return;
    }
    // Ending it is under way already (the user stopped it, or an earlier action did).
    if (engine_.transferMode() == TransferMode::Stopping) {
        waiting_.push_back(std::move(action));
        return;
    }
    dialogs_.ask(dialogParent_, Question,
        [this, action = std::move(action)]() mutable { endThenRun(std::move(action)); });
}

void TransferGuard::endThenRun(std::function<void()> action)
{
    // The transfer may have ended while the question was open.
    if (engine_.isIdle()) {
        action();
        return;
    }
    waiting_.push_back(std::move(action));
    if (engine_.transferMode() != TransferMode::Stopping)
        engine_.stop(); // a stop that fails ends the transfer at once, and reports it
}

void TransferGuard::transferEnded()
{
    if (!waiting_.empty())
        QTimer::singleShot(0, &context_, [this] { runWaiting(); });
}

void TransferGuard::runWaiting()
{
    std::vector<std::function<void()>> actions = std::exchange(waiting_, {});
    for (std::function<void()> &action : actions) {
        // One of them may have started a transfer: the rest ask again.
        runWhenIdle(std::move(action));
    }
}

} // namespace ornis
