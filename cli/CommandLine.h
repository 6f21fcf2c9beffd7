#pragma once

#include "config/Blocks.h"
#include "config/ExchangeConfig.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ornis::cli {

enum class Command { Read, Write, Verify, Diff, Clock, Convert, Ports, Help };

struct Request
{
    Command command = Command::Help;
    QString port;
    std::optional<int32_t> model; // --model; nothing when not given
    std::optional<Block> block; // --block; nothing for all blocks
    QString jsonFile;
    QString setFile;
    int timeoutMs = 4000;
    bool force = false; // write: send values the exchange stores differently
    bool verify = false; // write: read the blocks back and compare them
    QString traceFile; // --trace: the line trace of the transfers goes there
    std::optional<Block> table; // convert --table: the table of a .csv; nothing when not given
    QString input; // convert IN, diff A
    QString output; // convert OUT, diff B
};

struct ParsedCommandLine
{
    std::optional<Request> request;
    QString error; // a usage error when there is no request
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
[[nodiscard]] ParsedCommandLine parseCommandLine(const QStringList &arguments);

[[nodiscard]] QString usageText();

} // namespace ornis::cli
