#include "LineFleet.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <poll.h>

namespace ornis::sim {

namespace {

int64_t nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

LineFleet::LineFleet(int baud, const Faults &faults, const VirtualExchange::Memory &memory)
    : baud_(baud)
    , faults_(faults)
    , memory_(memory)
{
}

void LineFleet::add(std::unique_ptr<ServedLine> line)
{
    Served &served = lines_.emplace_back(Served {std::move(line), {}, LinePacer(baud_), {}});
    served.exchange.memory() = memory_;
    served.exchange.setFaults(faults_);
}

bool LineFleet::receive(Served &served)
{
    std::vector<uint8_t> received;
    if (!served.line->receive(received))
        return false;
    const int64_t now = nowNs();
    for (const uint8_t byte : received) {
        std::vector<uint8_t> answer = served.exchange.receive(byte);
        if (!answer.empty())
            served.pending.push_back({served.pacer.answerDue(now, answer.size()), answer});
    }
    return sendDue(served, now);
}

bool LineFleet::sendDue(Served &served, int64_t now)
{
    while (!served.pending.empty() && served.pending.front().dueNs <= now) {
        const PendingAnswer &answer = served.pending.front();
        if (!served.line->send(answer.bytes.data(), answer.bytes.size()))
            return false;
        served.pending.pop_front();
    }
    return true;
}

int LineFleet::run(const volatile std::sig_atomic_t &stop, const sigset_t &waitMask)
{
    std::vector<pollfd> waits(lines_.size());
    while (stop == 0) {
        const int64_t now = nowNs();
        std::optional<int64_t> wake;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            Served &served = lines_[i];
            if (!sendDue(served, now))
                return 1;
            if (!served.pending.empty())
                wake = std::min(wake.value_or(INT64_MAX), served.pending.front().dueNs);
            // A TCP line waits on its listener until a program connects.
            waits[i] = {served.line->waitFd(), POLLIN, 0};
        }
        timespec timeout {};
        if (wake) {
            const int64_t wait = std::max<int64_t>(0, *wake - now);
            timeout.tv_sec = time_t(wait / 1'000'000'000);
            timeout.tv_nsec = long(wait % 1'000'000'000);
        }
        const int ready
            = ::ppoll(waits.data(), nfds_t(waits.size()), wake ? &timeout : nullptr, &waitMask);
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "ornisset-sim: %s\n", std::strerror(errno));
            return 1;
        }
        for (std::size_t i = 0; ready > 0 && i < lines_.size(); ++i) {
            if ((waits[i].revents & (POLLIN | POLLHUP | POLLERR)) && !receive(lines_[i])) {
                std::fprintf(stderr, "ornisset-sim: line %zu failed\n", i + 1);
                return 1;
            }
        }
    }
    return 0;
}

} // namespace ornis::sim
