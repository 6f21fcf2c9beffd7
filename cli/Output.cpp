#include "Output.h"

#include "common/BlockNames.h"
#include "common/ShortList.h"
#include "common/Windows1250.h"

#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ornis::cli {

void printMessage(const std::string &message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
}

void printMessage(const QString &message)
{
    printMessage(message.toStdString());
}

namespace {

QString stdoutFailure;

} // namespace

QString warningLine(const QString &message)
{
    return QStringLiteral("Warning: ") + message;
}

void printWarning(const QString &message)
{
    printMessage(warningLine(message));
}

void printOut(const QByteArray &bytes)
{
    const auto size = std::size_t(bytes.size());
    if ((std::fwrite(bytes.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0)
        && stdoutFailure.isEmpty())
        stdoutFailure = QString::fromLocal8Bit(std::strerror(errno));
}

QString outputFailure()
{
    return stdoutFailure;
}

void printList(const QStringList &lines)
{
    const auto more = [](qsizetype left) { return QStringLiteral("… and %1 more").arg(left); };
    for (const QString &line : shortList(lines, more))
        printMessage(line);
}

void warnAboutKeeping(
    const QString &output, BlockSet blocks, FileKind kind, int32_t model, bool withModel)
{
    // A report shows the settings and the short dials, and never claims more; a file to
    // load again says what it loses.
    if (const BlockSet dropped = blocks - blocksKeptIn(kind);
        !dropped.empty() && kind != FileKind::Report)
        printWarning(QStringLiteral("%1 does not keep the %2").arg(output, blockTitles(dropped)));
    if (withModel && kind == FileKind::Settings)
        printWarning(
            QStringLiteral("%1 does not keep the exchange model and modules").arg(output));
    // A JSON form lists the blocks it holds, so it carries no factory values for the others.
    const BlockSet filled = (blocksKeptIn(kind) & blocksOfModel(model)) - blocks;
    if (!filled.empty() && kind != FileKind::Json)
        printWarning(QStringLiteral("%1 gets the factory values of the %2")
                         .arg(output, blockTitles(filled)));
}

QString tableCell(const QString &value)
{
    if (value.isEmpty())
        return QStringLiteral("\"\"");
    QString text = value;
    for (QChar &c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

QString linkText(const std::string &message)
{
    return fromWindows1250(message).value_or(
        QString::fromLatin1(message.data(), qsizetype(message.size())));
}

void printDifferences(
    const std::vector<Difference> &differences, const QString &left, const QString &right)
{
    if (differences.empty()) {
        printOut(QStringLiteral("No differences between %1 and %2\n").arg(left, right).toUtf8());
        return;
    }
    QStringList lines {
        QStringList {"Blok", "Položka", tableCell(left), tableCell(right)}.join('\t')};
    for (const Difference &d : differences)
        lines.append(
            QStringList {d.block, d.item, tableCell(d.left), tableCell(d.right)}.join('\t'));
    printOut((lines.join('\n') + '\n').toUtf8());
}

} // namespace ornis::cli
