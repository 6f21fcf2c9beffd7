#pragma once

#include "CommandLine.h"
#include "ExitCode.h"
#include "Progress.h"
#include "StopSignals.h"
#include "TransferRunner.h"
#include "config/Blocks.h"
#include "config/ExchangeConfig.h"

#include <QObject>
#include <optional>
#include <vector>

namespace ornis::cli {

// read, write, verify and clock: prepares the configuration, runs the transfers and then
// writes what a read brought or compares it. Ends the event loop with the exit status.
// SIGINT, SIGTERM and SIGHUP stop the transfer with the engine's stop sequence; nothing is
// written then, and the exit status is 128 + the signal's number.
class TransferCommand final : public QObject
{
public:
    explicit TransferCommand(const Request &request);

    void start();

private:
    // The transfers to run; nothing after a usage or file error (reported).
    [[nodiscard]] std::optional<std::vector<TransferMode>> prepare();
    // The blocks to move, out of those `file` holds (a read: all); nothing after an error.
    [[nodiscard]] std::optional<BlockSet> chooseBlocks(BlockSet held, const QString &file) const;
    // A read: the outputs can be written, before a byte is sent.
    [[nodiscard]] bool outputsWritable() const;
    // A write: every value reaches the exchange as it is, or with a warning; a value the
    // exchange would store differently is refused unless --force.
    [[nodiscard]] bool valuesSendable() const;

    void stopRequested();
    void transferDone(const Status &status);
    void endInterrupted();
    // A write that ended early: what the exchange may hold now.
    void tellPartialWrite() const;
    [[nodiscard]] ExitCode saveReadConfig();
    [[nodiscard]] ExitCode reportDifferences() const;
    void end(ExitCode code) { end(int(code)); }
    void end(int code);

    Request request_;
    ExchangeConfig config_; // what is sent, or what a read stores into
    ExchangeConfig file_; // verify: the file's values
    BlockSet blocks_;
    std::size_t writeTransfers_ = 0; // the first modes run, before any read back
    Progress progress_;
    TransferRunner runner_;
    StopSignals signals_;
    bool transferring_ = false;
    bool ended_ = false;
};

} // namespace ornis::cli
