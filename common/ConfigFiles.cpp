#include "ConfigFiles.h"

#include "FilePath.h"
#include "JsonForm.h"
#include "Windows1250.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/FileBytes.h"
#include "config/Report.h"
#include "config/SettingsFile.h"
#include "config/TimeOfDay.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace ornis {

namespace {

// A failure that does not name the file yet: "Stream read error: backup.set".
Status namingFile(Status status, const QString &path)
{
    const std::string name = path.toStdString();
    if (status.ok() || status.message().find(name) != std::string::npos)
        return status;
    return Status::failure(status.message() + ": " + name);
}

// The settings file's refusal of a day or night start that holds no time, with the key.
Status namingTimeKey(Status status, const ExchangeConfig &config)
{
    if (status.ok())
        return status;
    if (!parseTimeOfDay(config.DayStart))
        return Status::failure("DayStart: " + status.message());
    if (!parseTimeOfDay(config.NightStart))
        return Status::failure("NightStart: " + status.message());
    return status;
}

// The date and time as the user's locale writes them; a locale whose text Windows-1250
// cannot hold gets the international form.
std::string reportDateTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    if (auto text = toWindows1250(QLocale::system().toString(now, QLocale::ShortFormat)))
        return *text;
    return now.toString(Qt::ISODate).toStdString();
}

} // namespace

Status readWholeFile(const QString &path, QByteArray &bytes)
{
    std::vector<uint8_t> content;
    if (Status status = readFileBytes(toFilePath(path), content); !status.ok())
        return status;
    bytes = QByteArray(reinterpret_cast<const char *>(content.data()), qsizetype(content.size()));
    return Status::success();
}

Status writeWholeFile(const QString &path, const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
    return writeFileAtomically(toFilePath(path), std::span(data, std::size_t(bytes.size())));
}

std::optional<FileKind> fileKindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("set"))
        return FileKind::Settings;
    if (suffix == QLatin1String("json"))
        return FileKind::Json;
    if (suffix == QLatin1String("txt"))
        return FileKind::Report;
    return std::nullopt;
}

BlockSet blocksKeptIn(FileKind kind)
{
    switch (kind) {
    case FileKind::Settings:
        return SettingsFileBlocks;
    case FileKind::Report:
        return {Block::Settings, Block::ShortDials};
    case FileKind::Json:
        break;
    }
    return BlockSet::all();
}

Status loadConfigFile(const QString &path, FileKind kind, ExchangeConfig &config, BlockSet &blocks)
{
    ExchangeConfig loaded = factoryConfig();
    BlockSet held = blocksKeptIn(kind);
    if (kind == FileKind::Settings) {
        if (Status status = LoadSettingsFile(toFilePath(path), loaded); !status.ok())
            return namingFile(status, path);
    } else if (kind == FileKind::Json) {
        QByteArray bytes;
        Status status = readWholeFile(path, bytes);
        if (status.ok())
            status = configFromJson(bytes, loaded, held);
        if (!status.ok())
            return namingFile(status, path);
    } else {
        return Status::failure("A report cannot be read back: " + path.toStdString());
    }
    config = std::move(loaded);
    blocks = held;
    return Status::success();
}

Status saveConfigFile(
    const QString &path, FileKind kind, const ExchangeConfig &config, BlockSet blocks)
{
    QByteArray bytes;
    switch (kind) {
    case FileKind::Settings:
        return namingTimeKey(SaveSettingsFile(toFilePath(path), config), config);
    case FileKind::Json:
        if (Status status = configToJson(config, blocks, bytes); !status.ok())
            return status;
        break;
    case FileKind::Report:
        if (Status status = reportText(config, bytes); !status.ok())
            return status;
        break;
    }
    return writeWholeFile(path, bytes);
}

Status canCreateFile(const QString &path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    QString why;
    if (!folder.isDir())
        why = QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    else if (!folder.isWritable())
        why = QStringLiteral("the folder %1 is not writable").arg(folder.filePath());
    else if (file.isDir())
        why = QStringLiteral("it is a folder");
    else if (file.exists() && !file.isWritable())
        why = QStringLiteral("it is not writable");
    if (why.isEmpty())
        return Status::success();
    return Status::failure(
        QStringLiteral("Cannot create file %1: %2").arg(path, why).toStdString());
}

Status reportText(const ExchangeConfig &config, QByteArray &text)
{
    const Report report = buildReport(config, reportDateTime());
    const std::optional<QString> unicode = fromWindows1250(reportPlainText(report));
    if (!unicode)
        return Status::failure("The report holds a byte that is no Windows-1250 character");
    text = unicode->toUtf8();
    return Status::success();
}

} // namespace ornis
