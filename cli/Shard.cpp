#include "Shard.h"

#include <QStringList>

namespace ornis::cli {

std::optional<Shard> Shard::parse(const QString &text)
{
    const QStringList parts = text.split(u'/');
    if (parts.size() != 2)
        return std::nullopt;
    bool indexNumber = false;
    bool countNumber = false;
    const Shard shard {parts[0].toInt(&indexNumber), parts[1].toInt(&countNumber)};
    if (!indexNumber || !countNumber || shard.count < 1 || shard.count > MaxCount
        || shard.index < 1 || shard.index > shard.count)
        return std::nullopt;
    return shard;
}

bool Shard::holds(const QString &siteName) const
{
    return int(siteNameHash(siteName) % uint32_t(count)) == index - 1;
}

QString Shard::text() const
{
    return QStringLiteral("%1/%2").arg(index).arg(count);
}

uint32_t siteNameHash(const QString &siteName)
{
    uint32_t hash = 2166136261u;
    for (const char byte : siteName.toUtf8()) {
        hash ^= uint8_t(byte);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace ornis::cli
