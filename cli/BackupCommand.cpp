#include "BackupCommand.h"

#include "FleetBackup.h"
#include "FleetProgress.h"
#include "Output.h"

#include <QCoreApplication>
#include <QFile>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace ornis::cli {

namespace {

constexpr qint64 MaxListBytes = 4 * 1024 * 1024; // far beyond any fleet

std::optional<SiteList> loadSiteList(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printMessage(QStringLiteral("Cannot open file %1").arg(path));
        return std::nullopt;
    }
    if (file.size() > MaxListBytes) {
        printMessage(QStringLiteral("%1 is too large for a list of sites").arg(path));
        return std::nullopt;
    }
    const SiteList list = readSiteList(file.read(MaxListBytes));
    for (const QString &error : list.errors)
        printMessage(QStringLiteral("%1, %2").arg(path, error));
    if (!list.errors.isEmpty()) {
        printMessage(QStringLiteral("Nothing was sent."));
        return std::nullopt;
    }
    return list;
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

} // namespace

ExitCode runBackup(const Request &request)
{
    const std::optional<SiteList> list = loadSiteList(request.sitesFile);
    if (!list)
        return ExitCode::UsageOrFileError;
    allowOpenFiles();
    BackupOptions options {
        request.backupDir, request.block, request.timeoutMs, request.parallel, request.traceDir};
    FleetProgress progress(stderr, list->sites);
    FleetBackup backup(list->sites, options, QDateTime::currentDateTime(), progress);
    std::optional<ExitCode> code;
    backup.start([&code](ExitCode end) {
        code = end;
        QCoreApplication::exit();
    });
    if (!code)
        QCoreApplication::exec();
    progress.finish();
    printOut(backup.report());
    return code.value_or(ExitCode::TransferFailed);
}

} // namespace ornis::cli
