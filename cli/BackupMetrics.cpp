#include "BackupMetrics.h"

#include <functional>

namespace ornis::cli {

namespace {

struct Family
{
    const char *name;
    const char *help;
};

void appendFamily(QByteArray &text, const Family &family)
{
    text += QByteArray("# HELP ") + family.name + ' ' + family.help + '\n';
    text += QByteArray("# TYPE ") + family.name + " gauge\n";
}

void appendSample(QByteArray &text, const char *name, const QByteArray &labels, double value)
{
    text += name;
    if (!labels.isEmpty())
        text += '{' + labels + '}';
    text += ' ' + QByteArray::number(value, 'g', 15) + '\n';
}

double secondsOf(const QDateTime &when)
{
    return when.isValid() ? double(when.toMSecsSinceEpoch()) / 1000 : 0;
}

} // namespace

QByteArray labelValue(const QString &value)
{
    QByteArray text;
    for (const char c : value.toUtf8()) {
        if (c == '\\' || c == '"')
            text += '\\';
        text += c == '\n' ? QByteArray("\\n") : QByteArray(1, c);
    }
    return text;
}

QByteArray metricsText(
    const std::vector<SiteOutcome> &outcomes, const SiteStates &states, const RunFigures &run)
{
    using Value = std::function<double(const SiteOutcome &)>;
    const std::pair<Family, Value> siteFamilies[] = {
        {{"ornisset_backup_site_success", "Whether the site was read and kept in the last run."},
            [](const SiteOutcome &site) { return site.succeeded() ? 1 : 0; }},
        {{"ornisset_backup_site_last_success_timestamp_seconds",
             "When the site was last read and kept; 0 for never."},
            [&states](const SiteOutcome &site) {
                const auto state = states.find(site.name);
                return state == states.end() ? 0 : secondsOf(state->second.lastSuccess);
            }},
        {{"ornisset_backup_site_changes",
             "The items changed since the site's previous backup, in the last run."},
            [](const SiteOutcome &site) { return double(site.changes.size()); }},
        {{"ornisset_backup_site_duration_seconds", "How long the site took in the last run."},
            [](const SiteOutcome &site) { return site.seconds; }},
    };
    QByteArray text;
    for (const auto &[family, value] : siteFamilies) {
        appendFamily(text, family);
        for (const SiteOutcome &site : outcomes)
            appendSample(text, family.name, "site=\"" + labelValue(site.name) + '"', value(site));
    }
    const QByteArray runLabels
        = run.shard ? "shard=\"" + labelValue(run.shard->text()) + '"' : QByteArray();
    const std::pair<Family, double> runFamilies[] = {
        {{"ornisset_backup_last_run_timestamp_seconds", "When the last run started."},
            secondsOf(run.started)},
        {{"ornisset_backup_run_duration_seconds", "How long the last run took."}, run.seconds},
    };
    for (const auto &[family, value] : runFamilies) {
        appendFamily(text, family);
        appendSample(text, family.name, runLabels, value);
    }
    return text;
}

} // namespace ornis::cli
