#pragma once

#include "common/SystemClock.h"
#include "config/Status.h"
#include "link/TransferMode.h"
#include "link/TransferObserver.h"
#include "qtlink/AddressedPort.h"
#include "qtlink/TracingPort.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ornis {
struct ExchangeConfig;
class TransferEngine;
} // namespace ornis

namespace ornis::cli {

class Progress;

// How far a run got, to tell the user what the exchange may hold.
struct RunRecord
{
    std::vector<TransferMode> closedSteps; // each block or step that went through its closing
    std::optional<TransferMode> cutStep; // the step under way when the run ended early
    std::size_t completedTransfers = 0; // of the modes given to run()
    bool stopped = false; // stop() ended it
};

// Runs transfers over a serial port or a network connection in the event loop, one after the
// other, from opening the port to the engine's return to idle after the last.
class TransferRunner final : public QObject, private TransferObserver
{
    Q_OBJECT

public:
    using Done = std::function<void(const Status &)>;
    // A block began, or the transfer is over (Idle); its percentage so far.
    using Listener = std::function<void(TransferMode mode, int percent)>;

    TransferRunner(ExchangeConfig &config, Progress &progress, QObject *parent = nullptr);
    // Tells `listener` instead of writing a progress of its own.
    TransferRunner(ExchangeConfig &config, Listener listener, QObject *parent = nullptr);
    ~TransferRunner() override;

    // Records every byte of the transfers into the file at `path` (emptied now).
    [[nodiscard]] Status traceInto(const QString &path);

    // Opens `port` (as the user gives it: ttyUSB0, tcp://HOST:PORT...) and runs `modes` in
    // turn; the first failure ends the run. `done` follows exactly once, from the event
    // loop, with the port's error or the engine's message ("Timeout on ...") on failure. A
    // run that stop() ended is no failure of the line: record() tells how far it got, and
    // every caller must look there before it keeps what was read.
    void run(const QString &port, std::vector<TransferMode> modes, int timeoutMs, Done done);

    // Ends the run: the transfer under way goes through the engine's stop sequence (ends at
    // once while a network connection is still being made), and no further mode starts. `done`
    // follows as for any end; a second stop while the first waits ends the transfer at once only
    // when no answer timer runs.
    void stop();

    // What the reads stored other than the exchange holds, one message each.
    [[nodiscard]] const std::vector<std::string> &readWarnings() const { return warnings_; }
    [[nodiscard]] const RunRecord &record() const { return record_; }
    // Why the line trace could not be written in full ("Cannot write the line trace t.txt:
    // No space left on device"); the transfers went on without it.
    [[nodiscard]] const std::optional<std::string> &traceFailure() const { return traceFailure_; }

private:
    // TransferObserver
    void transferModeChanged(TransferMode mode) override;
    void progressChanged(bool visible, int percent) override;
    void readWarning(const std::string &message) override;
    void blockClosed(TransferMode mode) override;
    void transferFailed(const std::string &message) override;
    void transferEnded(TransferEnd end) override;

    // The engine reports a failure right after it returns to idle, so the end is taken up
    // once the current event is over.
    void finishLater();
    void finish();
    // Starts the next mode; false when it could not start (failure_ says why).
    bool startNext();

    ExchangeConfig &config_;
    Progress *progress_ = nullptr;
    Listener listener_;
    TransferMode mode_ = TransferMode::Idle; // for the listener
    SystemClock clock_;
    AddressedPort line_;
    TracingPort port_; // over line_
    std::unique_ptr<TransferEngine> engine_;
    std::vector<TransferMode> modes_; // still to run
    std::optional<std::string> failure_;
    std::vector<std::string> warnings_;
    RunRecord record_;
    std::optional<std::string> traceFailure_;
    bool running_ = false;
    bool finishing_ = false;
    Done done_;
};

} // namespace ornis::cli
