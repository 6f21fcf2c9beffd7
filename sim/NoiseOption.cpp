#include "NoiseOption.h"

#include "VirtualExchange.h"

#include <charconv>

namespace ornis::sim {

namespace {

// A whole number no larger than `highest`, decimal or 0x-prefixed hexadecimal.
std::optional<unsigned> parseNumber(std::string_view text, unsigned highest)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::pair<uint16_t, uint8_t>> parseNoise(std::string_view text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const auto address = parseNumber(text.substr(0, equals), VirtualExchange::MemorySize - 1);
    const auto byte = parseNumber(text.substr(equals + 1), 0xFF);
    if (!address || !byte)
        return std::nullopt;
    return std::pair {uint16_t(*address), uint8_t(*byte)};
}

} // namespace ornis::sim
