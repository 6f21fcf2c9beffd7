#include "DialTableFile.h"

#include "ConfigFiles.h"
#include "DialTableXlsx.h"

namespace ornis {

std::optional<DialFileForm> dialFileFormOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return DialFileForm::Csv;
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return DialFileForm::Xlsx;
    return std::nullopt;
}

Status readDialFile(const QString &path, DialRows &rows)
{
    QByteArray bytes;
    if (const Status status = readWholeFile(path, bytes); !status.ok())
        return status;
    rows = dialFileFormOf(path) == DialFileForm::Xlsx ? readDialXlsx(bytes) : readDialRows(bytes);
    return Status::success();
}

Status writeDialFile(const QString &path, const ExchangeConfig &config, Block table)
{
    QByteArray bytes;
    if (dialFileFormOf(path) == DialFileForm::Xlsx) {
        if (const Status status = dialTableXlsx(config, table, bytes); !status.ok())
            return status;
    } else if (const std::optional<QByteArray> csv = dialTableCsv(config, table)) {
        bytes = *csv;
    } else {
        return Status::failure("A text has no Unicode form");
    }
    return writeWholeFile(path, bytes);
}

} // namespace ornis
