#include "BlockHandlers.h"
#include "Framing.h"
#include "ServicesCells.h"
#include "TransferObserver.h"

// The services lie in several windows of the exchange's memory, so the block selects an
// address again in the middle. TransferStep holds the address of the cell in transfer, -1
// while an address change is pending; DataPhase stays set during the change, so its
// echoes are never taken for control bytes.

namespace ornis {

namespace {

constexpr int32_t ChangePending = -1;

uint8_t lowByte(int32_t word)
{
    return uint8_t(word & 0xFF);
}
uint8_t highByte(int32_t word)
{
    return uint8_t((word >> 8) & 0xFF);
}

void beginAddressChange(TransferState &state, BlockContext &context, int32_t word)
{
    state.TransferStep = ChangePending;
    state.JumpAddress = word;
    state.DataPhase = true;
    context.send(Control::A);
}

// One arrival while the change is pending: 'A' and the low byte are echoes to answer;
// anything else completes it. True when the change is complete.
bool continueAddressChange(uint8_t byte, TransferState &state, BlockContext &context)
{
    if (byte == Control::A) {
        context.send(lowByte(state.JumpAddress));
        return false;
    }
    if (byte == lowByte(state.JumpAddress)) {
        context.send(highByte(state.JumpAddress));
        return false;
    }
    state.TransferStep = state.JumpAddress & 0xFFF;
    return true;
}

// Common to both directions with DataPhase clear.
BlockResult controlReaction(uint8_t byte, BlockContext &context, int32_t firstWindowWord)
{
    switch (byte) {
    case Control::S:
        context.send(Control::T);
        break;
    case Control::T:
        beginAddressChange(context.state(), context, firstWindowWord);
        break;
    case Control::E:
        context.send(Control::X);
        break;
    case Control::X:
        return context.blockDone();
    default:
        break;
    }
    return BlockResult::Continue;
}

class ServicesWriteHandler final : public BlockHandler
{
public:
    [[nodiscard]] uint16_t progressDenominator() const override { return 285; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        TransferState &state = context.state();
        if (state.DataPhase) {
            state.DataPhase = false;
            if (state.TransferStep == ChangePending) {
                state.DataPhase = true;
                if (continueAddressChange(byte, state, context)) {
                    state.DataPhase = false;
                    context.send(Control::W);
                }
            } else if (const auto next = nextWindowAfter(state.TransferStep)) {
                beginAddressChange(state, context, next->addressWord());
            } else {
                const int end = ServicesWriteWindows.back().last;
                context.send(state.TransferStep <= end ? Control::W : Control::E);
            }
            return BlockResult::Continue;
        }
        if (byte == Control::W) {
            if (const auto cell = servicesCellByte(context.config(), state.TransferStep))
                context.send(*cell);
            state.DataPhase = true;
            ++state.TransferStep;
            return BlockResult::Continue;
        }
        return controlReaction(byte, context, ServicesWriteWindows.front().addressWord());
    }

private:
    // The window that follows when `step` is one past the end of an earlier window.
    static std::optional<ServicesWindow> nextWindowAfter(int32_t step)
    {
        for (size_t i = 0; i + 1 < ServicesWriteWindows.size(); ++i) {
            if (step == ServicesWriteWindows[i].last + 1)
                return ServicesWriteWindows[i + 1];
        }
        return std::nullopt;
    }
};

class ServicesReadHandler final : public BlockHandler
{
public:
    [[nodiscard]] uint16_t progressDenominator() const override { return 190; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        TransferState &state = context.state();
        if (!state.DataPhase)
            return controlReaction(byte, context, ServicesReadWindows.front().addressWord());

        if (state.TransferStep == ChangePending) {
            if (continueAddressChange(byte, state, context))
                context.send(Control::R);
            return BlockResult::Continue;
        }
        const int32_t cell = state.TransferStep;
        if (storeServicesCell(context.config(), state, cell, byte))
            context.observer().valuesStored(Block::Services);
        if (const auto next = nextWindowAfter(cell)) {
            beginAddressChange(state, context, next->addressWord());
        } else if (cell >= ServicesReadWindows.back().last) {
            state.DataPhase = false;
            context.send(Control::E);
        } else {
            context.send(Control::R);
            ++state.TransferStep;
        }
        return BlockResult::Continue;
    }

private:
    // The window that follows when `cell` is the last of an earlier window.
    static std::optional<ServicesWindow> nextWindowAfter(int32_t cell)
    {
        for (size_t i = 0; i + 1 < ServicesReadWindows.size(); ++i) {
            if (cell == ServicesReadWindows[i].last)
                return ServicesReadWindows[i + 1];
        }
        return std::nullopt;
    }
};

} // namespace

std::unique_ptr<BlockHandler> makeServicesWriteHandler()
{
    return std::make_unique<ServicesWriteHandler>();
}

std::unique_ptr<BlockHandler> makeServicesReadHandler()
{
    return std::make_unique<ServicesReadHandler>();
}

} // namespace ornis
