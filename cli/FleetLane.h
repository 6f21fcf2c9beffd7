#pragma once

#include "SiteActivities.h"
#include "SiteBackup.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <map>
#include <memory>

namespace ornis::cli {

// One event loop of a fleet backup, on a thread of its own: the sites handed to it are read
// there, each on its own line and engine, and each one's outcome is handed back to the
// backup's thread once, when the site is over and gone from the lane.
class FleetLane final : public QObject
{
public:
    using Ended = std::function<void(const SiteOutcome &)>;

    // `ended` runs on the thread of `receiver`. The options, the pool for the sites' files and
    // the activities outlive the lane.
    FleetLane(const BackupOptions &options, const QString &fileName, QThreadPool &files,
        SiteActivities &activities, QObject *receiver, Ended ended);
    // Ends the thread; every site handed to the lane has ended before.
    ~FleetLane() override;

    // From the backup's thread: reads `site`, the `index`th of the list.
    void start(std::size_t index, const Site &site);
    // From the backup's thread: every site of the lane ends with the stop sequence.
    void stop();

private:
    void startHere(std::size_t index, const Site &site);
    void siteEnded(std::size_t index, const SiteOutcome &outcome);

    const BackupOptions &options_;
    QString fileName_;
    QThreadPool &files_;
    SiteActivities &activities_;
    QObject *receiver_;
    Ended ended_;
    std::map<std::size_t, std::unique_ptr<SiteBackup>> running_;
    QThread thread_;
};

} // namespace ornis::cli
