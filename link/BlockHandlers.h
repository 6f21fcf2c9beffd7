#pragma once

#include "BlockHandler.h"
#include "TransferMode.h"

#include <array>
#include <memory>

// One handler per block and direction; each is defined in the file of its block.

namespace ornis {

std::unique_ptr<BlockHandler> makeClockWriteHandler(); // ClockBlock.cpp
std::unique_ptr<BlockHandler> makeTimesWriteHandler(); // DayNightTimesBlock.cpp
std::unique_ptr<BlockHandler> makeTimesReadHandler();
std::unique_ptr<BlockHandler> makeSettingsWriteHandler(); // SettingsBlock.cpp
std::unique_ptr<BlockHandler> makeSettingsReadHandler();
std::unique_ptr<BlockHandler> makeServicesWriteHandler(); // ServicesBlock.cpp
std::unique_ptr<BlockHandler> makeServicesReadHandler();
std::unique_ptr<BlockHandler> makeShortDialsWriteHandler(); // DialTableBlocks.cpp
std::unique_ptr<BlockHandler> makeShortDialsReadHandler();
std::unique_ptr<BlockHandler> makePEWriteHandler(); // DialTableBlocks.cpp
std::unique_ptr<BlockHandler> makePEReadHandler();

// The handlers indexed by TransferMode (modes 2..12; the others empty).
std::array<std::unique_ptr<BlockHandler>, TransferModeCount> makeBlockHandlers();

} // namespace ornis
