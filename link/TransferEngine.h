#pragma once

#include "BlockHandler.h"
#include "LinkPort.h"
#include "SentCommand.h"
#include "TransferMode.h"
#include "TransferObserver.h"
#include "TransferState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ornis {

struct ExchangeConfig;
class LocalClock;
class LinkPort;

// Runs every transfer between the program and the exchange: a lock-step exchange of
// single bytes, driven only by its two inputs, bytesArrived() and timerFired().
class TransferEngine final : private BlockContext
{
public:
    TransferEngine(ExchangeConfig &config, LinkPort &port, const LocalClock &clock,
        TransferObserver &observer);
    ~TransferEngine() override;

    // Another line; an unfinished transfer is ended first.
    void setPort(LinkPort &port);

    // --- Inputs -------------------------------------------------------------------
    // `count` received bytes wait on the port; only the last one is acted on.
    void bytesArrived(std::size_t count);
    // The answer timer expired.
    void timerFired();
    // The port failed for good (adapter unplugged); a running transfer ends with
    // `message` reported.
    void portFailed(const std::string &message);

    // --- Actions ------------------------------------------------------------------
    // Starts a transfer from idle. False when one is running already (nothing is done)
    // or when the start failed (the error is reported, the engine is idle again).
    bool startTransfer(TransferMode mode);
    // The same for a transfer that reads into or writes from `target` instead of the
    // engine's own configuration, until it ends; `target` must outlive it.
    bool startTransfer(TransferMode mode, ExchangeConfig &target);
    // The stop sequence, only while a transfer runs. Nothing is sent before the answer
    // awaited: a 'W' then gets the data byte it meant, an address its remaining bytes, and a
    // block that has begun to close closes as usual; then 'E', and 'X' on its echo. Each
    // answer is awaited for one answer timeout. A second stop with no answer timer armed
    // (timeout 0) ends the transfer at once, since nothing else would.
    void stop();
    // Ends a running transfer at once, silently (another port was chosen).
    void abort();

    // --- State --------------------------------------------------------------------
    [[nodiscard]] TransferMode transferMode() const { return transferMode_; }
    [[nodiscard]] bool isIdle() const { return transferMode_ == TransferMode::Idle; }
    // False while a transfer runs on another configuration than the engine's own.
    [[nodiscard]] bool onOwnConfig() const { return config_ == &ownConfig_; }
    [[nodiscard]] bool transferAll() const override { return transferAll_; }
    [[nodiscard]] int responseTimeout() const { return responseTimeout_; }
    // Milliseconds; 0 or less arms no answer timer at all.
    void setResponseTimeout(int milliseconds) { responseTimeout_ = milliseconds; }
    [[nodiscard]] bool answerTimerArmed() const { return answerTimer_; }
    [[nodiscard]] const TransferState &transferState() const { return state_; }
    [[nodiscard]] bool progressVisible() const { return progressVisible_; }
    [[nodiscard]] int progressPosition() const { return progressPosition_; }

    // The answer timeout in 55 ms ticks: milliseconds x 1675 / 92000 (4000 ms: 72).
    [[nodiscard]] static int timeoutTicks(int milliseconds);
    // Rounded percentage of `events` out of `denominator`, as Windows MulDiv rounds,
    // capped at 100.
    [[nodiscard]] static int progressPercent(int32_t events, uint16_t denominator);

    // --- Engine operations, also used by the block handlers ------------------------
    void SetTransferMode(TransferMode mode);
    // SetTransferMode, send 'S', ShowProgress, ArmAnswerTimer.
    BlockResult StartBlock(TransferMode mode);
    // Idle, progress hidden; the answer timer stays disarmed.
    BlockResult FinishTransfer();
    void ArmAnswerTimer();
    void DisarmAnswerTimer();
    void ShowProgress();
    void StepProgress(uint16_t denominator);
    void HideProgress();

private:
    // BlockContext
    void send(uint8_t byte) override;
    TransferState &state() override { return state_; }
    ExchangeConfig &config() override { return *config_; }
    const LocalClock &clock() const override { return clock_; }
    TransferObserver &observer() override { return observer_; }
    BlockResult blockDone() override;

    [[nodiscard]] BlockHandler *handlerFor(TransferMode mode) const;
    void handleStopping(uint8_t byte);
    // Stopping, before the 'E': the block of the stop completes its command or its closing.
    void finishStoppedBlock(uint8_t byte);
    // Idle, no timer, progress hidden; the end reported, after `failure` for a failed one.
    void endTransfer(TransferEnd end, const std::string &failure = {});
    // A send failed while handling an input: end the transfer with its message.
    [[nodiscard]] bool endIfSendFailed();
    void notifyProgress();

    ExchangeConfig &ownConfig_;
    ExchangeConfig *config_; // the configuration the running transfer reads or writes
    LinkPort *port_;
    const LocalClock &clock_;
    TransferObserver &observer_;

    TransferMode transferMode_ = TransferMode::Idle;
    bool transferAll_ = false;
    int responseTimeout_ = DefaultAnswerTimeoutMs;
    bool answerTimer_ = false; // the answer timer is armed
    TransferState state_;

    bool progressVisible_ = false;
    int32_t progressEvents_ = 0;
    int progressPosition_ = 0;

    SentCommand sent_;
    TransferMode stoppedMode_ = TransferMode::Idle; // the block the stop came in
    bool stopSent_ = false; // the stop sequence's 'E' went out

    std::optional<std::string> sendFailure_;
    // Indexed by TransferMode; Idle and Stopping have none.
    std::array<std::unique_ptr<BlockHandler>, TransferModeCount> handlers_;
};

} // namespace ornis
