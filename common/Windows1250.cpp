#include "Windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ornis {

namespace {
constexpr const char *CodePage = "windows-1250";
}

std::optional<QString> fromWindows1250(const std::string &bytes)
{
    QStringDecoder decoder(CodePage);
    QString text = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!decoder.isValid() || decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<std::string> toWindows1250(const QString &text)
{
    QStringEncoder encoder(CodePage);
    const QByteArray bytes = encoder(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes.toStdString();
}

} // namespace ornis
