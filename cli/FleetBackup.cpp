#include "FleetBackup.h"

#include "FleetLane.h"
#include "Output.h"
#include "common/BackupName.h"
#include "common/BlockNames.h"
#include "common/SystemClock.h"
#include "config/ChoiceLists.h"

#include <QThread>
#include <algorithm>

namespace ornis::cli {

namespace {

// Files written at once: a disk's journal commits their syncs together.
constexpr int FileThreads = 8;

} // namespace

FleetBackup::FleetBackup(std::vector<Site> sites, BackupOptions options, const QDateTime &stamp,
    SiteProgress &progress, SiteEnded siteEnded)
    : options_(std::move(options))
    , progress_(progress)
    , siteEnded_(std::move(siteEnded))
    , list_(std::move(sites))
    , fileName_(backupStamp(localDateTimeOf(stamp)) + QStringLiteral(".json"))
    , activities_(list_.size())
    , laneOf_(list_.size())
{
    files_.setMaxThreadCount(FileThreads);
    progress_.follow(activities_);
}

FleetBackup::~FleetBackup() = default;

void FleetBackup::start(Done done)
{
    done_ = std::move(done);
    if (!blocksExist())
        return done_(ExitCode::UsageOrFileError);
    if (list_.empty())
        return done_(ExitCode::Success);
    makeLanes();
    launchWaiting();
}

void FleetBackup::stop()
{
    if (stopping_ || !done_ || ended_ == list_.size())
        return;
    stopping_ = true;
    for (const std::unique_ptr<FleetLane> &lane : lanes_)
        lane->stop();
    // The sites that never started end now; the ones stopped above end as their lines do.
    while (launched_ < list_.size()) {
        const std::size_t index = launched_++;
        siteDone(SiteBackup::interruptedBeforeStart(index, list_[index]));
    }
}

void FleetBackup::makeLanes()
{
    const int jobs = options_.jobs > 0 ? options_.jobs : QThread::idealThreadCount();
    const std::size_t count = std::clamp<std::size_t>(std::size_t(jobs), 1, list_.size());
    for (std::size_t i = 0; i < count; ++i) {
        lanes_.push_back(std::make_unique<FleetLane>(
            options_, fileName_, files_, activities_, this, [this](const SiteOutcome &outcome) {
                --running_;
                --laneLoad_[laneOf_[outcome.index]];
                siteDone(outcome);
            }));
    }
    laneLoad_.assign(count, 0);
}

bool FleetBackup::blocksExist() const
{
    bool good = true;
    for (const Site &site : list_) {
        const BlockSet missing = (options_.block ? BlockSet {*options_.block} : BlockSet {})
            - blocksOfModel(site.model);
        if (missing.empty())
            continue;
        printMessage(
            QStringLiteral("line %1: site \"%2\" of model %3 has no %4 block")
                .arg(site.line)
                .arg(site.name, QString::fromStdString(listText(modelNames(), site.model)),
                    blockTitles(missing)));
        good = false;
    }
    return good;
}

void FleetBackup::launchWaiting()
{
    const std::size_t limit
        = options_.parallel > 0 ? std::size_t(options_.parallel) : list_.size();
    while (!stopping_ && running_ < limit && launched_ < list_.size()) {
        const std::size_t index = launched_++;
        const std::size_t lane = std::size_t(
            std::min_element(laneLoad_.begin(), laneLoad_.end()) - laneLoad_.begin());
        laneOf_[index] = lane;
        ++laneLoad_[lane];
        ++running_;
        progress_.siteStarted(index);
        lanes_[lane]->start(index, list_[index]);
    }
}

void FleetBackup::siteDone(const SiteOutcome &outcome)
{
    anyFailed_ = anyFailed_ || !outcome.succeeded();
    for (const QString &warning : outcome.warnings)
        printWarning(QStringLiteral("%1: %2").arg(outcome.name, warning));
    progress_.siteEnded(outcome.index, outcomeText(outcome));
    siteEnded_(outcome);
    if (++ended_ == list_.size())
        return done_(anyFailed_ ? ExitCode::TransferFailed : ExitCode::Success);
    launchWaiting();
}

} // namespace ornis::cli
