#pragma once

#include "ExitCode.h"
#include "SiteList.h"
#include "config/Blocks.h"
#include "config/Status.h"
#include "link/TransferMode.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ornis::cli {

struct BackupOptions
{
    QString dir; // DIR/NAME/YYYY-MM-DD_HH-MM-SS.json
    std::optional<Block> block; // nothing: every block the site's model has
    int timeoutMs = 4000;
    int parallel = 0; // at most this many sites at a time; 0: all at once
    QString traceDir; // D/NAME.trace; empty: no traces
};

// What a backup tells about its sites as they go: a progress display.
class SiteProgress
{
public:
    virtual ~SiteProgress() = default;
    // The site's transfer runs `mode` (Idle: not yet, or between blocks), at `percent`.
    virtual void siteMoved(std::size_t site, TransferMode mode, int percent) = 0;
    // The site is over: `outcome` is what the report says of it.
    virtual void siteEnded(std::size_t site, const QString &outcome) = 0;
};

// Backs up a fleet of exchanges: every site of a list read at once (or `parallel` at a
// time), each on its own engine and port in the one event loop, each read kept as the JSON
// form in a new file of its own folder and compared with its previous backup there.
class FleetBackup final : public QObject
{
public:
    using Done = std::function<void(ExitCode)>;

    // `stamp` names the files of this run.
    FleetBackup(std::vector<Site> sites, BackupOptions options, const QDateTime &stamp,
        SiteProgress &progress);
    ~FleetBackup() override;

    // Checks the folders and opens the traces before the first byte (a failure is reported
    // on stderr and ends at once with UsageOrFileError); then reads. `done` follows once:
    // Success when every site was read and kept, TransferFailed when any was not.
    void start(Done done);

    // Tab-separated, in the order of the list: a line a site (its name, then "first
    // backup", "unchanged", "N changes" or "failed: " and why), each change since the
    // site's previous backup on a line of its own after it (name, block, item, before, now).
    [[nodiscard]] QByteArray report() const;

private:
    struct SiteRun;

    [[nodiscard]] bool prepare();
    void launchWaiting();
    void siteDone(SiteRun &run, const Status &status);
    // Writes the new backup and tells what changed; the report's lines for the site.
    [[nodiscard]] Status keep(SiteRun &run);
    [[nodiscard]] std::optional<ExchangeConfig> previousBackup(
        const SiteRun &run, const QString &folder, const QString &newName) const;

    BackupOptions options_;
    QString fileName_; // YYYY-MM-DD_HH-MM-SS.json
    SiteProgress &progress_;
    std::vector<std::unique_ptr<SiteRun>> runs_;
    std::size_t launched_ = 0;
    std::size_t running_ = 0;
    std::size_t ended_ = 0;
    bool anyFailed_ = false;
    Done done_;
};

} // namespace ornis::cli
