#pragma once

#include "TransferState.h"

#include <cstdint>

namespace ornis {

struct ExchangeConfig;
class LocalClock;
class TransferObserver;

// How a block handler ended its reaction to one arrival.
enum class BlockResult {
    Continue, // the engine steps the progress and re-arms the answer timer
    Chained, // the next block was started
    Finished, // the transfer is over
};

// What a block handler may use while it reacts to an arrival.
class BlockContext
{
public:
    virtual ~BlockContext() = default;

    // Sends one byte. A failure is recorded and ends the transfer once the handler returns.
    virtual void send(uint8_t byte) = 0;
    virtual TransferState &state() = 0;
    virtual ExchangeConfig &config() = 0;
    [[nodiscard]] virtual const LocalClock &clock() const = 0;
    virtual TransferObserver &observer() = 0;
    [[nodiscard]] virtual bool transferAll() const = 0;
    // The current block is done: chain to the next block or finish the transfer.
    virtual BlockResult blockDone() = 0;
};

// One block in one direction. The engine hands it the last byte of each arrival; it
// sends at most one byte and says how it ended.
class BlockHandler
{
public:
    virtual ~BlockHandler() = default;

    // Counted events of a complete block (the progress bar's 100 percent).
    [[nodiscard]] virtual uint16_t progressDenominator() const = 0;
    // Called by StartBlock before the opening 'S' is sent.
    virtual void begin(BlockContext &) { }
    virtual BlockResult onByte(uint8_t byte, BlockContext &context) = 0;
};

} // namespace ornis
