#pragma once

#include <QAbstractEventDispatcher>
#include <atomic>
#include <deque>
#include <unordered_map>
#include <vector>

class QSocketNotifier;

namespace ornis {

// The event dispatcher of a thread that serves hundreds of lines. It waits on every socket
// notifier at once with epoll, so a wake-up costs what is ready, not what is registered: Qt's
// own dispatchers poll every descriptor on every turn, which with many lines costs more than
// the lines' bytes. Posted events, timers and wake-ups behave as in Qt's dispatchers; every
// timer is kept as a precise one. Linux only.
class EpollDispatcher final : public QAbstractEventDispatcher
{
public:
    explicit EpollDispatcher(QObject *parent = nullptr);
    ~EpollDispatcher() override;

    // Whether the system gave what it needs; when not, use Qt's own dispatcher.
    [[nodiscard]] bool usable() const { return epoll_ >= 0 && wake_ >= 0; }

    bool processEvents(QEventLoop::ProcessEventsFlags flags) override;
    void registerSocketNotifier(QSocketNotifier *notifier) override;
    void unregisterSocketNotifier(QSocketNotifier *notifier) override;
    void registerTimer(
        int timerId, qint64 interval, Qt::TimerType timerType, QObject *object) override;
    bool unregisterTimer(int timerId) override;
    bool unregisterTimers(QObject *object) override;
    [[nodiscard]] QList<TimerInfo> registeredTimers(QObject *object) const override;
    int remainingTime(int timerId) override;
    void wakeUp() override;
    void interrupt() override;

private:
    // The notifiers of one descriptor, by QSocketNotifier::Type.
    struct Watched
    {
        QSocketNotifier *notifiers[3] = {nullptr, nullptr, nullptr};
    };
    struct Timer
    {
        int id;
        qint64 intervalMs;
        Qt::TimerType type;
        QObject *object;
        int64_t dueNs;
        bool firing = false; // its event is being delivered: not again meanwhile
    };

    // Tells epoll what the notifiers of `fd` wait for now.
    void rewatch(int fd, const Watched &watched, bool added);
    void markReady(int fd, uint32_t events);
    [[nodiscard]] int activateReady();
    [[nodiscard]] int fireDueTimers();
    // Milliseconds until the next timer is due (rounded up); -1 when none runs.
    [[nodiscard]] int msToNextTimer() const;
    [[nodiscard]] std::vector<Timer>::iterator timer(int timerId);

    int epoll_ = -1;
    int wake_ = -1; // an eventfd that wakeUp() writes
    std::atomic<bool> wakeUpSent_ {false};
    std::atomic<bool> interrupted_ {false};
    std::unordered_map<int, Watched> watched_;
    std::vector<QSocketNotifier *> alwaysReady_; // descriptors epoll refuses (plain files)
    std::deque<QSocketNotifier *> ready_; // to activate, in turn
    std::vector<Timer> timers_;
    std::vector<int> due_; // the timers due in one turn
};

} // namespace ornis
