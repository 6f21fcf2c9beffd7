#pragma once

#include "LinePacer.h"
#include "ServedLine.h"
#include "VirtualExchange.h"

#include <csignal>
#include <cstdint>
#include <deque>
#include <memory>
#include <signal.h>
#include <vector>

namespace ornis::sim {

// Several lines served from one loop, each with an exchange of its own that answers at the
// pace of its own line: the far ends of a fleet of sites, read at the same time. A late
// wake-up delays only the answers due then; no line waits for another.
class LineFleet
{
public:
    // Every exchange starts with `memory` and misbehaves as `faults` asks.
    LineFleet(int baud, const Faults &faults, const VirtualExchange::Memory &memory);

    void add(std::unique_ptr<ServedLine> line);
    [[nodiscard]] std::size_t size() const { return lines_.size(); }

    // Serves until `stop` is set or a line fails for good (then 1). The signals that
    // `waitMask` lets through arrive only while the loop waits.
    [[nodiscard]] int run(const volatile std::sig_atomic_t &stop, const sigset_t &waitMask);

private:
    struct PendingAnswer
    {
        int64_t dueNs;
        std::vector<uint8_t> bytes;
    };
    struct Served
    {
        std::unique_ptr<ServedLine> line;
        VirtualExchange exchange;
        LinePacer pacer;
        std::deque<PendingAnswer> pending;
    };

    [[nodiscard]] static bool receive(Served &served);
    [[nodiscard]] static bool sendDue(Served &served, int64_t nowNs);

    int baud_;
    Faults faults_;
    VirtualExchange::Memory memory_;
    std::vector<Served> lines_;
};

} // namespace ornis::sim
