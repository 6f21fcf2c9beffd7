#pragma once

#include "PcClock.h"
#include "config/Status.h"
#include "link/TransferMode.h"
#include "link/TransferObserver.h"
#include "qtlink/LinePort.h"
#include "qtlink/TracingPort.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ornis {
struct ExchangeConfig;
class TransferEngine;
} // namespace ornis

namespace ornis::cli {

class Progress;

// Runs one transfer over a serial port or a network connection in the event loop, from
// opening the port to the engine's return to idle.
class TransferRunner final : public QObject, private TransferObserver
{
    Q_OBJECT

public:
    using Done = std::function<void(const Status &)>;

    TransferRunner(ExchangeConfig &config, Progress &progress, QObject *parent = nullptr);
    ~TransferRunner() override;

    // Records every byte of the transfer into the file at `path` (emptied now).
    [[nodiscard]] Status traceInto(const QString &path);

    // Opens `port` (as the user gives it: ttyUSB0, tcp://HOST:PORT...) and starts `mode`. `done`
    // follows exactly once, from the event loop, with the port's error or the engine's message
    // ("Timeout on ...") on failure.
    void run(const QString &port, TransferMode mode, int timeoutMs, Done done);

private:
    // TransferObserver
    void transferModeChanged(TransferMode mode) override;
    void progressChanged(bool visible, int percent) override;
    void transferFailed(const std::string &message) override;

    // The engine reports a failure right after it returns to idle, so the end is taken up
    // once the current event is over.
    void finishLater();
    void finish();

    ExchangeConfig &config_;
    Progress &progress_;
    PcClock clock_;
    LinePort line_;
    TracingPort port_; // over line_
    std::unique_ptr<TransferEngine> engine_;
    std::optional<std::string> failure_;
    bool running_ = false;
    bool finishing_ = false;
    Done done_;
};

} // namespace ornis::cli
