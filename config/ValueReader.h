#pragma once

#include "Status.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Reads the values ValueWriter writes from a byte span. Every read checks the bytes that
// remain first and reports failure instead of reading past the end; after a failure the
// position is unspecified and the caller stops.

namespace ornis {

enum class ReadResult {
    Ok,
    EndOfData, // "Stream read error"
    InvalidValue, // "Invalid property value": an unknown tag or a date out of range
};

// The failure message of `result`; success for Ok.
[[nodiscard]] Status statusOf(ReadResult result);

// Days of the usual date type: 01.01.0100 .. 31.12.9999 counted from 30.12.1899.
inline constexpr double FirstDay = -693593.0;
inline constexpr double LastDay = 2958465.0;

class ValueReader
{
public:
    explicit ValueReader(std::span<const uint8_t> bytes)
        : bytes_(bytes)
    {
    }

    // Any of the three integer forms, sign-extended.
    [[nodiscard]] ReadResult readInteger(int32_t &value);
    // Either text form; the length is checked against the remaining bytes.
    [[nodiscard]] ReadResult readText(std::string &text);
    // True only for 0x09; any other byte is false.
    [[nodiscard]] ReadResult readFlag(bool &value);
    // A double in days, or an integer taken as whole days; finite and within
    // FirstDay .. LastDay (any time of that day).
    [[nodiscard]] ReadResult readTime(double &days);
    [[nodiscard]] ReadResult readRaw(std::span<uint8_t> block);
    [[nodiscard]] ReadResult skip(std::size_t size);

    [[nodiscard]] std::size_t position() const { return offset_; }
    [[nodiscard]] std::size_t remaining() const { return bytes_.size() - offset_; }

private:
    [[nodiscard]] bool has(std::size_t size) const
    {
        return bytes_.size() >= size && offset_ <= bytes_.size() - size;
    }
    [[nodiscard]] uint64_t takeLittleEndian(std::size_t size); // after has(size)

    std::span<const uint8_t> bytes_;
    std::size_t offset_ = 0;
};

} // namespace ornis
