#pragma once

#include "config/ExchangeConfig.h"
#include "link/TransferEngine.h"
#include "sim/LineDriver.h"
#include "sim/SimulatedPort.h"
#include "sim/VirtualExchange.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"

#include <QTest>
#include <cstdint>
#include <vector>

// A configuration, the engine and a virtual exchange at the far end, wired in process.
struct SimulatedLine
{
    using Memory = ornis::sim::VirtualExchange::Memory;

    explicit SimulatedLine(ornis::ExchangeConfig initial = {})
        : config(std::move(initial))
    {
    }

    // Runs a transfer from idle to its end; false when it could not start.
    bool run(ornis::TransferMode mode)
    {
        if (!engine.startTransfer(mode))
            return false;
        ornis::sim::runToIdle(engine, port);
        return engine.isIdle();
    }

    // Exchange memory from `address` on.
    void place(int address, const std::vector<uint8_t> &bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            exchange.memory()[std::size_t(address) + i] = bytes[i];
    }
    [[nodiscard]] std::vector<uint8_t> memoryAt(int address, int count) const
    {
        const auto begin = exchange.memory().begin() + address;
        return {begin, begin + count};
    }

    // The percentages of the bar since the block's start: [0] is the reset, [n] the n-th
    // counted event.
    [[nodiscard]] int countedEvents() const { return int(observer.percents.size()) - 1; }

    ornis::ExchangeConfig config;
    ornis::sim::VirtualExchange exchange;
    ornis::sim::SimulatedPort port {exchange};
    FixedClock clock;
    RecordingObserver observer;
    ornis::TransferEngine engine {config, port, clock, observer};
};

// One data row per exchange model, in the column "model".
inline void addModelRows()
{
    QTest::addColumn<int>("model");
    QTest::newRow("MIRA") << int(ornis::ModelMira);
    QTest::newRow("VEGA") << int(ornis::ModelVega);
    QTest::newRow("VEGA X") << int(ornis::ModelVegaX);
}
