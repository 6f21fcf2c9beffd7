#pragma once

#include "config/ExchangeConfig.h"
#include "link/TransferMode.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ornis::cli {

enum class Command { Read, Write, Clock, Convert, Ports, Help };
enum class Block { All, Settings, Services, ShortDials, PE };

struct Request
{
    Command command = Command::Help;
    QString port;
    std::optional<int32_t> model; // --model; nothing when not given
    Block block = Block::All;
    QString jsonFile;
    QString setFile;
    int timeoutMs = 4000;
    QString traceFile; // --trace: the line trace of the transfer goes there
    QString input; // convert
    QString output; // convert
};

struct ParsedCommandLine
{
    std::optional<Request> request;
    QString error; // a usage error when there is no request
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
[[nodiscard]] ParsedCommandLine parseCommandLine(const QStringList &arguments);

[[nodiscard]] QString usageText();

// The mode that reads or writes `block`: settings with the day/night times, all blocks
// as one chain.
[[nodiscard]] TransferMode transferModeOf(Block block, bool write);

} // namespace ornis::cli
