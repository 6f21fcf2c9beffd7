#pragma once

#include "BlockHandler.h"
#include "Framing.h"
#include "TransferMode.h"

#include <array>
#include <memory>

// One handler per block and direction; each is defined in the file of its block.

namespace ornis {

std::unique_ptr<BlockHandler> makeClockWriteHandler(); // ClockBlock.cpp
std::unique_ptr<BlockHandler> makeTimesReadHandler(); // DayNightTimesBlock.cpp
std::unique_ptr<BlockHandler> makeServicesWriteHandler(); // ServicesBlock.cpp
std::unique_ptr<BlockHandler> makeServicesReadHandler();

// The framed blocks, one table driving one handler each way (FramedBlocks.cpp).
std::unique_ptr<BlockHandler> makeSettingsWriteHandler();
std::unique_ptr<BlockHandler> makeSettingsReadHandler();
std::unique_ptr<BlockHandler> makeTimesWriteHandler();
std::unique_ptr<BlockHandler> makeShortDialsWriteHandler();
std::unique_ptr<BlockHandler> makeShortDialsReadHandler();
std::unique_ptr<BlockHandler> makePEWriteHandler();
std::unique_ptr<BlockHandler> makePEReadHandler();
// The frame of the day/night times, for their read.
[[nodiscard]] BlockFrame timesReadFrame();

// The handlers indexed by TransferMode (modes 2..12; the others empty).
std::array<std::unique_ptr<BlockHandler>, TransferModeCount> makeBlockHandlers();

} // namespace ornis
