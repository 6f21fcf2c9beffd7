#pragma once

#include <cstddef>

namespace ornis {
class TransferEngine;
}

namespace ornis::sim {

class SimulatedPort;

// Drives a transfer over a SimulatedPort without time: every waiting answer is handed to
// the engine as one arrival; when nothing waits and the answer timer is armed, the timer
// fires. Returns the number of arrivals delivered. Stops after `maxArrivals` arrivals.
std::size_t runToIdle(
    TransferEngine &engine, SimulatedPort &port, std::size_t maxArrivals = 1'000'000);

// Delivers at most `arrivals` arrivals (fewer if the line falls quiet); the timer is not
// fired. Returns the number delivered.
std::size_t deliver(TransferEngine &engine, SimulatedPort &port, std::size_t arrivals);

} // namespace ornis::sim
