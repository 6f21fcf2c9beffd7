#include "CommandLine.h"

#include "common/BlockNames.h"
#include "config/ChoiceLists.h"
#include "link/LinkPort.h"

#include <QCommandLineParser>
#include <QThread>
#include <algorithm>
#include <array>

namespace ornis::cli {

namespace {

// More threads than this gain nothing on any machine that runs it.
constexpr int MaxJobs = 256;

constexpr std::array<CommandInfo, 8> Commands {{
    {"read", Command::Read,
        "reads blocks of the exchange over the factory values and writes them to the JSON "
        "form and/or a settings file (without either: JSON on stdout)."},
    {"write", Command::Write,
        "writes the blocks a JSON form or a settings file holds (a settings file holds no "
        "services). Values the exchange would store differently are refused before the "
        "first byte."},
    {"verify", Command::Verify,
        "reads the blocks the file holds and lists where the exchange differs from what a "
        "write of the file leaves there."},
    {"diff", Command::Diff,
        "lists where two files (.set or .json) differ, in the blocks both hold."},
    {"clock", Command::Clock, "sets the exchange's clock from this computer's clock."},
    {"convert", Command::Convert,
        "turns a .set, .json, .csv or .xlsx file into a .set, .json, .csv, .xlsx or .txt "
        "(the report). A .csv or an .xlsx holds one row per record of the short dials, "
        "Volba;Státní;Číslo;Komentář, or with --table pe of the PE records, "
        "Záznam;Státní;Číslo."},
    {"ports", Command::Ports, "lists the serial ports: name, then description."},
    {"backup", Command::Backup,
        "reads every site of a list at once and prints, a site a line as it ends, what "
        "changed since its newest backup; keeps DIR/NAME/YYYY-MM-DD_HH-MM-SS.json only when "
        "something changed, and each site's state in DIR/state.json. One run at a time a "
        "DIR. With --status: prints that state."},
}};

// How many words a command takes after its name.
qsizetype wordsOf(Command command)
{
    return command == Command::Diff || command == Command::Convert ? 2 : 0;
}

// "settings, services or pe".
QString choices(QStringList names)
{
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

ParsedCommandLine usageError(const QString &message)
{
    return {std::nullopt, message};
}

// The model a command line starts from: the factory's.
QString defaultModelWord()
{
    return modelWords().at(ExchangeConfig {}.ExchangeType);
}

} // namespace

std::span<const CommandInfo> commandTable()
{
    return Commands;
}

QStringList optionsOf(Command command)
{
    const QStringList transfer {"port", "model", "block", "json", "set", "timeout", "trace"};
    switch (command) {
    case Command::Read:
    case Command::Verify:
        return transfer;
    case Command::Write:
        return transfer + QStringList {"force", "verify"};
    case Command::Diff:
        return {"block"};
    case Command::Clock:
        return {"port", "timeout", "trace"};
    case Command::Convert:
        return {"table"};
    case Command::Backup:
        return {"sites", "dir", "block", "timeout", "parallel", "jobs", "trace-dir", "shard",
            "metrics", "status"};
    case Command::Ports:
    case Command::Help:
    case Command::Version:
        break;
    }
    return {};
}

QList<QCommandLineOption> commandLineOptions()
{
    return {
        {"port",
            "a serial port (ttyUSB0, COM3, /dev/pts/3) or a serial device server: "
            "tcp://HOST:PORT (the bytes as they are) or rfc2217://HOST:PORT (Telnet, RFC "
            "2217).",
            "PORT"},
        {"model",
            QStringLiteral("%1 (default %2). A JSON form holds its model (ExchangeType), which "
                           "--model must not contradict.")
                .arg(modelChoices(), defaultModelWord()),
            "MODEL"},
        {"block",
            QStringLiteral("%1 (PE for %2 only). By default all that the file holds or the "
                           "model has.")
                .arg(choices(QStringList {"all"} + blockKeys()), modelWords().at(ModelMira)),
            "BLOCK"},
        {"json",
            "the JSON form that read writes (without --json and --set: on stdout), that write "
            "sends and that verify compares with.",
            "FILE"},
        {"set", "a settings file, the same way; it holds no services.", "FILE"},
        {"timeout",
            QStringLiteral("the answer timeout in milliseconds (default %1).")
                .arg(DefaultAnswerTimeoutMs),
            "MS"},
        {"trace", "record every byte on the line into FILE, for support.", "FILE"},
        {"force", "send values the exchange stores differently, with a warning each."},
        {"verify", "after the write, read the blocks back and list where they differ."},
        {"table", "the table of a .csv or .xlsx: shortdials (default) or pe.", "TABLE"},
        {"sites", "the list of sites (CSV: name, port, model).", "SITES"},
        {"dir", "the folder of the backups, a folder a site.", "DIR"},
        {"parallel", "at most N sites at a time (default all).", "N"},
        {"jobs",
            QStringLiteral("spread the sites over N threads (default one a core, here %1).")
                .arg(QThread::idealThreadCount()),
            "N"},
        {"trace-dir", "one line trace a site, D/NAME.trace.", "D"},
        {"shard", "only the sites whose name hashes to K of N (1 <= K <= N).", "K/N"},
        {"metrics", "the run's metrics for Prometheus' node_exporter into FILE.", "FILE"},
        {"status", "print the state of every site kept in --dir DIR instead."},
        {{"h", "help"}, "show this help."},
        {"version", "show the version."},
    };
}

QStringList modelWords()
{
    // A word of a command line or a CSV field is better without a blank.
    QStringList words;
    for (const char *name : modelNames())
        words.append(QString::fromLatin1(name).replace(u' ', u'-'));
    return words;
}

QString modelChoices()
{
    return choices(modelWords());
}

std::optional<int32_t> modelNamed(const QString &name)
{
    const QStringList words = modelWords();
    for (qsizetype index = 0; index < words.size(); ++index) {
        if (name.compare(words[index], Qt::CaseInsensitive) == 0)
            return int32_t(index);
    }
    return std::nullopt;
}

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions(commandLineOptions());
    if (!parser.parse(arguments))
        return usageError(parser.errorText());

    Request request;
    if (parser.isSet("help"))
        return {request, {}};
    if (parser.isSet("version")) {
        request.command = Command::Version;
        return {request, {}};
    }
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return usageError("No command given");
    const auto known = std::find_if(Commands.begin(), Commands.end(), [&](const CommandInfo &c) {
        return words.first().compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0;
    });
    if (known == Commands.end())
        return usageError(QStringLiteral("Unknown command %1").arg(words.first()));
    const Command command = known->command;
    request.command = command;

    const qsizetype wordCount = wordsOf(command);
    const QStringList options = optionsOf(command);
    if (words.size() - 1 != wordCount)
        return usageError(wordCount == 0
                ? QStringLiteral("%1 takes no further words").arg(words.first())
                : QStringLiteral("%1 takes %2")
                      .arg(words.first(), command == Command::Diff ? "A and B" : "IN and OUT"));
    for (const QString &option : parser.optionNames()) {
        const QString name = option == "h" ? QStringLiteral("help") : option;
        if (!options.contains(name))
            return usageError(
                QStringLiteral("Option --%1 does not apply to %2").arg(name, words.first()));
        if (parser.values(name).size() > 1)
            return usageError(QStringLiteral("Option --%1 is given twice").arg(name));
    }
    if (wordCount == 2) {
        request.input = words[1];
        request.output = words[2];
    }
    if (options.contains("port")) {
        request.port = parser.value("port");
        if (request.port.isEmpty())
            return usageError(QStringLiteral("%1 needs --port").arg(words.first()));
    }
    if (parser.isSet("model")) {
        request.model = modelNamed(parser.value("model"));
        if (!request.model)
            return usageError(QStringLiteral("Unknown model %1: use %2")
                                  .arg(parser.value("model"), modelChoices()));
    }
    if (const QString block = parser.value("block");
        !block.isEmpty() && block.compare(QLatin1String("all"), Qt::CaseInsensitive) != 0) {
        request.block = blockNamed(block);
        if (!request.block)
            return usageError(
                QStringLiteral("Unknown block %1: use all, %2").arg(block, choices(blockKeys())));
    }
    if (parser.isSet("table")) {
        request.table = blockNamed(parser.value("table"));
        if (request.table != Block::ShortDials && request.table != Block::PE)
            return usageError(QStringLiteral("Unknown table %1: use shortdials or pe")
                                  .arg(parser.value("table")));
    }
    if (parser.isSet("timeout")) {
        bool number = false;
        request.timeoutMs = parser.value("timeout").toInt(&number);
        if (!number || request.timeoutMs <= 0)
            return usageError("--timeout takes a positive number of milliseconds");
    }
    if (command == Command::Backup) {
        request.sitesFile = parser.value("sites");
        request.backupDir = parser.value("dir");
        request.traceDir = parser.value("trace-dir");
        request.metricsFile = parser.value("metrics");
        request.status = parser.isSet("status");
        if (request.status && (request.backupDir.isEmpty() || parser.optionNames().size() > 2))
            return usageError("backup --status takes --dir DIR alone");
        if (!request.status && (request.sitesFile.isEmpty() || request.backupDir.isEmpty()))
            return usageError("backup needs --sites SITES.csv and --dir DIR");
        if (parser.isSet("shard")) {
            request.shard = Shard::parse(parser.value("shard"));
            if (!request.shard)
                return usageError(
                    QStringLiteral("--shard takes K/N, 1 <= K <= N <= %1").arg(Shard::MaxCount));
        }
        bool number = true;
        if (parser.isSet("parallel"))
            request.parallel = parser.value("parallel").toInt(&number);
        if (!number || (parser.isSet("parallel") && request.parallel <= 0))
            return usageError("--parallel takes a positive number of sites");
        if (parser.isSet("jobs"))
            request.jobs = parser.value("jobs").toInt(&number);
        if (!number || (parser.isSet("jobs") && (request.jobs <= 0 || request.jobs > MaxJobs)))
            return usageError(QStringLiteral("--jobs takes a number from 1 to %1").arg(MaxJobs));
    }
    request.traceFile = parser.value("trace");
    request.jsonFile = parser.value("json");
    request.setFile = parser.value("set");
    request.force = parser.isSet("force");
    request.verify = parser.isSet("verify");
    if ((command == Command::Write || command == Command::Verify)
        && request.jsonFile.isEmpty() == request.setFile.isEmpty())
        return usageError(QStringLiteral("%1 takes either --json FILE.json or --set FILE.set")
                              .arg(words.first()));
    return {request, {}};
}

} // namespace ornis::cli
