#include "PortAddress.h"

#include <QUrl>

namespace ornis {

namespace {

constexpr QLatin1String SchemeSeparator("://");

Status badAddress(const QString &text, const char *why)
{
    return Status::failure((text + QStringLiteral(": ") + QLatin1String(why)
        + QStringLiteral(" (write tcp://HOST:PORT or rfc2217://HOST:PORT)"))
                               .toStdString());
}

} // namespace

QString PortAddress::text() const
{
    if (kind == Kind::Serial)
        return serialPort;
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return (kind == Kind::Tcp ? QStringLiteral("tcp://") : QStringLiteral("rfc2217://"))
        + shownHost + u':' + QString::number(port);
}

bool looksLikeNetworkAddress(const QString &text)
{
    return text.trimmed().contains(SchemeSeparator);
}

Status parsePortAddress(const QString &text, PortAddress &address)
{
    const QString given = text.trimmed();
    if (given.isEmpty())
        return Status::failure("No port given");
    if (!given.contains(SchemeSeparator)) {
        address = {PortAddress::Kind::Serial, given, {}, 0};
        return Status::success();
    }

    const QUrl url(given, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    PortAddress parsed;
    if (scheme == QLatin1String("tcp"))
        parsed.kind = PortAddress::Kind::Tcp;
    else if (scheme == QLatin1String("rfc2217"))
        parsed.kind = PortAddress::Kind::Rfc2217;
    else
        return badAddress(given, "unknown kind of address");
    if (!url.isValid())
        return badAddress(given, "not a valid address");
    if (url.host().isEmpty())
        return badAddress(given, "no host");
    // The port must be written out: a device server has no usual one.
    const int port = url.port();
    if (port <= 0)
        return badAddress(given, "no port, or a port outside 1..65535");
    if (!url.userInfo().isEmpty() || (!url.path().isEmpty() && url.path() != QLatin1String("/"))
        || url.hasQuery() || url.hasFragment())
        return badAddress(given, "more than a host and a port");
    parsed.host = url.host();
    parsed.port = quint16(port);
    address = parsed;
    return Status::success();
}

} // namespace ornis
