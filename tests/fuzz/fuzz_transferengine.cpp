// The transfer engine fed arbitrary answers, stray bytes, timer firings and stops, for
// every block and mode: it must never fail, never send a second byte before the answer to
// the first, and always be idle again once its answer timer has fired.
//
// Input: the first byte picks the exchange model; then each event is one byte, with the
// bytes it needs after it.

#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "link/InputQueue.h"
#include "link/LinkPort.h"
#include "link/LocalClock.h"
#include "link/TransferEngine.h"
#include "link/TransferObserver.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace ornis;

// A line whose far end says whatever the input says.
class ScriptedPort final : public LinkPort
{
public:
    Status sendByte(uint8_t) override
    {
        ++sent;
        return Status::success();
    }
    std::optional<uint8_t> readByte() override { return input.readByte(); }
    std::size_t bytesAvailable() const override { return input.size(); }
    Status flushInput() override
    {
        input.clear();
        return Status::success();
    }
    Status flushOutput() override { return Status::success(); }
    void startAnswerTimer(int ticks) override { timerArmed = ticks > 0; }
    void stopAnswerTimer() override { timerArmed = false; }
    std::string name() const override { return "fuzz"; }

    InputQueue input;
    int sent = 0;
    bool timerArmed = false;
};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Reads the input as events, one at a time.
class Script
{
public:
    Script(const uint8_t *data, std::size_t size)
        : data_(data)
        , size_(size)
    {
    }
    [[nodiscard]] bool done() const { return next_ >= size_; }
    uint8_t take() { return next_ < size_ ? data_[next_++] : 0; }

private:
    const uint8_t *data_;
    std::size_t size_;
    std::size_t next_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Script script(data, size);
    ExchangeConfig config = factoryConfig();
    config.ExchangeType = int32_t(script.take() % 3);
    ScriptedPort port;
    struct NoClock final : LocalClock
    {
        LocalDateTime now() const override { return {}; }
    } clock;
    TransferObserver observer;
    TransferEngine engine(config, port, clock, observer);

    while (!script.done()) {
        const int sentBefore = port.sent;
        const uint8_t event = script.take();
        switch (event % 8) {
        case 0: // start a transfer in any mode, idle or not
            (void)engine.startTransfer(TransferMode(script.take() % 15));
            break;
        case 1: // several bytes at once: only the last counts
            for (int n = script.take() % 4 + 2; n > 0; --n)
                port.input.push(script.take());
            engine.bytesArrived(port.input.size());
            break;
        case 2: // an arrival announced that is not there
            engine.bytesArrived(script.take() % 3);
            break;
        case 3: // the answer timer goes off, or a firing arrives late
            port.timerArmed = false;
            engine.timerFired();
            check(port.sent == sentBefore);
            break;
        case 4: // the answer on its way comes first: a stop sends nothing at once
            engine.stop();
            check(port.sent == sentBefore);
            break;
        default: // one answer
            port.input.push(script.take());
            engine.bytesArrived(port.input.size());
            break;
        }
        check(port.sent - sentBefore <= 1);
        check(engine.isIdle() || port.timerArmed);
        check(engine.answerTimerArmed() == port.timerArmed);
    }
    if (!engine.isIdle()) {
        port.timerArmed = false;
        engine.timerFired();
        check(engine.isIdle());
    }
    return 0;
}
