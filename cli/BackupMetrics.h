#pragma once

#include "BackupState.h"
#include "Shard.h"
#include "SiteOutcome.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>
#include <vector>

namespace ornis::cli {

// What a run gives its monitoring.
struct RunFigures
{
    QDateTime started;
    double seconds = 0;
    std::optional<Shard> shard; // labels the run's own series, so the shards' files agree
};

// The run in Prometheus' text format, for node_exporter's textfile collector: a series a
// site of the run for its success, its last success (from `states`, kept across failed
// runs; 0 when it never succeeded), its changes and its duration; the run's time and
// duration. Each family with its HELP and TYPE, label values escaped.
[[nodiscard]] QByteArray metricsText(
    const std::vector<SiteOutcome> &outcomes, const SiteStates &states, const RunFigures &run);

// A label value as the text format takes it: backslash, double quote and line feed escaped.
[[nodiscard]] QByteArray labelValue(const QString &value);

} // namespace ornis::cli
