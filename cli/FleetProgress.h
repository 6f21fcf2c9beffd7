#pragma once

#include "FleetBackup.h"

#include <QTimer>
#include <cstdio>

namespace ornis::cli {

// The progress of a fleet backup on stderr, a line a site. On a terminal tall enough, a
// table redrawn a few times a second from what the sites are doing then; otherwise (a log, a pipe)
// each site's line once, when the site is over.
class FleetProgress final : public SiteProgress
{
public:
    FleetProgress(std::FILE *stream, const std::vector<Site> &sites);

    // The table as it ends, before anything else is written below it.
    void finish();
    // Redrawn in place: nothing else may write to the terminal meanwhile.
    [[nodiscard]] bool live() const { return live_; }

    void follow(const SiteActivities &activities) override { activities_ = &activities; }
    void siteEnded(std::size_t site, const QString &outcome) override;

private:
    void draw();
    void writeRow(std::size_t site);
    [[nodiscard]] QString stateText(std::size_t site) const;

    std::FILE *stream_;
    bool live_;
    qsizetype nameWidth_ = 0;
    QStringList names_;
    QStringList outcomes_; // by site, once over
    const SiteActivities *activities_ = nullptr;
    bool drawn_ = false;
    QTimer redraw_;
};

} // namespace ornis::cli
