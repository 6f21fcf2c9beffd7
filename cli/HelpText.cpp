#include "HelpText.h"

#include "CommandLine.h"
#include "Version.h"

#include <QStringList>

namespace ornis::cli {

namespace {

constexpr qsizetype LineWidth = 79;
constexpr qsizetype DescriptionColumn = 22;

// `text` broken at blanks into lines within LineWidth, the first going on from `column`,
// the others indented to it.
QString wrapped(const QString &text, qsizetype column)
{
    const qsizetype indent = column;
    QString lines;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (column > indent && column + 1 + word.size() > LineWidth) {
            lines += u'\n' + QString(indent, u' ');
            column = indent;
        } else if (column > indent) {
            lines += u' ';
            ++column;
        }
        lines += word;
        column += word.size();
    }
    return lines + u'\n';
}

// "  term      description", the description aligned at DescriptionColumn.
QString definition(const QString &term, const QString &description)
{
    QString line = QStringLiteral("  ") + term;
    if (line.size() + 2 > DescriptionColumn)
        line += u'\n' + QString(DescriptionColumn, u' ');
    else
        line = line.leftJustified(DescriptionColumn);
    return line + wrapped(description, DescriptionColumn);
}

// "--port PORT", "-h, --help".
QString optionTerm(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    const QString term = names.join(QStringLiteral(", "));
    return option.valueName().isEmpty() ? term : term + u' ' + option.valueName();
}

// "read, write, verify: ": the commands that take the option named `name`.
QString commandsTaking(const QString &name)
{
    QStringList names;
    for (const CommandInfo &command : commandTable()) {
        if (optionsOf(command.command).contains(name))
            names.append(QLatin1String(command.name));
    }
    return names.isEmpty() ? QString() : names.join(QStringLiteral(", ")) + QStringLiteral(": ");
}

} // namespace

QString usageText()
{
    // The form help2man reads into the manual page's SYNOPSIS: one line a command.
    QString text = QStringLiteral(
        "Usage: ornisset-cli read --port PORT [--json OUT.json] [--set OUT.set] [OPTION]...\n"
        "  or:  ornisset-cli write --port PORT (--json IN.json | --set IN.set) [OPTION]...\n"
        "  or:  ornisset-cli verify --port PORT (--json IN.json | --set IN.set) [OPTION]...\n"
        "  or:  ornisset-cli diff [--block BLOCK] A B\n"
        "  or:  ornisset-cli clock --port PORT [--timeout MS] [--trace FILE]\n"
        "  or:  ornisset-cli convert [--table TABLE] IN OUT\n"
        "  or:  ornisset-cli ports\n"
        "  or:  ornisset-cli backup --sites SITES.csv --dir DIR [OPTION]...\n"
        "  or:  ornisset-cli backup --status --dir DIR\n"
        "  or:  ornisset-cli --help | --version\n"
        "\n");
    text += wrapped(QStringLiteral("Reads, writes, verifies and compares the configuration of "
                                   "a small telephone exchange over a serial line, sets its "
                                   "clock and converts its files."),
        0);
    text += QStringLiteral("\nCommands:\n");
    for (const CommandInfo &command : commandTable())
        text += definition(QLatin1String(command.name), QString::fromUtf8(command.summary));
    text += QStringLiteral("\nOptions:\n");
    for (const QCommandLineOption &option : commandLineOptions())
        text += definition(
            optionTerm(option), commandsTaking(option.names().last()) + option.description());
    text += u'\n'
        + wrapped(QStringLiteral("Exit status: 0 success, 1 the transfer failed (backup: any "
                                 "site failed), 2 a usage or file error (backup: or another "
                                 "run holds DIR), 3 verify, write --verify or diff found "
                                 "differences, 128 + N stopped by signal N."),
            0);
    return text;
}

QString versionText()
{
    return QStringLiteral("ornisset-cli %1\n").arg(QLatin1String(ProgramVersion));
}

} // namespace ornis::cli
