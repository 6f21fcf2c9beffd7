#include "LineDriver.h"

#include "SimulatedPort.h"
#include "link/TransferEngine.h"

namespace ornis::sim {

std::size_t deliver(TransferEngine &engine, SimulatedPort &port, std::size_t arrivals)
{
    std::size_t delivered = 0;
    while (delivered < arrivals && port.bytesAvailable() > 0) {
        engine.bytesArrived(port.bytesAvailable());
        ++delivered;
    }
    return delivered;
}

std::size_t runToIdle(TransferEngine &engine, SimulatedPort &port, std::size_t maxArrivals)
{
    std::size_t delivered = 0;
    while (!engine.isIdle() && delivered < maxArrivals) {
        if (port.bytesAvailable() > 0) {
            engine.bytesArrived(port.bytesAvailable());
            ++delivered;
        } else if (engine.answerTimerArmed()) {
            port.stopAnswerTimer(); // the one-shot timer has run out
            engine.timerFired();
        } else {
            break; // no timer (timeout 0): the transfer waits for ever
        }
    }
    return delivered;
}

} // namespace ornis::sim
