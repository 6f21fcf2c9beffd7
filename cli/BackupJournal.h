#pragma once

#include "BackupMetrics.h"
#include "BackupState.h"
#include "SiteOutcome.h"
#include "config/Status.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace ornis::cli {

// What is one for a whole run, whichever line or loop read its sites: the report on standard
// output, a site's lines as soon as it ends, and at the end the state of the sites and the
// run's metrics. Fed by the sites' ends, in any order.
class BackupJournal
{
public:
    using Output = std::function<void(const QByteArray &)>;
    // Around the state file's read, merge and write: other runs of shards write it too.
    using StateGuard = std::function<void(bool hold)>;

    struct Files
    {
        QString state; // DIR/state.json
        QString metrics; // empty: none
    };

    // `previous`: the state as the run began. `holdOutput` keeps the report until finish()
    // (a live progress table on the same terminal).
    BackupJournal(Files files, SiteStates previous, Output output, bool holdOutput = false);

    void siteEnded(const SiteOutcome &outcome);

    // The state (merged into what the file holds by now) and the metrics, each written whole
    // or not at all; the report held back, if any. Fails naming what could not be written.
    [[nodiscard]] Status finish(const RunFigures &run, const StateGuard &guard = {});

    // Tab-separated: the site's name and its outcome, then a line a change (name, block,
    // item, before, now).
    [[nodiscard]] static QByteArray reportLines(const SiteOutcome &outcome);

private:
    [[nodiscard]] Status writeState(const StateGuard &guard);

    Files files_;
    SiteStates states_; // the run's sites updated
    std::vector<SiteOutcome> outcomes_; // in the order they ended
    Output output_;
    bool holdOutput_;
    QByteArray held_;
};

} // namespace ornis::cli
