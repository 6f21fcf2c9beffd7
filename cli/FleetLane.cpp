#include "FleetLane.h"

#ifdef Q_OS_LINUX
#include "qtlink/EpollDispatcher.h"
#endif

namespace ornis::cli {

FleetLane::FleetLane(const BackupOptions &options, const QString &fileName, QThreadPool &files,
    SiteActivities &activities, QObject *receiver, Ended ended)
    : options_(options)
    , fileName_(fileName)
    , files_(files)
    , activities_(activities)
    , receiver_(receiver)
    , ended_(std::move(ended))
{
#ifdef Q_OS_LINUX
    auto dispatcher = std::make_unique<EpollDispatcher>();
    if (dispatcher->usable())
        thread_.setEventDispatcher(dispatcher.release());
#endif
    moveToThread(&thread_);
    thread_.start();
}

FleetLane::~FleetLane()
{
    thread_.quit();
    thread_.wait();
}

void FleetLane::start(std::size_t index, const Site &site)
{
    QMetaObject::invokeMethod(
        this, [this, index, site] { startHere(index, site); }, Qt::QueuedConnection);
}

void FleetLane::stop()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (const auto &[index, site] : running_)
                site->stop();
        },
        Qt::QueuedConnection);
}

void FleetLane::startHere(std::size_t index, const Site &site)
{
    auto backup = std::make_unique<SiteBackup>(index, site, options_, fileName_, files_,
        [this, index](TransferMode mode, int percent) { activities_.set(index, mode, percent); });
    SiteBackup &started = *backup;
    running_[index] = std::move(backup);
    started.start([this, index](const SiteOutcome &outcome) { siteEnded(index, outcome); });
}

void FleetLane::siteEnded(std::size_t index, const SiteOutcome &outcome)
{
    // Called from inside the site: it goes on the next turn, and only then is it over, so
    // that no site outlives the run that waits for it.
    QMetaObject::invokeMethod(
        this,
        [this, index, outcome] {
            running_.erase(index);
            QMetaObject::invokeMethod(
                receiver_, [ended = ended_, outcome] { ended(outcome); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

} // namespace ornis::cli
