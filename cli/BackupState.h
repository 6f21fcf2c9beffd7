#pragma once

#include "SiteOutcome.h"
#include "config/Status.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <map>

namespace ornis::cli {

// What the runs of a folder of backups remember of each site, across runs and years.
struct SiteState
{
    QDateTime lastAttempt; // invalid: never
    QDateTime lastSuccess;
    QDateTime lastChange; // a new backup kept
    int failures = 0; // since the last success
    QString lastError; // of the last attempt; empty when it succeeded

    // Takes the attempt `outcome` tells of.
    void record(const SiteOutcome &outcome);

    bool operator==(const SiteState &) const = default;
};

// By the site's name.
using SiteStates = std::map<QString, SiteState>;

// DIR/state.json: a JSON object, a member a site, readable by people and by scripts.
[[nodiscard]] QString stateFilePath(const QString &dir);

[[nodiscard]] QByteArray statesToJson(const SiteStates &states);
// Members of unknown names and values of the wrong type are passed over; `states` changes
// only when the text is a JSON object.
[[nodiscard]] Status statesFromJson(const QByteArray &json, SiteStates &states);

// The file's states; none when there is no file yet.
[[nodiscard]] Status readStates(const QString &path, SiteStates &states);
// Written whole or not at all.
[[nodiscard]] Status writeStates(const QString &path, const SiteStates &states);

} // namespace ornis::cli
