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
#include <QThreadPool>
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
    int jobs = 0; // event loops (threads) the sites are spread over; 0: one a core
    QString traceDir; // D/NAME.trace; empty: no traces
};

// One site of a fleet backup: its folder and trace made ready, its exchange read, and what
// was read kept as a new file of the site's folder when it differs from the newest backup
// there (or there is none). Anything wrong with the site fails the site alone. Its files are
// read and written on a thread of a pool: a disk that takes its time (a sync) never holds up
// the loop that serves the lines.
class SiteBackup
{
public:
    using Ended = std::function<void(const SiteOutcome &)>;

    // `fileName` names the new backup in the site's folder (YYYY-MM-DD_HH-MM-SS.json); `files`
    // does the work on files, and outlives the site.
    SiteBackup(std::size_t index, Site site, const BackupOptions &options, QString fileName,
        QThreadPool &files, TransferRunner::Listener listener);
    ~SiteBackup();

    // Reads the site; `ended` follows once, from the event loop.
    void start(Ended ended);
    // Ends the read with the stop sequence; the site then fails as "interrupted".
    void stop();
    // The outcome of `site`, the `index`th of the list, which never started because the run
    // was stopped first.
    [[nodiscard]] static SiteOutcome interruptedBeforeStart(std::size_t index, const Site &site);

private:
    // Failed, with no reason yet.
    [[nodiscard]] SiteOutcome failedOutcome() const;
    // On the pool: the site's folder checked, its newest backup loaded, the trace's folder.
    [[nodiscard]] Status prepareFiles();
    void startRead(Status prepared);
    // Runs `work` on the pool, then what it returns in this site's loop.
    template<typename Work> void onFileThread(Work work);
    void transferDone(const Status &status);
    [[nodiscard]] SiteOutcome failedWith(const Status &status) const;
    // Compares what was read with the newest backup and writes a new one when they differ.
    [[nodiscard]] Status keep(SiteOutcome &outcome);
    // The newest earlier backup of the folder holding the blocks read, to read over.
    void loadNewestBackup();
    void end(SiteOutcome outcome);

    std::size_t index_;
    Site site_;
    const BackupOptions &options_;
    QString fileName_;
    QThreadPool &files_;
    QString folder_;
    BlockSet blocks_;
    ExchangeConfig config_; // the read stores into it
    std::optional<ExchangeConfig> newest_;
    QStringList warnings_; // for the outcome
    TransferRunner runner_;
    std::size_t transferCount_ = 0; // the transfers of the read
    bool stopped_ = false;
    QDateTime started_;
    QElapsedTimer clock_;
    Ended ended_;
};

} // namespace ornis::cli
