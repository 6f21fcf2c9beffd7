#include "BackupState.h"

#include "common/ConfigFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <climits>

namespace ornis::cli {

namespace {

const QString SitesKey = QStringLiteral("Sites");
const QString FailuresKey = QStringLiteral("ConsecutiveFailures");
const QString ErrorKey = QStringLiteral("LastError");

struct TimeMember
{
    QLatin1String key;
    QDateTime SiteState::*time;
};
constexpr std::array<TimeMember, 3> TimeMembers {{
    {QLatin1String("LastAttempt"), &SiteState::lastAttempt},
    {QLatin1String("LastSuccess"), &SiteState::lastSuccess},
    {QLatin1String("LastChange"), &SiteState::lastChange},
}};

QJsonObject stateObject(const SiteState &state)
{
    QJsonObject object;
    for (const auto &[key, time] : TimeMembers) {
        // The local time with its offset from UTC: "2026-01-05T02:30:00.250+01:00".
        const QDateTime &when = state.*time;
        object.insert(key,
            when.isValid() ? when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODateWithMs)
                           : QString());
    }
    object.insert(FailuresKey, state.failures);
    object.insert(ErrorKey, state.lastError);
    return object;
}

SiteState stateOf(const QJsonObject &object)
{
    SiteState state;
    for (const auto &[key, time] : TimeMembers)
        state.*time = QDateTime::fromString(object.value(key).toString(), Qt::ISODateWithMs);
    state.failures = std::clamp(object.value(FailuresKey).toInt(), 0, INT_MAX);
    state.lastError = object.value(ErrorKey).toString();
    return state;
}

} // namespace

void SiteState::record(const SiteOutcome &outcome)
{
    lastAttempt = outcome.started;
    if (!outcome.succeeded()) {
        failures = failures < INT_MAX ? failures + 1 : failures;
        lastError = outcome.error;
        return;
    }
    lastSuccess = outcome.started;
    if (outcome.kept())
        lastChange = outcome.started;
    failures = 0;
    lastError.clear();
}

QString stateFilePath(const QString &dir)
{
    return QDir(dir).filePath(QStringLiteral("state.json"));
}

QByteArray statesToJson(const SiteStates &states)
{
    QJsonObject sites;
    for (const auto &[name, state] : states)
        sites.insert(name, stateObject(state));
    return QJsonDocument(QJsonObject {{SitesKey, sites}}).toJson(QJsonDocument::Indented);
}

Status statesFromJson(const QByteArray &json, SiteStates &states)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject())
        return Status::failure(error.error != QJsonParseError::NoError
                ? error.errorString().toStdString()
                : std::string("not a JSON object"));
    SiteStates read;
    const QJsonObject sites = document.object().value(SitesKey).toObject();
    for (auto site = sites.begin(); site != sites.end(); ++site) {
        if (site.value().isObject())
            read[site.key()] = stateOf(site.value().toObject());
    }
    states = std::move(read);
    return Status::success();
}

Status readStates(const QString &path, SiteStates &states)
{
    if (!QFileInfo::exists(path)) {
        states.clear();
        return Status::success();
    }
    QByteArray json;
    if (Status read = readWholeFile(path, json); !read.ok())
        return read;
    if (Status read = statesFromJson(json, states); !read.ok())
        return Status::failure(path.toStdString() + ": " + read.message());
    return Status::success();
}

Status writeStates(const QString &path, const SiteStates &states)
{
    return writeWholeFile(path, statesToJson(states));
}

} // namespace ornis::cli
