#include "Preload.h"

#include "LineDriver.h"
#include "SimulatedPort.h"
#include "config/FactoryDefaults.h"
#include "link/LocalClock.h"
#include "link/TransferEngine.h"
#include "link/TransferObserver.h"

namespace ornis::sim {

namespace {

class NoClock final : public LocalClock
{
public:
    LocalDateTime now() const override { return {}; }
};

class FailureCatcher final : public TransferObserver
{
public:
    void transferFailed(const std::string &text) override { message = text; }
    std::string message;
};

} // namespace

Status writeIntoExchange(const ExchangeConfig &config, VirtualExchange &exchange)
{
    ExchangeConfig copy = config;
    SimulatedPort port(exchange, "preset");
    NoClock clock;
    FailureCatcher failures;
    TransferEngine engine(copy, port, clock, failures);
    if (!engine.startTransfer(TransferMode::AllWrite))
        return Status::failure("The configuration cannot be written: " + failures.message);
    runToIdle(engine, port);
    if (!failures.message.empty())
        return Status::failure(failures.message);
    return Status::success();
}

VirtualExchange::Memory factoryMemory()
{
    // A scratch exchange, so that the bytes of the write count towards no one's faults.
    VirtualExchange scratch;
    (void)writeIntoExchange(factoryConfig(), scratch);
    return scratch.memory();
}

} // namespace ornis::sim
