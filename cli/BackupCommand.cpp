#include "BackupCommand.h"

#include "FleetBackup.h"
#include "FleetProgress.h"
#include "Output.h"

#include <QCoreApplication>
#include <QFile>

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

} // namespace

ExitCode runBackup(const Request &request)
{
    const std::optional<SiteList> list = loadSiteList(request.sitesFile);
    if (!list)
        return ExitCode::UsageOrFileError;
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
    printOut(backup.report());
    return code.value_or(ExitCode::TransferFailed);
}

} // namespace ornis::cli
