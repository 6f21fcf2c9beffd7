#include "BlockHandlers.h"

#include "TransferMode.h"

namespace ornis {

std::array<std::unique_ptr<BlockHandler>, TransferModeCount> makeBlockHandlers()
{
    std::array<std::unique_ptr<BlockHandler>, TransferModeCount> handlers;
    auto put = [&handlers](TransferMode mode, std::unique_ptr<BlockHandler> handler) {
        handlers[size_t(mode)] = std::move(handler);
    };
    put(TransferMode::ClockWrite, makeClockWriteHandler());
    put(TransferMode::SettingsWrite, makeSettingsWriteHandler());
    put(TransferMode::SettingsRead, makeSettingsReadHandler());
    put(TransferMode::TimesWrite, makeTimesWriteHandler());
    put(TransferMode::TimesRead, makeTimesReadHandler());
    put(TransferMode::ServicesWrite, makeServicesWriteHandler());
    put(TransferMode::ServicesRead, makeServicesReadHandler());
    put(TransferMode::ShortDialsWrite, makeShortDialsWriteHandler());
    put(TransferMode::ShortDialsRead, makeShortDialsReadHandler());
    put(TransferMode::PEWrite, makePEWriteHandler());
    put(TransferMode::PERead, makePEReadHandler());
    return handlers;
}

} // namespace ornis
