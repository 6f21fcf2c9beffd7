#include "Output.h"

#include "common/BlockTable.h"
#include "common/Windows1250.h"

#include <QStringList>
#include <cstdio>

namespace ornis::cli {

void printMessage(const std::string &message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
}

void printMessage(const QString &message)
{
    printMessage(message.toStdString());
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
