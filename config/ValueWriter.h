#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Appends tagged values and raw blocks to a byte buffer, little-endian throughout. Each
// value takes its shortest form, so a file read and written again keeps its bytes.

namespace ornis {

class ValueWriter
{
public:
    explicit ValueWriter(std::vector<uint8_t> &bytes)
        : bytes_(bytes)
    {
    }

    // 1-, 2- or 4-byte form, whichever holds the value.
    void writeInteger(int32_t value);
    // 1-byte length up to 255 bytes, 4-byte length beyond.
    void writeText(std::string_view text);
    void writeFlag(bool value);
    // A date and time as days (the fraction is the time of day).
    void writeTime(double days);
    void writeRaw(std::span<const uint8_t> block);

private:
    void writeLittleEndian(uint64_t value, int size);

    std::vector<uint8_t> &bytes_;
};

} // namespace ornis
