#include "SiteBackup.h"

#include "Output.h"
#include "common/BlockNames.h"
#include "common/ConfigFiles.h"
#include "common/FilePath.h"
#include "config/FactoryDefaults.h"
#include "link/WriteRoundTrip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThreadPool>
#include <filesystem>

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace ornis::cli {

namespace {

Status failure(const QString &message)
{
    return Status::failure(message.toStdString());
}

// Whether files can be created in `folder`, or, while it is missing, whether it can be made
// in the nearest folder that exists; else why not, as the system says it ("Permission
// denied", "Read-only file system").
Status canCreateFilesIn(const QString &folder)
{
    std::error_code error;
    std::filesystem::path path = toFilePath(folder);
    if (std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error))
        return failure(QStringLiteral("%1 is no folder").arg(folder));
#ifndef _WIN32
    while (!std::filesystem::exists(path, error) && path.has_relative_path())
        path = path.parent_path();
    if (::access(path.empty() ? "." : path.c_str(), W_OK | X_OK) != 0)
        return failure(QStringLiteral("Cannot create files in the folder %1: %2")
                           .arg(QFile::decodeName(path.c_str()),
                               QString::fromLocal8Bit(std::strerror(errno))));
#endif
    return Status::success();
}

Status makeFolder(const QString &folder)
{
    std::error_code error;
    std::filesystem::create_directories(toFilePath(folder), error);
    if (error)
        return failure(QStringLiteral("Cannot create the folder %1: %2")
                           .arg(folder, QString::fromLocal8Bit(error.message())));
    return Status::success();
}

} // namespace

SiteBackup::SiteBackup(std::size_t index, Site site, const BackupOptions &options,
    QString fileName, QThreadPool &files, TransferRunner::Listener listener)
    : index_(index)
    , site_(std::move(site))
    , options_(options)
    , fileName_(std::move(fileName))
    , files_(files)
    , folder_(QDir(options.dir).filePath(site_.name))
    , blocks_(options.block ? BlockSet {*options.block} : blocksOfModel(site_.model))
    , runner_(config_, std::move(listener))
{
}

SiteBackup::~SiteBackup() = default;

void SiteBackup::start(Ended ended)
{
    ended_ = std::move(ended);
    started_ = QDateTime::currentDateTime();
    clock_.start();
    onFileThread([this] {
        Status prepared = prepareFiles();
        return [this, prepared] { startRead(prepared); };
    });
}

void SiteBackup::startRead(Status prepared)
{
    if (stopped_) // while its files were made ready: it never opens its port
        prepared = Status::failure("interrupted");
    if (prepared.ok() && !options_.traceDir.isEmpty())
        prepared = runner_.traceInto(QDir(options_.traceDir).filePath(site_.name + ".trace"));
    if (!prepared.ok()) {
        SiteOutcome outcome = failedOutcome();
        outcome.error = QString::fromStdString(prepared.message());
        end(std::move(outcome));
        return;
    }
    std::vector<TransferMode> transfers = transfersFor(blocks_, site_.model, Direction::Receive);
    transferCount_ = transfers.size();
    runner_.run(site_.port, std::move(transfers), options_.timeoutMs,
        [this](const Status &status) { transferDone(status); });
}

template<typename Work> void SiteBackup::onFileThread(Work work)
{
    // What `work` returns goes on in this site's loop, once the pool is done with it.
    files_.start([this, work = std::move(work)]() mutable {
        QMetaObject::invokeMethod(&runner_, work(), Qt::QueuedConnection);
    });
}

void SiteBackup::stop()
{
    stopped_ = true;
    runner_.stop();
}

SiteOutcome SiteBackup::interruptedBeforeStart(std::size_t index, const Site &site)
{
    SiteOutcome outcome;
    outcome.index = index;
    outcome.name = site.name;
    outcome.error = QStringLiteral("interrupted");
    // The attempt that never began is dated by its interruption.
    outcome.started = QDateTime::currentDateTime();
    return outcome;
}

SiteOutcome SiteBackup::failedOutcome() const
{
    SiteOutcome outcome;
    outcome.index = index_;
    outcome.name = site_.name;
    outcome.started = started_;
    return outcome;
}

Status SiteBackup::prepareFiles()
{
    // The folder is made only for a backup to keep.
    if (Status ready = canCreateFilesIn(folder_); !ready.ok())
        return ready;
    loadNewestBackup();
    // Read over the newest backup: what does not travel (the comments) stays as it was there.
    config_ = newest_.value_or(factoryConfig());
    config_.ExchangeType = site_.model;
    if (options_.traceDir.isEmpty())
        return Status::success();
    return makeFolder(options_.traceDir);
}

void SiteBackup::loadNewestBackup()
{
    static const QRegularExpression stamped(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.json$"));
    const QStringList names = QDir(folder_).entryList(
        {QStringLiteral("*.json")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        // A backup dated later (a clock set wrong once) is no earlier one.
        if (!stamped.match(name).hasMatch() || name >= fileName_)
            continue;
        ExchangeConfig config;
        BlockSet held;
        const Status loaded
            = loadConfigFile(QDir(folder_).filePath(name), FileKind::Json, config, held);
        if (!loaded.ok()) {
            warnings_.append(QStringLiteral("%1; compared with an older backup")
                                 .arg(QString::fromStdString(loaded.message())));
            continue;
        }
        if ((blocks_ - held).empty()) {
            newest_ = std::move(config);
            return;
        }
    }
}

void SiteBackup::transferDone(const Status &status)
{
    for (const std::string &warning : runner_.readWarnings())
        warnings_.append(linkText(warning));
    Status read = status;
    // A stop that came before the last block was read through, whatever else it met.
    const RunRecord &record = runner_.record();
    if (record.stopped && record.completedTransfers < transferCount_)
        read = Status::failure("interrupted");
    if (read.ok() && runner_.traceFailure())
        read = Status::failure(*runner_.traceFailure());
    if (!read.ok())
        return end(failedWith(read));
    onFileThread([this] {
        SiteOutcome outcome = failedOutcome();
        const Status kept = keep(outcome);
        if (!kept.ok())
            outcome = failedWith(kept);
        return [this, outcome] { end(outcome); };
    });
}

SiteOutcome SiteBackup::failedWith(const Status &status) const
{
    SiteOutcome outcome = failedOutcome();
    outcome.error = QString::fromStdString(status.message());
    return outcome;
}

Status SiteBackup::keep(SiteOutcome &outcome)
{
    if (newest_) {
        // As diff compares two backups: as the exchange would hold each.
        outcome.changes = compareConfigs(
            asSentToExchange(*newest_, blocks_), asSentToExchange(config_, blocks_), blocks_);
        newest_.reset();
        if (outcome.changes.empty()) {
            outcome.result = SiteOutcome::Result::Unchanged;
            return Status::success();
        }
    }
    if (Status made = makeFolder(folder_); !made.ok())
        return made;
    const QString path = QDir(folder_).filePath(fileName_);
    // Two runs in one second: the first one's backup stays as it is.
    if (QFileInfo::exists(path))
        return failure(QStringLiteral("%1 exists already").arg(path));
    if (Status saved = saveConfigFile(path, FileKind::Json, config_, blocks_); !saved.ok())
        return saved;
    outcome.result = outcome.changes.empty() ? SiteOutcome::Result::FirstBackup
                                             : SiteOutcome::Result::Changed;
    return Status::success();
}

void SiteBackup::end(SiteOutcome outcome)
{
    outcome.seconds = double(clock_.elapsed()) / 1000;
    outcome.warnings = warnings_;
    if (ended_)
        ended_(outcome);
}

} // namespace ornis::cli
