#include "ValueWriter.h"

#include "ValueTags.h"

#include <bit>
#include <limits>

namespace ornis {

void ValueWriter::writeInteger(int32_t value)
{
    if (value >= std::numeric_limits<int8_t>::min()
        && value <= std::numeric_limits<int8_t>::max()) {
        bytes_.push_back(ValueTag::Int8);
        writeLittleEndian(uint32_t(value), 1);
    } else if (value >= std::numeric_limits<int16_t>::min()
        && value <= std::numeric_limits<int16_t>::max()) {
        bytes_.push_back(ValueTag::Int16);
        writeLittleEndian(uint32_t(value), 2);
    } else {
        bytes_.push_back(ValueTag::Int32);
        writeLittleEndian(uint32_t(value), 4);
    }
}

void ValueWriter::writeText(std::string_view text)
{
    if (text.size() <= 255) {
        bytes_.push_back(ValueTag::ShortText);
        bytes_.push_back(uint8_t(text.size()));
    } else {
        bytes_.push_back(ValueTag::LongText);
        writeLittleEndian(uint32_t(text.size()), 4);
    }
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void ValueWriter::writeFlag(bool value)
{
    bytes_.push_back(value ? ValueTag::True : ValueTag::False);
}

void ValueWriter::writeTime(double days)
{
    bytes_.push_back(ValueTag::Time);
    writeLittleEndian(std::bit_cast<uint64_t>(days), 8);
}

void ValueWriter::writeRaw(std::span<const uint8_t> block)
{
    bytes_.insert(bytes_.end(), block.begin(), block.end());
}

void ValueWriter::writeLittleEndian(uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes_.push_back(uint8_t(value >> (8 * i)));
}

} // namespace ornis
