#include "TransferEngine.h"

#include "BlockHandlers.h"
#include "BlockTable.h"
#include "Framing.h"
#include "LinkPort.h"
#include "TransferObserver.h"
#include "config/ExchangeConfig.h"

namespace ornis {

TransferEngine::TransferEngine(
    ExchangeConfig &config, LinkPort &port, const LocalClock &clock, TransferObserver &observer)
    : ownConfig_(config)
    , config_(&config)
    , port_(&port)
    , clock_(clock)
    , observer_(observer)
{
    handlers_ = makeBlockHandlers();
    // The settings block opens a transfer of all blocks the same way.
    handlers_[size_t(TransferMode::AllWrite)] = makeSettingsWriteHandler();
    handlers_[size_t(TransferMode::AllRead)] = makeSettingsReadHandler();
}

TransferEngine::~TransferEngine() = default;

void TransferEngine::setPort(LinkPort &port)
{
    abort();
    port_ = &port;
}

// --- Inputs -------------------------------------------------------------------------

void TransferEngine::bytesArrived(std::size_t count)
{
    DisarmAnswerTimer();
    uint8_t byte = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto next = port_->readByte();
        if (!next)
            break;
        byte = *next;
    }

    if (transferMode_ == TransferMode::Idle)
        return;
    if (transferMode_ == TransferMode::Stopping) {
        handleStopping(byte);
        return;
    }

    BlockHandler *handler = handlerFor(transferMode_);
    if (!handler) {
        abort();
        return;
    }
    const BlockResult result = handler->onByte(byte, *this);
    if (endIfSendFailed())
        return;
    if (result == BlockResult::Continue) {
        StepProgress(handler->progressDenominator());
        ArmAnswerTimer();
    }
}

void TransferEngine::timerFired()
{
    // A timer that was cancelled in the meantime may still be delivered: it means nothing.
    if (!answerTimer_)
        return;
    answerTimer_ = false;
    endTransfer(TransferEnd::Failed, "Timeout on " + port_->name());
}

void TransferEngine::portFailed(const std::string &message)
{
    if (!isIdle())
        endTransfer(TransferEnd::Failed, message);
}

// --- Actions ------------------------------------------------------------------------

bool TransferEngine::startTransfer(TransferMode mode)
{
    return startTransfer(mode, ownConfig_);
}

bool TransferEngine::startTransfer(TransferMode mode, ExchangeConfig &target)
{
    if (!isIdle() || !handlerFor(mode))
        return false;
    config_ = &target;
    sent_ = {};
    StartBlock(mode);
    return !endIfSendFailed();
}

void TransferEngine::stop()
{
    if (isIdle())
        return;
    if (transferMode_ == TransferMode::Stopping) {
        // Pressed again: the answer timer ends the wait, or nothing would.
        if (!answerTimer_)
            endTransfer(TransferEnd::Stopped);
        return;
    }
    stoppedMode_ = transferMode_;
    stopSent_ = false;
    SetTransferMode(TransferMode::Stopping);
    // The answer to the last byte sent is on its way or waits unread; flushing the port
    // could lose it, or that byte itself, and leave the exchange in the middle of a command.
    ArmAnswerTimer();
}

void TransferEngine::abort()
{
    if (!isIdle())
        endTransfer(TransferEnd::Stopped);
}

void TransferEngine::handleStopping(uint8_t byte)
{
    if (!sent_.answeredBy(byte)) {
        ArmAnswerTimer(); // a stray byte; the answer is still awaited
        return;
    }
    BlockHandler *block = handlerFor(stoppedMode_);
    if (stopSent_) {
        if (byte == Control::X) {
            state_.DataPhase = false;
            FinishTransfer();
            return;
        }
        send(Control::X);
    } else if (block && (sent_.incomplete() || sent_.closing())) {
        // The block sends what it meant: the data byte of its 'W', the rest of its address,
        // or the next byte of its closing.
        if (block->onByte(byte, *this) != BlockResult::Continue) {
            (void)endIfSendFailed();
            return;
        }
    } else {
        stopSent_ = true;
        send(Control::E);
    }
    if (endIfSendFailed())
        return;
    ArmAnswerTimer();
}

// --- Engine operations --------------------------------------------------------------

void TransferEngine::SetTransferMode(TransferMode mode)
{
    transferMode_ = mode;
    if (mode == TransferMode::Idle) {
        transferAll_ = false;
        state_.DataPhase = false;
        config_ = &ownConfig_;
    } else if (mode == TransferMode::AllWrite || mode == TransferMode::AllRead) {
        transferAll_ = true;
    }
    observer_.transferModeChanged(mode);
}

BlockResult TransferEngine::StartBlock(TransferMode mode)
{
    SetTransferMode(mode);
    if (BlockHandler *handler = handlerFor(mode))
        handler->begin(*this);
    send(Control::S);
    ShowProgress();
    ArmAnswerTimer();
    return BlockResult::Chained;
}

BlockResult TransferEngine::FinishTransfer()
{
    // The stop sequence ends here too, when the exchange answered it.
    const bool stopped = transferMode_ == TransferMode::Stopping;
    endTransfer(stopped ? TransferEnd::Stopped : TransferEnd::Complete);
    return BlockResult::Finished;
}

void TransferEngine::ArmAnswerTimer()
{
    DisarmAnswerTimer();
    if (responseTimeout_ <= 0)
        return;
    port_->startAnswerTimer(timeoutTicks(responseTimeout_));
    answerTimer_ = true;
}

void TransferEngine::DisarmAnswerTimer()
{
    if (!answerTimer_)
        return;
    port_->stopAnswerTimer();
    answerTimer_ = false;
}

void TransferEngine::ShowProgress()
{
    progressEvents_ = 0;
    progressPosition_ = 0;
    progressVisible_ = true;
    notifyProgress();
}

void TransferEngine::StepProgress(uint16_t denominator)
{
    if (!progressVisible_)
        return;
    ++progressEvents_;
    progressPosition_ = progressPercent(progressEvents_, denominator);
    notifyProgress();
}

void TransferEngine::HideProgress()
{
    if (!progressVisible_)
        return;
    progressVisible_ = false;
    notifyProgress();
}

int TransferEngine::timeoutTicks(int milliseconds)
{
    const int64_t ticks = int64_t(milliseconds) * 1675 / 92000;
    // A positive timeout shorter than one tick still waits one tick rather than none.
    return ticks < 1 ? 1 : ticks > INT32_MAX ? INT32_MAX : int(ticks);
}

int TransferEngine::progressPercent(int32_t events, uint16_t denominator)
{
    if (denominator == 0)
        return 100;
    const int64_t rounded = (int64_t(events) * 100 + denominator / 2) / denominator;
    return rounded > 100 ? 100 : int(rounded);
}

// --- Block chaining -----------------------------------------------------------------

BlockResult TransferEngine::blockDone()
{
    const bool stopping = transferMode_ == TransferMode::Stopping;
    const TransferMode mode = stopping ? stoppedMode_ : transferMode_;
    const std::optional<TransferMode> next = nextStep(mode, transferAll_, config_->ExchangeType);
    observer_.blockClosed(mode);
    if (stopping) {
        // The block of the stop has closed; the transfer ends with it, complete if it was
        // the last.
        endTransfer(next ? TransferEnd::Stopped : TransferEnd::Complete);
        return BlockResult::Finished;
    }
    return next ? StartBlock(*next) : FinishTransfer();
}

// --- Helpers ------------------------------------------------------------------------

BlockHandler *TransferEngine::handlerFor(TransferMode mode) const
{
    const auto index = size_t(mode);
    return index < handlers_.size() ? handlers_[index].get() : nullptr;
}

void TransferEngine::send(uint8_t byte)
{
    if (sendFailure_)
        return; // the transfer ends with the first failure; nothing more goes out
    const Status status = port_->sendByte(byte);
    if (status.ok())
        sent_.sent(byte);
    else
        sendFailure_ = status.message();
}

bool TransferEngine::endIfSendFailed()
{
    if (!sendFailure_)
        return false;
    const std::string message = *sendFailure_;
    sendFailure_.reset();
    endTransfer(TransferEnd::Failed, message);
    return true;
}

void TransferEngine::endTransfer(TransferEnd end, const std::string &failure)
{
    SetTransferMode(TransferMode::Idle);
    DisarmAnswerTimer();
    HideProgress();
    if (end == TransferEnd::Failed)
        observer_.transferFailed(failure);
    observer_.transferEnded(end);
}

void TransferEngine::notifyProgress()
{
    observer_.progressChanged(progressVisible_, progressPosition_);
}

} // namespace ornis
