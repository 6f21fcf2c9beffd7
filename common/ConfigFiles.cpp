#include "ConfigFiles.h"

#include "FilePath.h"
#include "JsonForm.h"
#include "Windows1250.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/Report.h"
#include "config/SettingsFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace ornis {

namespace {

Status readWholeFile(const QString &path, QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure("Cannot open file " + path.toStdString());
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Status::failure("Stream read error");
    return Status::success();
}

Status writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Status::failure("Cannot create file " + path.toStdString());
    return Status::success();
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

Status loadConfigFile(const QString &path, FileKind kind, ExchangeConfig &config)
{
    ExchangeConfig loaded = factoryConfig();
    if (kind == FileKind::Settings) {
        if (Status status = LoadSettingsFile(toFilePath(path), loaded); !status.ok())
            return status;
    } else if (kind == FileKind::Json) {
        QByteArray bytes;
        if (Status status = readWholeFile(path, bytes); !status.ok())
            return status;
        if (Status status = configFromJson(bytes, loaded); !status.ok())
            return status;
    } else {
        return Status::failure("A report cannot be read back: " + path.toStdString());
    }
    config = std::move(loaded);
    return Status::success();
}

Status saveConfigFile(const QString &path, FileKind kind, const ExchangeConfig &config)
{
    QByteArray bytes;
    switch (kind) {
    case FileKind::Settings:
        return SaveSettingsFile(toFilePath(path), config);
    case FileKind::Json:
        if (Status status = configToJson(config, bytes); !status.ok())
            return status;
        break;
    case FileKind::Report:
        if (Status status = reportText(config, bytes); !status.ok())
            return status;
        break;
    }
    return writeWholeFile(path, bytes);
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
