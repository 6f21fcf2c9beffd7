#pragma once

#include "SiteList.h"
#include "SiteOutcome.h"
#include "TransferRunner.h"
#include "config/Blocks.h"
#include "config/ExchangeConfig.h"
#include "config/Status.h"
#include "link/LinkPort.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace ornis::cli {

struct BackupOptions
{
    QString dir; // DIR/NAME/YYYY-MM-DD_HH-MM-SS.json
    std::optional<Block> block; // nothing: every block the site's model has
    int timeoutMs = DefaultAnswerTimeoutMs;
    int parallel = 0; // at most this many sites at a time; 0: all at once
    QString traceDir; // D/NAME.trace; empty: no traces
};

// One site of a fleet backup: its folder and trace made ready, its exchange read, and what
// was read kept as a new file of the site's folder when it differs from the newest backup
// there (or there is none). Anything wrong with the site fails the site alone.
class SiteBackup
{
public:
    using Ended = std::function<void(const SiteOutcome &)>;

    // `fileName` names the new backup in the site's folder (YYYY-MM-DD_HH-MM-SS.json).
    SiteBackup(std::size_t index, Site site, const BackupOptions &options, QString fileName,
        TransferRunner::Listener listener);
    ~SiteBackup();

    // Reads the site; `ended` follows once, from the event loop.
    void start(Ended ended);
    // Ends the read with the stop sequence; the site then fails as "interrupted".
    void stop();
    // The outcome of a site that never started because the run was stopped first.
    [[nodiscard]] SiteOutcome interruptedBeforeStart() const;

private:
    // Failed, with no reason yet.
    [[nodiscard]] SiteOutcome failedOutcome() const;
    [[nodiscard]] Status prepare();
    void transferDone(const Status &status);
    // Compares what was read with the newest backup and writes a new one when they differ.
    [[nodiscard]] Status keep(SiteOutcome &outcome);
    // The newest earlier backup of the folder holding the blocks read, to read over.
    void loadNewestBackup();
    void end(SiteOutcome outcome);

    std::size_t index_;
    Site site_;
    const BackupOptions &options_;
    QString fileName_;
    QString folder_;
    BlockSet blocks_;
    ExchangeConfig config_; // the read stores into it
    std::optional<ExchangeConfig> newest_;
    TransferRunner runner_;
    std::size_t transferCount_ = 0; // the transfers of the read
    QDateTime started_;
    QElapsedTimer clock_;
    Ended ended_;
};

} // namespace ornis::cli
