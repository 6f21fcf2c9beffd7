#include "CommandLine.h"

#include "common/BlockTable.h"
#include "link/SerialPort.h"

#include <QCommandLineParser>
#include <array>
#include <utility>

namespace ornis::cli {

namespace {

constexpr std::array<std::pair<const char *, Command>, 8> Commands {{
    {"read", Command::Read},
    {"write", Command::Write},
    {"verify", Command::Verify},
    {"diff", Command::Diff},
    {"clock", Command::Clock},
    {"convert", Command::Convert},
    {"ports", Command::Ports},
    {"backup", Command::Backup},
}};

constexpr std::array<std::pair<const char *, int32_t>, 3> Models {{
    {"MIRA", ModelMira},
    {"VEGA", ModelVega},
    {"VEGA-X", ModelVegaX},
}};

// The options each command takes, and how many words it takes after its name.
struct CommandShape
{
    QStringList options;
    qsizetype words;
};

CommandShape shapeOf(Command command)
{
    const QStringList transfer {"port", "model", "block", "json", "set", "timeout", "trace"};
    switch (command) {
    case Command::Read:
    case Command::Verify:
        return {transfer, 0};
    case Command::Write:
        return {transfer + QStringList {"force", "verify"}, 0};
    case Command::Diff:
        return {{"block"}, 2};
    case Command::Clock:
        return {{"port", "timeout", "trace"}, 0};
    case Command::Convert:
        return {{"table"}, 2};
    case Command::Backup:
        return {{"sites", "dir", "block", "timeout", "parallel", "trace-dir"}, 0};
    case Command::Ports:
    case Command::Help:
        break;
    }
    return {{}, 0};
}

template<typename T, std::size_t N> using NamedValues = std::array<std::pair<const char *, T>, N>;

template<typename T, std::size_t N>
std::optional<T> lookUp(const NamedValues<T, N> &table, const QString &name)
{
    for (const auto &[text, value] : table)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return value;
    return std::nullopt;
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

} // namespace

std::optional<int32_t> modelNamed(const QString &name)
{
    return lookUp(Models, name);
}

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions({
        {"port", "Serial port: a listed name (ttyUSB0, COM3) or a device path.", "PORT"},
        {"model", "Exchange model: MIRA (default), VEGA or VEGA-X.", "MODEL"},
        {"block", QStringLiteral("all (default), %1.").arg(choices(blockKeys())), "BLOCK"},
        {"json", "JSON form of the configuration.", "FILE"},
        {"set", "Settings file.", "FILE"},
        {"timeout",
            QStringLiteral("Answer timeout in milliseconds (default %1).")
                .arg(DefaultAnswerTimeoutMs),
            "MS"},
        {"force", "Write values the exchange stores differently, with a warning each."},
        {"trace", "Record every byte on the line into FILE.", "FILE"},
        {"table", "The table of a .csv or .xlsx: shortdials (default) or pe.", "TABLE"},
        {"verify", "After the write, read the blocks back and list where they differ."},
        {"sites", "backup: the list of sites (CSV: name, port, model).", "SITES"},
        {"dir", "backup: the folder of the backups, a folder a site.", "DIR"},
        {"parallel", "backup: at most N sites at a time (default all).", "N"},
        {"trace-dir", "backup: one line trace a site, D/NAME.trace.", "D"},
        {{"h", "help"}, "Show this help."},
    });
    if (!parser.parse(arguments))
        return usageError(parser.errorText());

    Request request;
    if (parser.isSet("help"))
        return {request, {}};
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return usageError("No command given");
    const std::optional<Command> command = lookUp(Commands, words.first());
    if (!command)
        return usageError(QStringLiteral("Unknown command %1").arg(words.first()));
    request.command = *command;

    const CommandShape shape = shapeOf(*command);
    if (words.size() - 1 != shape.words)
        return usageError(shape.words == 0
                ? QStringLiteral("%1 takes no further words").arg(words.first())
                : QStringLiteral("%1 takes %2")
                      .arg(words.first(), *command == Command::Diff ? "A and B" : "IN and OUT"));
    for (const QString &option : parser.optionNames()) {
        const QString name = option == "h" ? QStringLiteral("help") : option;
        if (!shape.options.contains(name))
            return usageError(
                QStringLiteral("Option --%1 does not apply to %2").arg(name, words.first()));
        if (parser.values(name).size() > 1)
            return usageError(QStringLiteral("Option --%1 is given twice").arg(name));
    }
    if (shape.words == 2) {
        request.input = words[1];
        request.output = words[2];
    }
    if (shape.options.contains("port")) {
        request.port = parser.value("port");
        if (request.port.isEmpty())
            return usageError(QStringLiteral("%1 needs --port").arg(words.first()));
    }
    if (parser.isSet("model")) {
        request.model = modelNamed(parser.value("model"));
        if (!request.model)
            return usageError(QStringLiteral("Unknown model %1: use MIRA, VEGA or VEGA-X")
                                  .arg(parser.value("model")));
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
    if (*command == Command::Backup) {
        request.sitesFile = parser.value("sites");
        request.backupDir = parser.value("dir");
        request.traceDir = parser.value("trace-dir");
        if (request.sitesFile.isEmpty() || request.backupDir.isEmpty())
            return usageError("backup needs --sites SITES.csv and --dir DIR");
        bool number = true;
        if (parser.isSet("parallel"))
            request.parallel = parser.value("parallel").toInt(&number);
        if (!number || (parser.isSet("parallel") && request.parallel <= 0))
            return usageError("--parallel takes a positive number of sites");
    }
    request.traceFile = parser.value("trace");
    request.jsonFile = parser.value("json");
    request.setFile = parser.value("set");
    request.force = parser.isSet("force");
    request.verify = parser.isSet("verify");
    if ((*command == Command::Write || *command == Command::Verify)
        && request.jsonFile.isEmpty() == request.setFile.isEmpty())
        return usageError(QStringLiteral("%1 takes either --json FILE.json or --set FILE.set")
                              .arg(words.first()));
    return {request, {}};
}

QString usageText()
{
    return QStringLiteral(
        "Usage:\n"
        "  ornisset-cli read   --port PORT [--model MIRA|VEGA|VEGA-X]\n"
        "                      [--block all|%2]\n"
        "                      [--json OUT.json] [--set OUT.set] [--timeout MS] [--trace FILE]\n"
        "  ornisset-cli write  --port PORT [--model MIRA|VEGA|VEGA-X]\n"
        "                      [--block all|%2]\n"
        "                      (--json IN.json | --set IN.set) [--force] [--verify]\n"
        "                      [--timeout MS] [--trace FILE]\n"
        "  ornisset-cli verify --port PORT [--model MIRA|VEGA|VEGA-X]\n"
        "                      [--block all|%2]\n"
        "                      (--json IN.json | --set IN.set) [--timeout MS]\n"
        "  ornisset-cli diff   A B [--block all|%2]\n"
        "  ornisset-cli clock  --port PORT [--timeout MS] [--trace FILE]\n"
        "  ornisset-cli convert [--table shortdials|pe] IN OUT\n"
        "  ornisset-cli ports\n"
        "  ornisset-cli backup --sites SITES.csv --dir DIR\n"
        "                      [--block all|%2]\n"
        "                      [--timeout MS] [--parallel N] [--trace-dir D]\n"
        "\n"
        "read     reads blocks of the exchange over the factory values and writes them to\n"
        "         the JSON form and/or a settings file (without either: JSON on stdout).\n"
        "write    writes the blocks a JSON form or a settings file holds (a settings file\n"
        "         holds no services). Values the exchange would store differently are\n"
        "         refused before the first byte; --force sends them with a warning each.\n"
        "         --verify reads the blocks back and lists where the exchange differs.\n"
        "verify   reads the blocks the file holds and lists where the exchange differs\n"
        "         from what a write of the file leaves there.\n"
        "diff     lists where two files (.set or .json) differ, in the blocks both hold.\n"
        "clock    sets the exchange's clock from this computer's clock.\n"
        "convert  turns a .set, .json, .csv or .xlsx file into a .set, .json, .csv, .xlsx\n"
        "         or .txt (the report). A .csv or .xlsx holds the short dials (--table pe:\n"
        "         the PE records): Volba;Státní;Číslo;Komentář or Záznam;Státní;Číslo, one\n"
        "         row per record.\n"
        "ports    lists the serial ports: name, then description.\n"
        "backup   reads every site of a list at once into DIR/NAME/YYYY-MM-DD_HH-MM-SS.json\n"
        "         and prints, a site a line, what changed since its previous backup.\n"
        "\n"
        "--port takes a serial port (ttyUSB0, COM3, /dev/pts/3) or a serial device server:\n"
        "tcp://HOST:PORT (the bytes as they are) or rfc2217://HOST:PORT (Telnet, RFC 2217).\n"
        "--trace records every byte on the line, for support.\n"
        "--model defaults to MIRA (a JSON form: the file's ExchangeType); --block to all\n"
        "blocks the file holds or the model has (PE for MIRA only); --timeout to %1 ms.\n"
        "Exit status: 0 success, 1 transfer failed (backup: any site failed), 2 usage or\n"
        "file error, 3 verify, write --verify or diff found differences.\n")
        .arg(DefaultAnswerTimeoutMs)
        .arg(blockKeys().join(u'|'));
}

} // namespace ornis::cli
