#include "Framing.h"

namespace ornis {

namespace {

// The opening and the address selection, common to both directions. Returns true when
// the byte was one of them (the reply is sent).
bool openingReply(uint8_t byte, BlockContext &context, const BlockFrame &frame)
{
    switch (byte) {
    case Control::S:
        context.send(Control::T);
        return true;
    case Control::T:
        context.send(Control::A);
        return true;
    case Control::A:
        context.send(frame.addressLow);
        return true;
    default:
        break;
    }
    if (byte == frame.addressLow) {
        context.send(frame.addressHigh);
        return true;
    }
    return false;
}

BlockResult writeClosing(uint8_t byte, BlockContext &context, const BlockFrame &frame)
{
    TransferState &state = context.state();
    switch (frame.closing) {
    case Closing::EX:
        if (byte == Control::E)
            context.send(Control::X);
        else if (byte == Control::X)
            return context.blockDone();
        break;
    case Closing::ED:
        if (byte == Control::E)
            context.send(Control::D);
        else if (byte == Control::D)
            return context.blockDone();
        break;
    case Closing::EE:
        if (byte == Control::E) {
            if (!state.EndRepeat)
                return context.blockDone();
            state.EndRepeat = false;
            context.send(Control::E);
        }
        break;
    }
    return BlockResult::Continue;
}

} // namespace

BlockResult writeReaction(
    uint8_t byte, BlockContext &context, const BlockFrame &frame, const DataByteAt &dataByteAt)
{
    TransferState &state = context.state();
    if (state.DataPhase) {
        state.DataPhase = false;
        context.send(state.TransferStep < frame.endStep ? Control::W : Control::E);
        return BlockResult::Continue;
    }
    if (openingReply(byte, context, frame))
        return BlockResult::Continue;
    if (byte == frame.addressHigh) {
        state.TransferStep = frame.firstStep;
        if (frame.closing == Closing::EE)
            state.EndRepeat = true;
        context.send(Control::W);
        return BlockResult::Continue;
    }
    if (byte == Control::W) {
        if (const auto data = dataByteAt(state.TransferStep))
            context.send(*data);
        state.DataPhase = true;
        ++state.TransferStep;
        return BlockResult::Continue;
    }
    return writeClosing(byte, context, frame);
}

BlockResult readReaction(
    uint8_t byte, BlockContext &context, const BlockFrame &frame, const StoreAt &storeAt)
{
    TransferState &state = context.state();
    if (state.DataPhase) {
        storeAt(state.TransferStep, byte);
        if (state.TransferStep < frame.endStep) {
            context.send(Control::R);
        } else {
            state.DataPhase = false;
            context.send(Control::E);
        }
        ++state.TransferStep;
        return BlockResult::Continue;
    }
    if (openingReply(byte, context, frame))
        return BlockResult::Continue;
    if (byte == frame.addressHigh) {
        state.TransferStep = frame.firstStep;
        state.DataPhase = true;
        context.send(Control::R);
        return BlockResult::Continue;
    }
    if (byte == Control::E)
        context.send(Control::X);
    else if (byte == Control::X)
        return context.blockDone();
    return BlockResult::Continue;
}

} // namespace ornis
