#pragma once

#include "common/Comparison.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

namespace ornis::cli {

// How one site of a fleet backup ended: what the run's report, state and metrics take from
// it, wherever the site was read.
struct SiteOutcome
{
    enum class Result { FirstBackup, Unchanged, Changed, Failed };

    std::size_t index = 0; // in the run's list
    QString name;
    Result result = Result::Failed;
    std::vector<Difference> changes; // since the newest backup, when Changed
    QString error; // why, when Failed
    QStringList warnings; // what the site's read or its earlier backups gave to warn about
    QDateTime started; // the attempt, local time
    double seconds = 0; // from start to end

    [[nodiscard]] bool succeeded() const { return result != Result::Failed; }
    // A new backup was kept.
    [[nodiscard]] bool kept() const
    {
        return result == Result::FirstBackup || result == Result::Changed;
    }
};

// "first backup", "unchanged", "1 change", "12 changes" or "failed: " and why.
[[nodiscard]] QString outcomeText(const SiteOutcome &outcome);

} // namespace ornis::cli
