#include "EpollDispatcher.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimerEvent>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace ornis {

namespace {

constexpr int MaxEvents = 256;

int64_t nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// What a notifier of each type waits for, and what wakes it (as Qt's dispatchers do it).
constexpr uint32_t Awaited[] = {EPOLLIN, EPOLLOUT, EPOLLPRI};
constexpr uint32_t Wakes[] = {
    EPOLLIN | EPOLLHUP | EPOLLERR, EPOLLOUT | EPOLLHUP | EPOLLERR, EPOLLPRI | EPOLLHUP | EPOLLERR};

} // namespace

EpollDispatcher::EpollDispatcher(QObject *parent)
    : QAbstractEventDispatcher(parent)
    , epoll_(::epoll_create1(EPOLL_CLOEXEC))
    , wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    epoll_event event {};
    event.events = EPOLLIN;
    event.data.fd = wake_;
    if (usable() && ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &event) != 0) {
        ::close(epoll_);
        epoll_ = -1;
    }
}

EpollDispatcher::~EpollDispatcher()
{
    for (const int fd : {epoll_, wake_}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool EpollDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags)
{
    interrupted_ = false;
    emit awake();
    QCoreApplication::sendPostedEvents();
    if (interrupted_)
        return false;

    const bool canWait = flags.testFlag(QEventLoop::WaitForMoreEvents);
    int timeoutMs = canWait ? msToNextTimer() : 0;
    if (!alwaysReady_.empty())
        timeoutMs = 0;
    if (canWait)
        emit aboutToBlock();
    epoll_event events[MaxEvents];
    int count = ::epoll_wait(epoll_, events, MaxEvents, timeoutMs);
    if (count < 0)
        count = 0; // EINTR: a signal came; the loop turns again
    if (canWait)
        emit awake();

    int handled = 0;
    for (int i = 0; i < count; ++i) {
        if (events[i].data.fd != wake_) {
            markReady(events[i].data.fd, events[i].events);
            continue;
        }
        uint64_t wakeUps = 0;
        [[maybe_unused]] const ssize_t got = ::read(wake_, &wakeUps, sizeof wakeUps);
        wakeUpSent_ = false; // what was posted before is sent on the next turn
        ++handled;
    }
    if (!flags.testFlag(QEventLoop::ExcludeSocketNotifiers)) {
        ready_.insert(ready_.end(), alwaysReady_.begin(), alwaysReady_.end());
        handled += activateReady();
    }
    handled += fireDueTimers();
    return handled > 0;
}

void EpollDispatcher::markReady(int fd, uint32_t events)
{
    const auto found = watched_.find(fd);
    if (found == watched_.end())
        return;
    for (int type = 0; type < 3; ++type) {
        QSocketNotifier *notifier = found->second.notifiers[type];
        if (notifier && (events & Wakes[type]))
            ready_.push_back(notifier);
    }
}

int EpollDispatcher::activateReady()
{
    int activated = 0;
    // A notifier unregistered meanwhile has left the queue (unregisterSocketNotifier).
    while (!ready_.empty()) {
        QSocketNotifier *notifier = ready_.front();
        ready_.pop_front();
        QEvent event(QEvent::SockAct);
        QCoreApplication::sendEvent(notifier, &event);
        ++activated;
    }
    return activated;
}

void EpollDispatcher::registerSocketNotifier(QSocketNotifier *notifier)
{
    const int fd = int(notifier->socket());
    const auto [found, added] = watched_.try_emplace(fd);
    found->second.notifiers[notifier->type()] = notifier;
    rewatch(fd, found->second, added);
}

void EpollDispatcher::unregisterSocketNotifier(QSocketNotifier *notifier)
{
    std::erase(ready_, notifier);
    std::erase(alwaysReady_, notifier);
    const int fd = int(notifier->socket());
    const auto found = watched_.find(fd);
    if (found == watched_.end() || found->second.notifiers[notifier->type()] != notifier)
        return;
    found->second.notifiers[notifier->type()] = nullptr;
    const auto &notifiers = found->second.notifiers;
    if (std::any_of(std::begin(notifiers), std::end(notifiers), [](auto *n) { return n; })) {
        rewatch(fd, found->second, false);
        return;
    }
    // Already gone when the descriptor was closed first.
    ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
    watched_.erase(found);
}

void EpollDispatcher::rewatch(int fd, const Watched &watched, bool added)
{
    epoll_event event {};
    event.data.fd = fd;
    for (int type = 0; type < 3; ++type) {
        if (watched.notifiers[type])
            event.events |= Awaited[type];
    }
    if (::epoll_ctl(epoll_, added ? EPOLL_CTL_ADD : EPOLL_CTL_MOD, fd, &event) == 0)
        return;
    if (errno == EPERM) {
        // A plain file is always ready, as poll() says of it.
        for (QSocketNotifier *notifier : watched.notifiers) {
            if (notifier
                && std::find(alwaysReady_.begin(), alwaysReady_.end(), notifier)
                    == alwaysReady_.end())
                alwaysReady_.push_back(notifier);
        }
    } else if (errno == ENOENT) {
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event); // closed and opened again meanwhile
    }
}

void EpollDispatcher::registerTimer(
    int timerId, qint64 interval, Qt::TimerType timerType, QObject *object)
{
    timers_.push_back({timerId, interval, timerType, object, nowNs() + interval * 1'000'000});
}

std::vector<EpollDispatcher::Timer>::iterator EpollDispatcher::timer(int timerId)
{
    return std::find_if(
        timers_.begin(), timers_.end(), [timerId](const Timer &t) { return t.id == timerId; });
}

bool EpollDispatcher::unregisterTimer(int timerId)
{
    const auto found = timer(timerId);
    if (found == timers_.end())
        return false;
    timers_.erase(found);
    return true;
}

bool EpollDispatcher::unregisterTimers(QObject *object)
{
    return std::erase_if(timers_, [object](const Timer &t) { return t.object == object; }) > 0;
}

QList<QAbstractEventDispatcher::TimerInfo> EpollDispatcher::registeredTimers(QObject *object) const
{
    QList<TimerInfo> infos;
    for (const Timer &t : timers_) {
        if (t.object == object)
            infos.append(TimerInfo(t.id, int(t.intervalMs), t.type));
    }
    return infos;
}

int EpollDispatcher::remainingTime(int timerId)
{
    const auto found = timer(timerId);
    if (found == timers_.end())
        return -1;
    return int(std::max<int64_t>(0, found->dueNs - nowNs()) / 1'000'000);
}

int EpollDispatcher::msToNextTimer() const
{
    int64_t next = INT64_MAX;
    for (const Timer &t : timers_) {
        if (!t.firing)
            next = std::min(next, t.dueNs);
    }
    if (next == INT64_MAX)
        return -1;
    const int64_t waitNs = std::max<int64_t>(0, next - nowNs());
    return int(std::min<int64_t>((waitNs + 999'999) / 1'000'000, INT32_MAX));
}

int EpollDispatcher::fireDueTimers()
{
    const int64_t now = nowNs();
    due_.clear();
    for (const Timer &t : timers_) {
        if (t.dueNs <= now && !t.firing)
            due_.push_back(t.id);
    }
    int fired = 0;
    // Each due timer once; one stopped or restarted by an earlier one's event is skipped.
    for (const int id : std::vector<int>(due_)) {
        auto found = timer(id);
        if (found == timers_.end() || found->firing || found->dueNs > now)
            continue;
        const int64_t intervalNs = found->intervalMs * 1'000'000;
        // A late turn does not fire it twice to catch up.
        found->dueNs += intervalNs;
        if (found->dueNs <= now && intervalNs > 0)
            found->dueNs = now + intervalNs;
        found->firing = true;
        QTimerEvent event(id);
        QCoreApplication::sendEvent(found->object, &event);
        ++fired;
        found = timer(id);
        if (found != timers_.end())
            found->firing = false;
    }
    return fired;
}

void EpollDispatcher::wakeUp()
{
    if (wakeUpSent_.exchange(true))
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof one);
}

void EpollDispatcher::interrupt()
{
    interrupted_ = true;
    wakeUp();
}

} // namespace ornis
