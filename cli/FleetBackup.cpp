#include "FleetBackup.h"

#include "Output.h"
#include "common/BackupName.h"
#include "common/BlockNames.h"
#include "common/SystemClock.h"
#include "config/ChoiceLists.h"

namespace ornis::cli {

FleetBackup::FleetBackup(std::vector<Site> sites, BackupOptions options, const QDateTime &stamp,
    SiteProgress &progress, SiteEnded siteEnded)
    : options_(std::move(options))
    , progress_(progress)
    , siteEnded_(std::move(siteEnded))
    , list_(std::move(sites))
{
    const QString fileName = backupStamp(localDateTimeOf(stamp)) + QStringLiteral(".json");
    for (const Site &site : list_) {
        const std::size_t index = sites_.size();
        sites_.push_back(std::make_unique<SiteBackup>(
            index, site, options_, fileName, [this, index](TransferMode mode, int percent) {
                progress_.siteMoved(index, mode, percent);
            }));
    }
}

FleetBackup::~FleetBackup() = default;

void FleetBackup::start(Done done)
{
    done_ = std::move(done);
    if (!blocksExist())
        return done_(ExitCode::UsageOrFileError);
    if (sites_.empty())
        return done_(ExitCode::Success);
    launchWaiting();
}

void FleetBackup::stop()
{
    if (stopping_ || !done_ || ended_ == sites_.size())
        return;
    stopping_ = true;
    for (std::size_t i = 0; i < launched_; ++i)
        sites_[i]->stop();
    // The sites that never started end now, after the ones stopped above.
    while (launched_ < sites_.size())
        siteDone(sites_[launched_++]->interruptedBeforeStart());
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
        = options_.parallel > 0 ? std::size_t(options_.parallel) : sites_.size();
    while (!stopping_ && running_ < limit && launched_ < sites_.size()) {
        ++running_;
        sites_[launched_++]->start([this](const SiteOutcome &outcome) {
            --running_;
            siteDone(outcome);
        });
    }
}

void FleetBackup::siteDone(const SiteOutcome &outcome)
{
    anyFailed_ = anyFailed_ || !outcome.succeeded();
    progress_.siteEnded(outcome.index, outcomeText(outcome));
    siteEnded_(outcome);
    if (++ended_ == sites_.size())
        return done_(anyFailed_ ? ExitCode::TransferFailed : ExitCode::Success);
    launchWaiting();
}

} // namespace ornis::cli
