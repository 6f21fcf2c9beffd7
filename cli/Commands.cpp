#include "Commands.h"

#include "ConfigFiles.h"
#include "JsonForm.h"
#include "Progress.h"
#include "TransferRunner.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/ListTexts.h"
#include "config/Numbering.h"
#include "link/CallBackTargets.h"
#include "qtlink/QtSerialPort.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

namespace ornis::cli {

namespace {

void printMessage(const std::string &message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
}

void printWarning(const QString &message)
{
    std::fprintf(stderr, "Warning: %s\n", message.toUtf8().constData());
}

void printOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

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

ExitCode runConvert(const Request &request)
{
    const std::optional<FileKind> from = fileKindOf(request.input);
    if (!from || *from == FileKind::Report) {
        printMessage("Cannot read " + request.input.toStdString() + ": use a .set or .json file");
        return ExitCode::UsageOrFileError;
    }
    const std::optional<FileKind> to = fileKindOf(request.output);
    if (!to) {
        printMessage(
            "Cannot write " + request.output.toStdString() + ": use a .set, .json or .txt file");
        return ExitCode::UsageOrFileError;
    }
    ExchangeConfig config;
    Status status = loadConfigFile(request.input, *from, config);
    if (status.ok())
        status = saveConfigFile(request.output, *to, config);
    if (!status.ok()) {
        printMessage(status.message());
        return ExitCode::UsageOrFileError;
    }
    return ExitCode::Success;
}

// read, write and clock: prepares the configuration, runs the transfer and, after a read,
// writes what arrived. Ends the event loop with the exit status.
class TransferCommand final : public QObject
{
public:
    explicit TransferCommand(const Request &request)
        : request_(request)
        , progress_(stderr, Progress::isTerminal(stderr))
        , runner_(config_, progress_)
    {
    }

    void start()
    {
        const std::optional<TransferMode> mode = prepare();
        if (!mode)
            return end(ExitCode::UsageOrFileError);
        if (!request_.traceFile.isEmpty()) {
            if (const Status traced = runner_.traceInto(request_.traceFile); !traced.ok()) {
                printMessage(traced.message());
                return end(ExitCode::UsageOrFileError);
            }
        }
        runner_.run(request_.port, *mode, request_.timeoutMs,
            [this](const Status &status) { transferDone(status); });
    }

private:
    // The configuration to send or to read into, and the mode; nothing after a usage or
    // file error (reported).
    std::optional<TransferMode> prepare()
    {
        config_ = factoryConfig();
        if (request_.command == Command::Clock)
            return TransferMode::ClockWrite;

        const bool write = request_.command == Command::Write;
        if (write) {
            const bool json = !request_.jsonFile.isEmpty();
            const QString &file = json ? request_.jsonFile : request_.setFile;
            const Status loaded
                = loadConfigFile(file, json ? FileKind::Json : FileKind::Settings, config_);
            if (!loaded.ok()) {
                printMessage(loaded.message());
                return std::nullopt;
            }
        }
        // Without --model: the model the JSON form holds, else the factory's MIRA (a
        // settings file holds none).
        if (request_.model)
            config_.ExchangeType = *request_.model;

        if (request_.block == Block::PE && config_.ExchangeType != ModelMira) {
            printMessage("The PE block exists for model MIRA only");
            return std::nullopt;
        }
        if (write && (request_.block == Block::All || request_.block == Block::Services))
            warnAboutCallBacks();
        if (!write && request_.block == Block::Services && request_.jsonFile.isEmpty()
            && !request_.setFile.isEmpty())
            printWarning("a settings file holds no services; --json keeps them");
        return transferModeOf(request_.block, write);
    }

    void warnAboutCallBacks() const
    {
        for (const int e : extensionsWithUntransferableCallBack(config_)) {
            const ExtensionServices &services = config_.Services[std::size_t(e)];
            printWarning(
                QStringLiteral("the call-back target of extension %1 is line %2, "
                               "which the exchange cannot hold; it gets \"vyp\"")
                    .arg(extensionNumber(e))
                    .arg(QString::fromStdString(serviceItemText(e, services.BackRing, true))));
        }
    }

    void transferDone(const Status &status)
    {
        if (!status.ok()) {
            printMessage(status.message());
            return end(ExitCode::TransferFailed);
        }
        if (request_.command == Command::Read)
            return end(saveReadConfig());
        end(ExitCode::Success);
    }

    ExitCode saveReadConfig()
    {
        Status status = Status::success();
        if (!request_.jsonFile.isEmpty())
            status = saveConfigFile(request_.jsonFile, FileKind::Json, config_);
        if (status.ok() && !request_.setFile.isEmpty())
            status = saveConfigFile(request_.setFile, FileKind::Settings, config_);
        if (status.ok() && request_.jsonFile.isEmpty() && request_.setFile.isEmpty()) {
            QByteArray json;
            status = configToJson(config_, json);
            if (status.ok())
                printOut(json);
        }
        if (!status.ok()) {
            printMessage(status.message());
            return ExitCode::UsageOrFileError;
        }
        return ExitCode::Success;
    }

    void end(ExitCode code) { QCoreApplication::exit(int(code)); }

    Request request_;
    ExchangeConfig config_;
    Progress progress_;
    TransferRunner runner_;
};

} // namespace

ExitCode runRequest(const Request &request)
{
    switch (request.command) {
    case Command::Help:
        printOut(usageText().toUtf8());
        return ExitCode::Success;
    case Command::Ports:
        return runPorts();
    case Command::Convert:
        return runConvert(request);
    case Command::Read:
    case Command::Write:
    case Command::Clock:
        break;
    }
    TransferCommand command(request);
    QTimer::singleShot(0, &command, [&command] { command.start(); });
    return ExitCode(QCoreApplication::exec());
}

} // namespace ornis::cli
