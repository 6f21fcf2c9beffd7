#pragma once

#include "LinePacer.h"
#include "ServedLine.h"
#include "VirtualExchange.h"

#include <csignal>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <queue>
#include <signal.h>
#include <vector>

namespace ornis::sim {

// Several lines served from one loop, each with an exchange of its own that answers at the
// pace of its own line: the far ends of a fleet of sites, read at the same time. A late
// wake-up delays only the answers due then; no line waits for another. The loop's work
// grows with the bytes that travel, not with the number of lines: it waits on all lines at
// once (epoll) and keeps the answers on their way in order of when they are due.
class LineFleet
{
public:
    // Every exchange starts with `memory` and misbehaves as `faults` asks.
    LineFleet(int baud, const Faults &faults, const VirtualExchange::Memory &memory);

    void add(std::unique_ptr<ServedLine> line);
    [[nodiscard]] std::size_t size() const { return lines_.size(); }

    // Serves until `stop` is set or a line fails for good (then 1). The signals that
    // `waitMask` lets through arrive only while the loop waits. With a paced line, a byte
    // that arrives before the answer to the one before, and what else no exchange makes
    // sense of, are reported on stderr as protocol violations.
    [[nodiscard]] int run(const volatile std::sig_atomic_t &stop, const sigset_t &waitMask);

private:
    struct PendingAnswer
    {
        int64_t dueNs;
        VirtualExchange::Reply reply;
    };
    struct Served
    {
        std::unique_ptr<ServedLine> line;
        VirtualExchange exchange;
        LinePacer pacer;
        std::deque<PendingAnswer> pending;
        int waitingOn = -1; // the descriptor registered for it
    };
    // An answer on its way: when it is due and on which line.
    using Due = std::pair<int64_t, std::size_t>;

    [[nodiscard]] bool watch(int epoll, std::size_t index);
    [[nodiscard]] bool receive(std::size_t index);
    [[nodiscard]] bool sendDue(int64_t nowNs);

    int baud_;
    Faults faults_;
    VirtualExchange::Memory memory_;
    std::vector<Served> lines_;
    std::priority_queue<Due, std::vector<Due>, std::greater<>> due_;
    std::vector<uint8_t> received_; // kept, so that its room is
};

} // namespace ornis::sim
