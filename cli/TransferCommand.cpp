#include "TransferCommand.h"

#include "Output.h"
#include "common/BlockNames.h"
#include "common/Comparison.h"
#include "common/ConfigFiles.h"
#include "common/JsonForm.h"
#include "config/ChoiceLists.h"
#include "config/FactoryDefaults.h"
#include "link/BlockTable.h"
#include "link/WriteRoundTrip.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ornis::cli {

TransferCommand::TransferCommand(const Request &request)
    : request_(request)
    , progress_(stderr, Progress::isTerminal(stderr))
    , runner_(config_, progress_)
{
    connect(&signals_, &StopSignals::stopRequested, this, &TransferCommand::stopRequested);
}

void TransferCommand::start()
{
    if (ended_)
        return; // a signal came first
    const std::optional<std::vector<TransferMode>> modes = prepare();
    if (!modes)
        return end(ExitCode::UsageOrFileError);
    if (!request_.traceFile.isEmpty()) {
        if (const Status traced = runner_.traceInto(request_.traceFile); !traced.ok()) {
            printMessage(traced.message());
            return end(ExitCode::UsageOrFileError);
        }
    }
    transferring_ = true;
    runner_.run(request_.port, *modes, request_.timeoutMs,
        [this](const Status &status) { transferDone(status); });
}

void TransferCommand::stopRequested()
{
    if (transferring_)
        runner_.stop();
    else
        end(signals_.exitStatus());
}

namespace {

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

} // namespace

std::optional<std::vector<TransferMode>> TransferCommand::prepare()
{
    config_ = factoryConfig();
    if (request_.command == Command::Clock)
        return std::vector {TransferMode::ClockWrite};
    if (request_.command == Command::Read && !outputsWritable())
        return std::nullopt;

    const bool write = request_.command == Command::Write;
    const bool json = !request_.jsonFile.isEmpty();
    const QString &file = json ? request_.jsonFile : request_.setFile;
    BlockSet held = BlockSet::all();
    if (request_.command != Command::Read) {
        const Status loaded
            = loadConfigFile(file, json ? FileKind::Json : FileKind::Settings, config_, held);
        if (!loaded.ok()) {
            printMessage(loaded.message());
            return std::nullopt;
        }
    }
    // Without --model: the model the JSON form holds, else the factory's MIRA (a settings
    // file holds none). A JSON form's values are for its own model: --model may not differ.
    if (request_.model && json && request_.command != Command::Read
        && *request_.model != config_.ExchangeType) {
        const QStringList words = modelWords();
        printMessage(
            QStringLiteral("--model %1 contradicts the model of %2, %3 (its "
                           "ExchangeType): leave --model out, or change the file")
                .arg(words.at(*request_.model), file,
                    words.value(config_.ExchangeType, QString::number(config_.ExchangeType))));
        return std::nullopt;
    }
    if (request_.model)
        config_.ExchangeType = *request_.model;
    const std::optional<BlockSet> blocks = chooseBlocks(held, file);
    if (!blocks)
        return std::nullopt;
    blocks_ = *blocks;

    if (write && !valuesSendable())
        return std::nullopt;
    if (request_.command == Command::Read && !request_.setFile.isEmpty()) {
        // What the settings file does not keep, the JSON form may.
        const BlockSet kept = request_.jsonFile.isEmpty() ? blocks_ : blocks_ & SettingsFileBlocks;
        warnAboutKeeping(request_.setFile, kept, FileKind::Settings, config_.ExchangeType);
    }
    // A verify reads into a copy of the file's values: what does not travel stays equal.
    file_ = config_;
    std::vector<TransferMode> modes = transfersFor(
        blocks_, config_.ExchangeType, write ? Direction::Send : Direction::Receive);
    writeTransfers_ = write ? modes.size() : 0;
    // write --verify: the blocks written are read back over what was sent.
    if (write && request_.verify) {
        const std::vector<TransferMode> readBack
            = transfersFor(blocks_, config_.ExchangeType, Direction::Receive);
        modes.insert(modes.end(), readBack.begin(), readBack.end());
    }
    return modes;
}

std::optional<BlockSet> TransferCommand::chooseBlocks(BlockSet held, const QString &file) const
{
    const BlockSet ofModel = blocksOfModel(config_.ExchangeType);
    const QString model = QString::fromStdString(listText(modelNames(), config_.ExchangeType));
    if (request_.block) {
        const Block block = *request_.block;
        if (!held.contains(block)) {
            printMessage(QStringLiteral("%1 holds no %2").arg(file, blockTitles({block})));
            return std::nullopt;
        }
        if (!ofModel.contains(block)) {
            printMessage(QStringLiteral("The PE block exists for model %1 only")
                             .arg(QString::fromStdString(listText(modelNames(), ModelMira))));
            return std::nullopt;
        }
        return BlockSet {block};
    }
    if ((held & ofModel).empty()) {
        printMessage(QStringLiteral("%1 holds no block of model %2").arg(file, model));
        return std::nullopt;
    }
    return held & ofModel;
}

bool TransferCommand::outputsWritable() const
{
    const QString &json = request_.jsonFile;
    const QString &set = request_.setFile;
    if (!json.isEmpty() && !set.isEmpty() && sameFile(json, set)) {
        printMessage(QStringLiteral("--json and --set name the same file: %1").arg(json));
        return false;
    }
    for (const QString &path : {json, set}) {
        if (path.isEmpty())
            continue;
        if (const Status status = canCreateFile(path); !status.ok()) {
            printMessage(status.message());
            return false;
        }
    }
    return true;
}

bool TransferCommand::valuesSendable() const
{
    bool refused = false;
    QStringList lines;
    for (const ChangedValue &value : valuesChangedByWrite(config_, blocks_)) {
        const QString message = linkText(value.message);
        if (!value.refused) {
            lines << warningLine(message);
        } else if (request_.force) {
            lines << warningLine(QStringLiteral("%1; sent anyway, the exchange gets %2")
                                     .arg(message, linkText(value.held)));
        } else {
            lines << message;
            refused = true;
        }
    }
    printList(lines);
    if (refused)
        printMessage(QStringLiteral("Nothing was sent; --force sends these values anyway."));
    return !refused;
}

void TransferCommand::transferDone(const Status &status)
{
    transferring_ = false;
    QStringList warnings;
    for (const std::string &warning : runner_.readWarnings())
        warnings << warningLine(linkText(warning));
    printList(warnings);
    if (!status.ok())
        printMessage(status.message());
    if (runner_.record().stopped)
        return endInterrupted();
    if (!status.ok()) {
        if (request_.command == Command::Write)
            tellPartialWrite();
        return end(ExitCode::TransferFailed);
    }
    switch (request_.command) {
    case Command::Read:
        return end(saveReadConfig());
    case Command::Verify:
        return end(reportDifferences());
    case Command::Write:
        return end(request_.verify ? reportDifferences() : ExitCode::Success);
    default:
        return end(ExitCode::Success);
    }
}

void TransferCommand::endInterrupted()
{
    const QString interrupted = QStringLiteral("Interrupted by %1").arg(signals_.receivedName());
    switch (request_.command) {
    case Command::Read:
        printMessage(
            interrupted + QStringLiteral(": the read was not finished; no file was written"));
        break;
    case Command::Verify:
        printMessage(interrupted + QStringLiteral(": the verification was not finished"));
        break;
    case Command::Write:
        printMessage(interrupted);
        tellPartialWrite();
        break;
    default:
        printMessage(interrupted);
        break;
    }
    end(signals_.exitStatus());
}

void TransferCommand::tellPartialWrite() const
{
    const RunRecord &record = runner_.record();
    if (record.completedTransfers >= writeTransfers_)
        return; // every block went whole; what failed is the reading back
    QStringList whole;
    for (const TransferMode mode : record.closedSteps) {
        if (directionOf(mode) == Direction::Send)
            whole << QString::fromUtf8(stepNames(mode)->title);
    }
    QString text = QStringLiteral("The exchange may now hold a partly written configuration. "
                                  "Written whole: %1.")
                       .arg(whole.isEmpty() ? QStringLiteral("none") : whole.join(", "));
    if (record.cutStep && directionOf(*record.cutStep) == Direction::Send)
        text += QStringLiteral(" Stopped in: %1.").arg(stepNames(*record.cutStep)->title);
    printMessage(text);
}

ExitCode TransferCommand::saveReadConfig()
{
    // Each output is written even when the other fails.
    bool failed = false;
    const auto save = [&](const QString &path, FileKind kind) {
        const Status status = saveConfigFile(path, kind, config_, blocks_);
        if (!status.ok()) {
            printMessage(QStringLiteral("%1 was not written: %2")
                             .arg(path, QString::fromStdString(status.message())));
            failed = true;
        }
    };
    if (!request_.jsonFile.isEmpty())
        save(request_.jsonFile, FileKind::Json);
    if (!request_.setFile.isEmpty())
        save(request_.setFile, FileKind::Settings);
    if (request_.jsonFile.isEmpty() && request_.setFile.isEmpty()) {
        QByteArray json;
        if (const Status status = configToJson(config_, blocks_, json); !status.ok()) {
            printMessage(status.message());
            return ExitCode::UsageOrFileError;
        }
        printOut(json);
    }
    return failed ? ExitCode::UsageOrFileError : ExitCode::Success;
}

ExitCode TransferCommand::reportDifferences() const
{
    const QString file = request_.jsonFile.isEmpty() ? request_.setFile : request_.jsonFile;
    // What a write sends differently, with its warning, counts as sent.
    const std::vector<Difference> differences
        = compareConfigs(asSentToExchange(file_, blocks_), config_, blocks_);
    printDifferences(differences, file, QStringLiteral("exchange"));
    return differences.empty() ? ExitCode::Success : ExitCode::Differences;
}

void TransferCommand::end(int code)
{
    if (ended_)
        return;
    ended_ = true;
    if (const std::optional<std::string> &trace = runner_.traceFailure()) {
        printWarning(QString::fromStdString(*trace));
        if (code == int(ExitCode::Success))
            code = int(ExitCode::UsageOrFileError);
    }
    QCoreApplication::exit(code);
}

} // namespace ornis::cli
