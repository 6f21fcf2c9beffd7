#include "FleetBackup.h"

#include "Output.h"
#include "TransferRunner.h"
#include "common/BlockNames.h"
#include "common/Comparison.h"
#include "common/ConfigFiles.h"
#include "config/ChoiceLists.h"
#include "config/FactoryDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace ornis::cli {

struct FleetBackup::SiteRun
{
    std::size_t index;
    Site site;
    ExchangeConfig config; // the read stores into it
    BlockSet blocks;
    std::unique_ptr<TransferRunner> runner;
    QStringList lines; // of the report
};

FleetBackup::FleetBackup(
    std::vector<Site> sites, BackupOptions options, const QDateTime &stamp, SiteProgress &progress)
    : options_(std::move(options))
    , fileName_(stamp.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral(".json"))
    , progress_(progress)
{
    for (Site &site : sites) {
        auto run
            = std::make_unique<SiteRun>(SiteRun {runs_.size(), std::move(site), {}, {}, {}, {}});
        run->config = factoryConfig();
        run->config.ExchangeType = run->site.model;
        run->blocks = options_.block ? BlockSet {*options_.block} : blocksOfModel(run->site.model);
        runs_.push_back(std::move(run));
    }
}

FleetBackup::~FleetBackup() = default;

void FleetBackup::start(Done done)
{
    done_ = std::move(done);
    if (!prepare())
        return done_(ExitCode::UsageOrFileError);
    if (runs_.empty())
        return done_(ExitCode::Success);
    launchWaiting();
}

bool FleetBackup::prepare()
{
    bool good = true;
    const auto refuse = [&good](const QString &message) {
        printMessage(message);
        good = false;
    };
    for (const auto &run : runs_) {
        if (!(run->blocks - blocksOfModel(run->site.model)).empty())
            refuse(QStringLiteral("line %1: site \"%2\" of model %3 has no PE block")
                       .arg(run->site.line)
                       .arg(run->site.name,
                           QString::fromStdString(listText(modelNames(), run->site.model))));
    }
    for (const QString &dir : {options_.dir, options_.traceDir}) {
        if (!good || dir.isEmpty())
            continue;
        if (!QDir().mkpath(dir) || !QFileInfo(dir).isWritable())
            refuse(QStringLiteral("Cannot create files in the folder %1").arg(dir));
    }
    for (const auto &run : runs_) {
        if (!good)
            break;
        const QFileInfo folder(QDir(options_.dir).filePath(run->site.name));
        if (folder.exists() && (!folder.isDir() || !folder.isWritable()))
            refuse(QStringLiteral("Cannot create files in the folder %1").arg(folder.filePath()));
        SiteRun *site = run.get();
        run->runner = std::make_unique<TransferRunner>(
            run->config, [this, site](TransferMode mode, int percent) {
                progress_.siteMoved(site->index, mode, percent);
            });
        if (options_.traceDir.isEmpty())
            continue;
        const QString trace = QDir(options_.traceDir).filePath(run->site.name + ".trace");
        if (const Status traced = run->runner->traceInto(trace); !traced.ok())
            refuse(QString::fromStdString(traced.message()));
    }
    return good;
}

void FleetBackup::launchWaiting()
{
    const std::size_t limit
        = options_.parallel > 0 ? std::size_t(options_.parallel) : runs_.size();
    while (running_ < limit && launched_ < runs_.size()) {
        SiteRun &run = *runs_[launched_++];
        ++running_;
        run.runner->run(run.site.port,
            transfersFor(run.blocks, run.site.model, Direction::Receive), options_.timeoutMs,
            [this, &run](const Status &status) { siteDone(run, status); });
    }
}

void FleetBackup::siteDone(SiteRun &run, const Status &status)
{
    for (const std::string &warning : run.runner->readWarnings())
        printWarning(QStringLiteral("%1: %2").arg(run.site.name, linkText(warning)));

    Status kept = status;
    if (kept.ok())
        kept = keep(run);
    if (!kept.ok()) {
        anyFailed_ = true;
        run.lines
            = QStringList {run.site.name + "\tfailed: " + QString::fromStdString(kept.message())};
    }
    progress_.siteEnded(run.index, run.lines.first().section('\t', 1, 1));
    --running_;
    if (++ended_ == runs_.size())
        return done_(anyFailed_ ? ExitCode::TransferFailed : ExitCode::Success);
    launchWaiting();
}

Status FleetBackup::keep(SiteRun &run)
{
    const QString folder = QDir(options_.dir).filePath(run.site.name);
    const QString path = QDir(folder).filePath(fileName_);
    if (!QDir().mkpath(folder))
        return Status::failure("Cannot create the folder " + folder.toStdString());
    // Two runs in one second: the first one's backup stays as it is.
    if (QFileInfo::exists(path))
        return Status::failure(path.toStdString() + " exists already");
    const std::optional<ExchangeConfig> previous = previousBackup(run, folder, fileName_);
    if (Status saved = saveConfigFile(path, FileKind::Json, run.config, run.blocks); !saved.ok())
        return saved;

    const QString &name = run.site.name;
    if (!previous) {
        run.lines = QStringList {name + "\tfirst backup"};
        return Status::success();
    }
    const std::vector<Difference> changes = compareConfigs(*previous, run.config, run.blocks);
    const qsizetype count = qsizetype(changes.size());
    run.lines = QStringList {name + '\t'
        + (count == 0        ? QStringLiteral("unchanged")
                : count == 1 ? QStringLiteral("1 change")
                             : QStringLiteral("%1 changes").arg(count))};
    for (const Difference &change : changes)
        run.lines.append(QStringList {
            name, change.block, change.item, tableCell(change.left), tableCell(change.right)}
                             .join('\t'));
    return Status::success();
}

std::optional<ExchangeConfig> FleetBackup::previousBackup(
    const SiteRun &run, const QString &folder, const QString &newName) const
{
    static const QRegularExpression stamped(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.json$"));
    const QStringList names = QDir(folder).entryList(
        {QStringLiteral("*.json")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        // A backup dated later (a clock set wrong once) is no previous one.
        if (!stamped.match(name).hasMatch() || name >= newName)
            continue;
        ExchangeConfig config;
        BlockSet held;
        const Status loaded
            = loadConfigFile(QDir(folder).filePath(name), FileKind::Json, config, held);
        if (!loaded.ok()) {
            printWarning(QStringLiteral("%1: %2; compared with an older backup")
                             .arg(run.site.name, QString::fromStdString(loaded.message())));
            continue;
        }
        if ((run.blocks - held).empty())
            return config;
    }
    return std::nullopt;
}

QByteArray FleetBackup::report() const
{
    QByteArray text;
    for (const auto &run : runs_) {
        for (const QString &line : run->lines)
            text += line.toUtf8() + '\n';
    }
    return text;
}

} // namespace ornis::cli
