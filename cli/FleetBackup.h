#pragma once

#include "ExitCode.h"
#include "SiteActivities.h"
#include "SiteBackup.h"
#include "SiteList.h"
#include "SiteOutcome.h"
#include "link/TransferMode.h"

#include <QDateTime>
#include <QObject>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <vector>

namespace ornis::cli {

class FleetLane;

// What a backup tells about its sites as they go, on the thread that runs it: a progress
// display. What each site is doing meanwhile it reads from `activities` at its own pace.
class SiteProgress
{
public:
    virtual ~SiteProgress() = default;
    // The sites' activities, for as long as the backup lives.
    virtual void follow(const SiteActivities &activities) { (void)activities; }
    // The site begins: it was handed to a loop to be read.
    virtual void siteStarted(std::size_t site) { (void)site; }
    // The site is over: `outcome` is what the report says of it.
    virtual void siteEnded(std::size_t site, const QString &outcome) = 0;
};

// Backs up a fleet of exchanges: every site of a list at once (or `parallel` at a time),
// each on its own engine and port, spread over `jobs` event loops on threads of their own.
// Each site's end goes to `siteEnded` as it happens, on the thread that runs the backup;
// what a run makes of them is the caller's (BackupJournal).
class FleetBackup final : public QObject
{
public:
    using Done = std::function<void(ExitCode)>;
    using SiteEnded = std::function<void(const SiteOutcome &)>;

    // `stamp` names the files of this run.
    FleetBackup(std::vector<Site> sites, BackupOptions options, const QDateTime &stamp,
        SiteProgress &progress, SiteEnded siteEnded);
    ~FleetBackup() override;

    // Refuses a block a site's model has not (on stderr, ending at once with
    // UsageOrFileError, before the first byte); then reads. `done` follows once: Success
    // when every site was read and kept, TransferFailed when any was not.
    void start(Done done);

    // Ends every running site's read with the stop sequence; the sites still waiting do not
    // start. Every site not over yet ends as failed ("interrupted"), and then `done` follows.
    void stop();

private:
    [[nodiscard]] bool blocksExist() const;
    void makeLanes();
    void launchWaiting();
    void siteDone(const SiteOutcome &outcome);

    BackupOptions options_;
    SiteProgress &progress_;
    SiteEnded siteEnded_;
    std::vector<Site> list_;
    QString fileName_; // of the new backups
    SiteActivities activities_;
    std::vector<std::size_t> laneOf_; // by site, once started
    std::vector<std::size_t> laneLoad_; // the sites running on each lane
    std::vector<std::unique_ptr<FleetLane>> lanes_; // ended before what they use
    QThreadPool files_; // the sites' files, read and written beside the lines' loops
    std::size_t launched_ = 0;
    std::size_t running_ = 0;
    std::size_t ended_ = 0;
    bool anyFailed_ = false;
    bool stopping_ = false;
    Done done_;
};

} // namespace ornis::cli
