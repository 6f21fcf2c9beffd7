#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace ornis::cli {

// One of `count` parts of a list of sites (--shard K/N), so that several hosts or processes
// share one list: a site belongs to the part its name hashes to. The parts of a list are
// disjoint and together the whole list, whatever the order of its lines.
struct Shard
{
    static constexpr int MaxCount = 1000;

    int index = 1; // K: 1..count
    int count = 1; // N

    // "K/N" with 1 <= K <= N <= MaxCount; nothing for any other text.
    [[nodiscard]] static std::optional<Shard> parse(const QString &text);

    [[nodiscard]] bool holds(const QString &siteName) const;
    // "2/4".
    [[nodiscard]] QString text() const;

    bool operator==(const Shard &) const = default;
};

// FNV-1a of the name's UTF-8 bytes: the same on every machine and in every release.
[[nodiscard]] uint32_t siteNameHash(const QString &siteName);

} // namespace ornis::cli
