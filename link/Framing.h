#pragma once

#include "BlockHandler.h"

#include <cstdint>
#include <functional>
#include <optional>

// The framing that the contiguous blocks share: opening 'S' 'T', address selection 'A'
// low high, data ('W' + byte per step, or 'R' answered by a byte), closing.

namespace ornis {

namespace Control {
inline constexpr uint8_t S = 0x53;
inline constexpr uint8_t T = 0x54;
inline constexpr uint8_t A = 0x41;
inline constexpr uint8_t W = 0x57;
inline constexpr uint8_t R = 0x52;
inline constexpr uint8_t E = 0x45;
inline constexpr uint8_t X = 0x58;
inline constexpr uint8_t D = 0x44;
} // namespace Control

// How a write block closes: 'E' 'X' for most; the clock answers 'E' with 'D' and is done
// on 'D'; the settings write sends 'E' twice and is done on the second 'E'.
enum class Closing { EX, ED, EE };

struct BlockFrame
{
    uint8_t addressLow;
    uint8_t addressHigh; // 0x80 | bits 8..11 of the address
    int32_t firstStep;
    int32_t endStep; // write: 'E' once TransferStep reaches it; read: the last step
    Closing closing = Closing::EX;
};

// The data byte of a step; nothing for a step outside the block (then nothing is sent).
using DataByteAt = std::function<std::optional<uint8_t>(int32_t step)>;
// Stores the byte of a step; must ignore a step outside the block.
using StoreAt = std::function<void(int32_t step, uint8_t byte)>;

// Reaction of a write block to one arrival. DataPhase is tested first, so a data answer
// equal to a control letter is never taken for one.
BlockResult writeReaction(
    uint8_t byte, BlockContext &context, const BlockFrame &frame, const DataByteAt &dataByteAt);

// Reaction of a read block to one arrival.
BlockResult readReaction(
    uint8_t byte, BlockContext &context, const BlockFrame &frame, const StoreAt &storeAt);

} // namespace ornis
