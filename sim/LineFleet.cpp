#include "LineFleet.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/epoll.h>
#include <unistd.h>

namespace ornis::sim {

namespace {

constexpr int MaxEvents = 256;

int64_t nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void reportViolation(std::size_t line, const std::string &what)
{
    std::fprintf(stderr, "ornisset-sim: protocol violation: line %zu: %s\n", line, what.c_str());
}

class Descriptor
{
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    [[nodiscard]] int get() const { return fd_; }

private:
    int fd_;
};

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

bool LineFleet::watch(int epoll, std::size_t index)
{
    Served &served = lines_[index];
    const int fd = served.line->waitFd();
    if (fd == served.waitingOn)
        return true;
    // The one before may be closed already (a TCP client gone), which took it out.
    if (served.waitingOn >= 0)
        ::epoll_ctl(epoll, EPOLL_CTL_DEL, served.waitingOn, nullptr);
    served.waitingOn = fd;
    epoll_event event {};
    event.events = EPOLLIN;
    event.data.u64 = index;
    return fd < 0 || ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

bool LineFleet::receive(std::size_t index)
{
    Served &served = lines_[index];
    received_.clear();
    if (!served.line->receive(received_))
        return false;
    const int64_t now = nowNs();
    for (const uint8_t byte : received_) {
        // A paced answer still waiting here has not reached the program yet.
        if (!served.pending.empty()) {
            char what[64];
            std::snprintf(what, sizeof what,
                "byte 0x%02X arrived before the answer to the one before", byte);
            reportViolation(index + 1, what);
        }
        const std::size_t violations = served.exchange.violations().size();
        const VirtualExchange::Reply reply = served.exchange.reply(byte);
        if (served.exchange.violations().size() > violations)
            reportViolation(index + 1, served.exchange.violations().back());
        if (reply.empty())
            continue;
        const int64_t due = served.pacer.answerDue(now, reply.size);
        served.pending.push_back({due, reply});
        due_.emplace(due, index);
    }
    return true;
}

bool LineFleet::sendDue(int64_t now)
{
    // Each line's answers are due one after the other, so the earliest of them all is always
    // the first of its own line.
    while (!due_.empty() && due_.top().first <= now) {
        Served &served = lines_[due_.top().second];
        due_.pop();
        const PendingAnswer &answer = served.pending.front();
        if (!served.line->send(answer.reply.data(), answer.reply.size))
            return false;
        served.pending.pop_front();
    }
    return true;
}

int LineFleet::run(const volatile std::sig_atomic_t &stop, const sigset_t &waitMask)
{
    const Descriptor epoll(::epoll_create1(EPOLL_CLOEXEC));
    bool watching = epoll.get() >= 0;
    for (std::size_t i = 0; watching && i < lines_.size(); ++i)
        watching = watch(epoll.get(), i);
    if (!watching) {
        std::fprintf(stderr, "ornisset-sim: %s\n", std::strerror(errno));
        return 1;
    }
    epoll_event events[MaxEvents];
    while (stop == 0) {
        const int64_t now = nowNs();
        if (!sendDue(now))
            return 1;
        timespec timeout {};
        if (!due_.empty()) {
            const int64_t wait = std::max<int64_t>(0, due_.top().first - now);
            timeout.tv_sec = time_t(wait / 1'000'000'000);
            timeout.tv_nsec = long(wait % 1'000'000'000);
        }
        const int ready = ::epoll_pwait2(
            epoll.get(), events, MaxEvents, due_.empty() ? nullptr : &timeout, &waitMask);
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "ornisset-sim: %s\n", std::strerror(errno));
            return 1;
        }
        for (int i = 0; i < ready; ++i) {
            const auto index = std::size_t(events[i].data.u64);
            // A hang-up is read as the end of the input: the line tells what it means.
            if (!receive(index) || !watch(epoll.get(), index)) {
                std::fprintf(stderr, "ornisset-sim: line %zu failed\n", index + 1);
                return 1;
            }
        }
    }
    return 0;
}

} // namespace ornis::sim
