#pragma once

#include "FleetBackup.h"

#include <QTimer>
#include <cstdio>

namespace ornis::cli {

// The progress of a fleet backup on stderr, a line a site. On a terminal tall enough, a
// table redrawn a few times a second; otherwise (a log, a pipe) each site's line once, when
// the site is over.
class FleetProgress final : public SiteProgress
{
public:
    FleetProgress(std::FILE *stream, const std::vector<Site> &sites);

    // The table as it ends, before anything else is written below it.
    void finish();
    // Redrawn in place: nothing else may write to the terminal meanwhile.
    [[nodiscard]] bool live() const { return live_; }

    void siteMoved(std::size_t site, TransferMode mode, int percent) override;
    void siteEnded(std::size_t site, const QString &outcome) override;

private:
    struct State
    {
        TransferMode mode = TransferMode::Idle;
        int percent = 0;
        QString outcome; // once over
    };

    void draw();
    void writeRow(std::size_t site);
    [[nodiscard]] static QString stateText(const State &state);

    std::FILE *stream_;
    bool live_;
    qsizetype nameWidth_ = 0;
    QStringList names_;
    std::vector<State> states_;
    bool drawn_ = false;
    QTimer redraw_;
};

} // namespace ornis::cli
