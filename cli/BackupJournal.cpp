#include "BackupJournal.h"

#include "Output.h"
#include "common/ConfigFiles.h"

#include <QStringList>
#include <algorithm>

namespace ornis::cli {

BackupJournal::BackupJournal(Files files, SiteStates previous, Output output, bool holdOutput)
    : files_(std::move(files))
    , states_(std::move(previous))
    , output_(std::move(output))
    , holdOutput_(holdOutput)
{
}

QByteArray BackupJournal::reportLines(const SiteOutcome &outcome)
{
    QStringList lines {outcome.name + u'\t' + outcomeText(outcome)};
    for (const Difference &change : outcome.changes)
        lines.append(QStringList {outcome.name, change.block, change.item, tableCell(change.left),
            tableCell(change.right)}
                         .join(u'\t'));
    return (lines.join(u'\n') + u'\n').toUtf8();
}

void BackupJournal::siteEnded(const SiteOutcome &outcome)
{
    states_[outcome.name].record(outcome);
    outcomes_.push_back(outcome);
    if (holdOutput_)
        held_ += reportLines(outcome);
    else
        output_(reportLines(outcome));
}

Status BackupJournal::finish(const RunFigures &run, const StateGuard &guard)
{
    if (!held_.isEmpty())
        output_(std::exchange(held_, {}));
    Status state = writeState(guard);
    if (files_.metrics.isEmpty())
        return state;
    std::vector<SiteOutcome> bySite = outcomes_;
    std::sort(bySite.begin(), bySite.end(),
        [](const SiteOutcome &a, const SiteOutcome &b) { return a.index < b.index; });
    const Status metrics = writeWholeFile(files_.metrics, metricsText(bySite, states_, run));
    if (!state.ok() && !metrics.ok())
        return Status::failure(state.message() + "\n" + metrics.message());
    return state.ok() ? metrics : state;
}

Status BackupJournal::writeState(const StateGuard &guard)
{
    if (guard)
        guard(true);
    // Other shards' sites as the file holds them now; a file that cannot be read (named as
    // the run began) gives way to what the run found.
    SiteStates merged;
    if (!readStates(files_.state, merged).ok())
        merged = states_;
    for (const SiteOutcome &outcome : outcomes_)
        merged[outcome.name] = states_[outcome.name];
    const Status status = writeStates(files_.state, merged);
    if (guard)
        guard(false);
    return status;
}

} // namespace ornis::cli
