#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

namespace ornis {

// The received bytes a port holds until the engine reads them, oldest first: the input
// side of the ports whose line does not queue the bytes itself.
class InputQueue
{
public:
    void push(uint8_t byte) { bytes_.push_back(byte); }
    void push(std::span<const uint8_t> bytes)
    {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    // The oldest byte, taken out; nothing when none waits.
    [[nodiscard]] std::optional<uint8_t> readByte()
    {
        if (bytes_.empty())
            return std::nullopt;
        const uint8_t byte = bytes_.front();
        bytes_.pop_front();
        return byte;
    }
    // Drops the oldest bytes beyond `limit`.
    void keepNewest(std::size_t limit)
    {
        while (bytes_.size() > limit)
            bytes_.pop_front();
    }
    void clear() { bytes_.clear(); }
    [[nodiscard]] std::size_t size() const { return bytes_.size(); }
    [[nodiscard]] bool empty() const { return bytes_.empty(); }

private:
    std::deque<uint8_t> bytes_;
};

} // namespace ornis
