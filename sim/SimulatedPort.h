#pragma once

#include "VirtualExchange.h"
#include "link/InputQueue.h"
#include "link/LinkPort.h"

#include <cstdint>
#include <deque>
#include <string>

namespace ornis::sim {

// A serial port wired straight to a VirtualExchange, in process and without time: the
// answers wait in the input queue until the driver hands them to the engine. The answer
// timer only records its state; the driver fires it.
class SimulatedPort final : public LinkPort
{
public:
    explicit SimulatedPort(VirtualExchange &exchange, std::string name = "sim")
        : exchange_(exchange)
        , name_(std::move(name))
    {
    }

    Status sendByte(uint8_t byte) override;
    std::optional<uint8_t> readByte() override;
    [[nodiscard]] std::size_t bytesAvailable() const override { return input_.size(); }
    Status flushInput() override;
    Status flushOutput() override { return Status::success(); }
    void startAnswerTimer(int ticks) override;
    void stopAnswerTimer() override { timerTicks_ = 0; }
    [[nodiscard]] std::string name() const override { return name_; }

    // The line is gone: every send fails.
    void disconnect() { connected_ = false; }
    [[nodiscard]] bool timerArmed() const { return timerTicks_ > 0; }
    [[nodiscard]] int timerTicks() const { return timerTicks_; }
    // Every byte the program sent, in order.
    [[nodiscard]] const std::deque<uint8_t> &sent() const { return sent_; }
    // Bytes sent while the answer to the previous one had not been read in full: on a real
    // line the exchange could take them for part of that command, or lose them.
    [[nodiscard]] std::size_t sentBeforeAnswer() const { return sentBeforeAnswer_; }
    void clearSent() { sent_.clear(); }

private:
    VirtualExchange &exchange_;
    std::string name_;
    InputQueue input_;
    std::deque<uint8_t> sent_;
    int timerTicks_ = 0;
    bool connected_ = true;
    bool answerUnread_ = false;
    std::size_t sentBeforeAnswer_ = 0;
};

} // namespace ornis::sim
