#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace ornis::cli {

// Turns SIGINT, SIGTERM and SIGHUP (Ctrl+C, a timer's stop, a dropped session) into an
// event of the one event loop, so that a transfer is stopped like any other stop: the
// handler only writes the signal's number into a socket pair, and a notifier reads it. A
// second signal ends the process at once, with 128 + its number. One instance at a time;
// the signals get their default handling back when it goes. Does nothing on Windows.
class StopSignals final : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // The first signal's number; 0 while none came.
    [[nodiscard]] int received() const { return received_; }
    // The exit status that reports the signal: 128 + its number.
    [[nodiscard]] int exitStatus() const { return 128 + received_; }
    // "SIGINT", "SIGTERM" or "SIGHUP"; "signal N" for another.
    [[nodiscard]] QString receivedName() const;

signals:
    void stopRequested(int signalNumber);

private:
    void takeSignal();

    QSocketNotifier *notifier_ = nullptr;
    int received_ = 0;
};

} // namespace ornis::cli
