#include "BackupCommand.h"

#include "BackupJournal.h"
#include "BackupLock.h"
#include "FleetBackup.h"
#include "FleetProgress.h"
#include "Output.h"
#include "Progress.h"
#include "StopSignals.h"
#include "common/ConfigFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace ornis::cli {

namespace {

std::optional<SiteList> loadSiteList(const QString &path)
{
    QByteArray text;
    if (const Status read = readWholeFile(path, text); !read.ok()) {
        printMessage(read.message() + ". Nothing was sent.");
        return std::nullopt;
    }
    const SiteList list = readSiteList(text);
    QStringList lines;
    for (const QString &error : list.errors)
        lines << QStringLiteral("%1, %2").arg(path, error);
    printList(lines);
    if (!list.errors.isEmpty()) {
        printMessage(QStringLiteral("Nothing was sent."));
        return std::nullopt;
    }
    return list;
}

std::vector<Site> sitesOfShard(std::vector<Site> sites, std::optional<Shard> shard)
{
    if (shard)
        std::erase_if(sites, [&shard](const Site &site) { return !shard->holds(site.name); });
    return sites;
}

// A site holds its port and its trace open: a few hundred sites pass the usual soft limit
// of 1024 descriptors, which the hard limit mostly leaves room to raise.
void allowOpenFiles()
{
#ifndef _WIN32
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
#endif
}

QString timeText(const QDateTime &when)
{
    return when.isValid() ? when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QStringLiteral("never");
}

// backup --status: a table of the sites the state of `dir` holds; 1 when any site's last
// attempt failed, so that a check can run it.
ExitCode printStatus(const QString &dir)
{
    const QString path = stateFilePath(dir);
    SiteStates states;
    if (const Status read = readStates(path, states); !read.ok()) {
        printMessage(read.message());
        return ExitCode::UsageOrFileError;
    }
    if (!QFile::exists(path)) {
        printMessage(QStringLiteral("No run has kept a state in %1 yet").arg(dir));
        return ExitCode::UsageOrFileError;
    }
    QStringList lines {
        QStringLiteral("Site\tLast attempt\tLast success\tLast change\tFailures\tLast error")};
    bool anyFailing = false;
    for (const auto &[name, state] : states) {
        anyFailing = anyFailing || state.failures > 0;
        lines.append(QStringList {name, timeText(state.lastAttempt), timeText(state.lastSuccess),
            timeText(state.lastChange), QString::number(state.failures),
            tableCell(state.lastError)}
                         .join(u'\t'));
    }
    printOut((lines.join(u'\n') + u'\n').toUtf8());
    return anyFailing ? ExitCode::TransferFailed : ExitCode::Success;
}

} // namespace

ExitCode runBackup(const Request &request)
{
    if (request.status)
        return printStatus(request.backupDir);
    const std::optional<SiteList> list = loadSiteList(request.sitesFile);
    if (!list)
        return ExitCode::UsageOrFileError;
    const std::vector<Site> sites = sitesOfShard(list->sites, request.shard);
    BackupLock lock;
    if (const Status locked = lock.take(request.backupDir, request.shard); !locked.ok()) {
        printMessage(QString::fromStdString(locked.message()) + ". Nothing was sent.");
        return ExitCode::UsageOrFileError;
    }
    SiteStates states;
    const QString stateFile = stateFilePath(request.backupDir);
    if (const Status read = readStates(stateFile, states); !read.ok())
        printWarning(QString::fromStdString(read.message())
            + QStringLiteral("; the sites' history starts anew"));
    allowOpenFiles();

    FleetProgress progress(stderr, sites);
    BackupJournal journal({stateFile, request.metricsFile}, std::move(states), printOut,
        progress.live() && Progress::isTerminal(stdout));
    const QDateTime started = QDateTime::currentDateTime();
    QElapsedTimer clock;
    clock.start();
    BackupOptions options {request.backupDir, request.block, request.timeoutMs, request.parallel,
        request.jobs, request.traceDir};
    FleetBackup backup(sites, options, started, progress,
        [&journal](const SiteOutcome &outcome) { journal.siteEnded(outcome); });
    StopSignals stopSignals;
    QObject::connect(
        &stopSignals, &StopSignals::stopRequested, &backup, [&backup] { backup.stop(); });
    std::optional<ExitCode> code;
    backup.start([&code](ExitCode end) {
        code = end;
        QCoreApplication::exit();
    });
    if (!code)
        QCoreApplication::exec();
    progress.finish();
    if (code == ExitCode::UsageOrFileError)
        return *code; // refused before the first byte

    const Status recorded
        = journal.finish({started, double(clock.elapsed()) / 1000, request.shard},
            [&lock](bool hold) { hold ? lock.holdState() : lock.releaseState(); });
    if (!recorded.ok())
        printMessage(recorded.message());
    if (stopSignals.received() != 0)
        return ExitCode(stopSignals.exitStatus());
    return recorded.ok() ? code.value_or(ExitCode::TransferFailed) : ExitCode::TransferFailed;
}

} // namespace ornis::cli
