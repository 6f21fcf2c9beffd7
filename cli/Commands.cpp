#include "Commands.h"

#include "BackupCommand.h"
#include "HelpText.h"
#include "Output.h"
#include "TransferCommand.h"
#include "common/BlockNames.h"
#include "common/ConfigFiles.h"
#include "common/DialTableFile.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "link/WriteRoundTrip.h"
#include "qtlink/QtSerialPort.h"

#include <QCoreApplication>
#include <QTimer>

namespace ornis::cli {

namespace {

ExitCode runPorts()
{
    for (const SerialPortEntry &entry : QtSerialPort::availablePorts()) {
        QString line = entry.name;
        if (!entry.description.isEmpty())
            line += '\t' + entry.description;
        printOut((line + '\n').toUtf8());
    }
    return ExitCode::Success;
}

bool isDialTable(const QString &path)
{
    return dialFileFormOf(path).has_value();
}

// One dial table from a .csv or .xlsx over the factory values; every bad row is listed.
bool loadDialTable(const Request &request, ExchangeConfig &config, BlockSet &blocks)
{
    DialRows rows;
    if (const Status status = readDialFile(request.input, rows); !status.ok()) {
        printMessage(status.message());
        return false;
    }
    printList(dialRowProblemLines(request.input, rows));
    if (!rows.problems.empty())
        return false;
    if (request.table && *request.table != rows.table) {
        printMessage(
            QStringLiteral("%1 holds the %2, not the %3")
                .arg(request.input, blockTitles({rows.table}), blockTitles({*request.table})));
        return false;
    }
    config = factoryConfig();
    applyDialRows(config, rows);
    blocks = {rows.table};
    return true;
}

bool saveDialTable(const Request &request, const ExchangeConfig &config, BlockSet blocks)
{
    const Block table = request.table.value_or(blocks.contains(Block::PE)
                && !blocks.contains(Block::ShortDials) && isDialTable(request.input)
            ? Block::PE
            : Block::ShortDials);
    if (!blocks.contains(table)) {
        printMessage(QStringLiteral("%1 holds no %2").arg(request.input, blockTitles({table})));
        return false;
    }
    const Status status = writeDialFile(request.output, config, table);
    if (!status.ok())
        printMessage(status.message());
    return status.ok();
}

ExitCode runConvert(const Request &request)
{
    if (request.table && !isDialTable(request.input) && !isDialTable(request.output)) {
        printMessage(std::string("--table applies to a .csv or .xlsx file"));
        return ExitCode::UsageOrFileError;
    }
    const std::optional<FileKind> from = fileKindOf(request.input);
    if (!isDialTable(request.input) && (!from || *from == FileKind::Report)) {
        printMessage("Cannot read " + request.input.toStdString()
            + ": use a .set, .json, .csv or .xlsx file");
        return ExitCode::UsageOrFileError;
    }
    const std::optional<FileKind> to = fileKindOf(request.output);
    if (!isDialTable(request.output) && !to) {
        printMessage("Cannot write " + request.output.toStdString()
            + ": use a .set, .json, .csv, .xlsx or .txt file");
        return ExitCode::UsageOrFileError;
    }
    ExchangeConfig config;
    BlockSet blocks;
    if (isDialTable(request.input)) {
        if (!loadDialTable(request, config, blocks))
            return ExitCode::UsageOrFileError;
    } else if (const Status status = loadConfigFile(request.input, *from, config, blocks);
               !status.ok()) {
        printMessage(status.message());
        return ExitCode::UsageOrFileError;
    }
    if (isDialTable(request.output))
        return saveDialTable(request, config, blocks) ? ExitCode::Success
                                                      : ExitCode::UsageOrFileError;
    if (const Status status = saveConfigFile(request.output, *to, config, blocks); !status.ok()) {
        printMessage(status.message());
        return ExitCode::UsageOrFileError;
    }
    warnAboutKeeping(request.output, blocks, *to, config.ExchangeType, from == FileKind::Json);
    return ExitCode::Success;
}

// A file to compare: a settings file or a JSON form, loaded.
struct ComparedFile
{
    QString path;
    std::optional<FileKind> kind;
    ExchangeConfig config;
    BlockSet blocks;
};

bool loadCompared(ComparedFile &file)
{
    file.kind = fileKindOf(file.path);
    if (!file.kind || *file.kind == FileKind::Report) {
        printMessage("Cannot read " + file.path.toStdString() + ": use a .set or .json file");
        return false;
    }
    const Status status = loadConfigFile(file.path, *file.kind, file.config, file.blocks);
    if (!status.ok())
        printMessage(status.message());
    return status.ok();
}

ExitCode runDiff(const Request &request)
{
    ComparedFile a {request.input, {}, {}, {}};
    ComparedFile b {request.output, {}, {}, {}};
    if (!loadCompared(a) || !loadCompared(b))
        return ExitCode::UsageOrFileError;
    BlockSet blocks = a.blocks & b.blocks;
    if (blocks.empty() && !request.block) {
        // Nothing to compare is no agreement.
        const auto held = [](const ComparedFile &file) {
            return file.blocks.empty() ? QStringLiteral("no block")
                                       : QStringLiteral("the ") + blockTitles(file.blocks);
        };
        printMessage(QStringLiteral("%1 holds %2, %3 holds %4: no block to compare")
                         .arg(a.path, held(a), b.path, held(b)));
        return ExitCode::UsageOrFileError;
    }
    if (request.block) {
        for (const ComparedFile *file : {&a, &b}) {
            if (!file->blocks.contains(*request.block)) {
                printMessage(QStringLiteral("%1 holds no %2")
                                 .arg(file->path, blockTitles({*request.block})));
                return ExitCode::UsageOrFileError;
            }
        }
        blocks = {*request.block};
    }
    for (const auto &[file, other] : {std::pair {&a, &b}, std::pair {&b, &a}}) {
        if (const BlockSet only = file->blocks - other->blocks; !only.empty() && !request.block)
            printWarning(QStringLiteral("only %1 holds the %2; they are not compared")
                             .arg(file->path, blockTitles(only)));
        // A settings file holds no model and modules: it has the other file's.
        if (*file->kind == FileKind::Settings) {
            file->config.ExchangeType = other->config.ExchangeType;
            file->config.ExchangeModules = other->config.ExchangeModules;
        }
    }
    // Compared as the exchange would hold each: "99:99" and an unset wake-up are the same.
    const std::vector<Difference> differences = compareConfigs(
        asSentToExchange(a.config, blocks), asSentToExchange(b.config, blocks), blocks);
    printDifferences(differences, a.path, b.path);
    return differences.empty() ? ExitCode::Success : ExitCode::Differences;
}

} // namespace

ExitCode runRequest(const Request &request)
{
    switch (request.command) {
    case Command::Help:
        printOut(usageText().toUtf8());
        return ExitCode::Success;
    case Command::Version:
        printOut(versionText().toUtf8());
        return ExitCode::Success;
    case Command::Ports:
        return runPorts();
    case Command::Convert:
        return runConvert(request);
    case Command::Diff:
        return runDiff(request);
    case Command::Backup:
        return runBackup(request);
    case Command::Read:
    case Command::Write:
    case Command::Verify:
    case Command::Clock:
        break;
    }
    TransferCommand command(request);
    QTimer::singleShot(0, &command, [&command] { command.start(); });
    return ExitCode(QCoreApplication::exec());
}

} // namespace ornis::cli
