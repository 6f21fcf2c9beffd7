#include "ValueReader.h"

#include "ValueTags.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace ornis {

Status statusOf(ReadResult result)
{
    switch (result) {
    case ReadResult::Ok:
        break;
    case ReadResult::EndOfData:
        return Status::failure("Stream read error");
    case ReadResult::InvalidValue:
        return Status::failure("Invalid property value");
    }
    return Status::success();
}

ReadResult ValueReader::readInteger(int32_t &value)
{
    if (!has(1))
        return ReadResult::EndOfData;
    std::size_t size = 0;
    switch (bytes_[offset_]) {
    case ValueTag::Int8:
        size = 1;
        break;
    case ValueTag::Int16:
        size = 2;
        break;
    case ValueTag::Int32:
        size = 4;
        break;
    default:
        return ReadResult::InvalidValue;
    }
    ++offset_;
    if (!has(size))
        return ReadResult::EndOfData;
    const uint64_t raw = takeLittleEndian(size);
    switch (size) {
    case 1:
        value = int8_t(raw);
        break;
    case 2:
        value = int16_t(raw);
        break;
    default:
        value = int32_t(uint32_t(raw));
        break;
    }
    return ReadResult::Ok;
}

ReadResult ValueReader::readText(std::string &text)
{
    if (!has(1))
        return ReadResult::EndOfData;
    const uint8_t tag = bytes_[offset_];
    if (tag != ValueTag::ShortText && tag != ValueTag::LongText)
        return ReadResult::InvalidValue;
    ++offset_;
    const std::size_t lengthSize = tag == ValueTag::ShortText ? 1 : 4;
    if (!has(lengthSize))
        return ReadResult::EndOfData;
    const uint64_t length = takeLittleEndian(lengthSize);
    // Checked before anything is allocated: a damaged length cannot ask for gigabytes.
    if (length > remaining())
        return ReadResult::EndOfData;
    const auto begin = bytes_.begin() + std::ptrdiff_t(offset_);
    text.assign(begin, begin + std::ptrdiff_t(length));
    offset_ += std::size_t(length);
    return ReadResult::Ok;
}

ReadResult ValueReader::readFlag(bool &value)
{
    if (!has(1))
        return ReadResult::EndOfData;
    value = bytes_[offset_++] == ValueTag::True;
    return ReadResult::Ok;
}

ReadResult ValueReader::readTime(double &days)
{
    if (!has(1))
        return ReadResult::EndOfData;
    if (bytes_[offset_] == ValueTag::Time) {
        ++offset_;
        if (!has(8))
            return ReadResult::EndOfData;
        days = std::bit_cast<double>(takeLittleEndian(8));
    } else {
        // Not a time: the same byte opens an integer of whole days.
        int32_t wholeDays = 0;
        if (const ReadResult result = readInteger(wholeDays); result != ReadResult::Ok)
            return result;
        days = wholeDays;
    }
    // NaN fails both comparisons.
    if (!(days >= FirstDay && days < LastDay + 1.0))
        return ReadResult::InvalidValue;
    return ReadResult::Ok;
}

ReadResult ValueReader::readRaw(std::span<uint8_t> block)
{
    if (!has(block.size()))
        return ReadResult::EndOfData;
    if (!block.empty())
        std::memcpy(block.data(), bytes_.data() + offset_, block.size());
    offset_ += block.size();
    return ReadResult::Ok;
}

ReadResult ValueReader::skip(std::size_t size)
{
    if (!has(size))
        return ReadResult::EndOfData;
    offset_ += size;
    return ReadResult::Ok;
}

uint64_t ValueReader::takeLittleEndian(std::size_t size)
{
    uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= uint64_t(bytes_[offset_ + i]) << (8 * i);
    offset_ += size;
    return value;
}

} // namespace ornis
