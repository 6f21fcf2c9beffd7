#include "FleetProgress.h"

#include "Progress.h"
#include "common/BlockNames.h"

#ifndef _WIN32
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace ornis::cli {

namespace {

constexpr int RedrawMs = 200;

// Whether a table of `rows` lines fits the terminal `stream` is, so it can be redrawn.
bool tableFits(std::FILE *stream, std::size_t rows)
{
    if (!Progress::isTerminal(stream))
        return false;
#ifdef _WIN32
    return false;
#else
    winsize size {};
    return ::ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && rows < size.ws_row;
#endif
}

} // namespace

// "waiting", "reading short dials 45%", "unchanged".
QString FleetProgress::stateText(std::size_t site) const
{
    if (!outcomes_[qsizetype(site)].isEmpty())
        return outcomes_[qsizetype(site)];
    const SiteActivities::Activity activity
        = activities_ ? activities_->get(site) : SiteActivities::Activity {};
    const TransferMode mode = activity.mode;
    QString title;
    if (mode == TransferMode::AllRead)
        title = QLatin1String(blockInfo(Block::Settings).title);
    else if (mode == TransferMode::TimesRead)
        title = QStringLiteral("day/night times");
    for (const Block block : AllBlocks) {
        if (blockInfo(block).read == mode)
            title = QLatin1String(blockInfo(block).title);
    }
    if (title.isEmpty())
        return QStringLiteral("waiting");
    return QStringLiteral("reading %1 %2%").arg(title).arg(activity.percent);
}

FleetProgress::FleetProgress(std::FILE *stream, const std::vector<Site> &sites)
    : stream_(stream)
    , live_(tableFits(stream, sites.size()))
{
    for (const Site &site : sites) {
        names_.append(site.name);
        outcomes_.append(QString());
        nameWidth_ = std::max(nameWidth_, site.name.size());
    }
    redraw_.setInterval(RedrawMs);
    QObject::connect(&redraw_, &QTimer::timeout, [this] { draw(); });
    if (live_)
        redraw_.start();
}

void FleetProgress::finish()
{
    if (!live_)
        return;
    redraw_.stop();
    draw();
    live_ = false;
}

void FleetProgress::siteEnded(std::size_t site, const QString &outcome)
{
    outcomes_[qsizetype(site)] = outcome;
    if (!live_)
        writeRow(site);
}

void FleetProgress::draw()
{
    if (drawn_)
        std::fprintf(stream_, "\x1b[%lldA", static_cast<long long>(names_.size()));
    drawn_ = true;
    for (std::size_t site = 0; site < std::size_t(names_.size()); ++site)
        writeRow(site);
}

void FleetProgress::writeRow(std::size_t site)
{
    const QString row = QStringLiteral("%1  %2")
                            .arg(names_[qsizetype(site)], -int(nameWidth_))
                            .arg(stateText(site));
    std::fprintf(stream_, "%s%s\n", live_ ? "\r\x1b[K" : "", row.toUtf8().constData());
    std::fflush(stream_);
}

} // namespace ornis::cli
