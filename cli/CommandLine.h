#pragma once

#include "Shard.h"
#include "config/Blocks.h"
#include "config/ExchangeConfig.h"
#include "link/LinkPort.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

namespace ornis::cli {

enum class Command { Read, Write, Verify, Diff, Clock, Convert, Ports, Backup, Help, Version };

struct Request
{
    Command command = Command::Help;
    QString port;
    std::optional<int32_t> model; // --model; nothing when not given
    std::optional<Block> block; // --block; nothing for all blocks
    QString jsonFile;
    QString setFile;
    int timeoutMs = DefaultAnswerTimeoutMs;
    bool force = false; // write: send values the exchange stores differently
    bool verify = false; // write: read the blocks back and compare them
    QString traceFile; // --trace: the line trace of the transfers goes there
    std::optional<Block> table; // convert --table: the table of a .csv; nothing when not given
    QString input; // convert IN, diff A
    QString output; // convert OUT, diff B
    QString sitesFile; // backup: the list of sites
    QString backupDir; // backup: a folder a site under it
    int parallel = 0; // backup: at most this many sites at a time; 0 for all
    int jobs = 0; // backup: the sites spread over this many threads; 0 for one a core
    QString traceDir; // backup: one line trace a site goes there
    std::optional<Shard> shard; // backup: only the sites of this part of the list
    QString metricsFile; // backup: the run's metrics for Prometheus go there
    bool status = false; // backup: print the state of every site in --dir instead
};

struct ParsedCommandLine
{
    std::optional<Request> request;
    QString error; // a usage error when there is no request
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
[[nodiscard]] ParsedCommandLine parseCommandLine(const QStringList &arguments);

// The commands by their names, with what each does, in the order the help lists them.
struct CommandInfo
{
    const char *name;
    Command command;
    const char *summary;
};
[[nodiscard]] std::span<const CommandInfo> commandTable();
// The names of the options `command` takes.
[[nodiscard]] QStringList optionsOf(Command command);
// Every option, as the parser takes it and the help lists it.
[[nodiscard]] QList<QCommandLineOption> commandLineOptions();

// The words that name the models on the command line and in the list of sites, a model's
// index each: "MIRA", "VEGA", "VEGA-X".
[[nodiscard]] QStringList modelWords();
// "MIRA, VEGA or VEGA-X", for a message.
[[nodiscard]] QString modelChoices();
// The model a word of modelWords() names, in any case.
[[nodiscard]] std::optional<int32_t> modelNamed(const QString &name);

} // namespace ornis::cli
