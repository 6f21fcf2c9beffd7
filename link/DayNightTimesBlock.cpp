#include "BlockHandlers.h"

// PLACEHOLDER: the handlers of this block are being written.
namespace ornis {
std::unique_ptr<BlockHandler> makeTimesWriteHandler() { return nullptr; }
std::unique_ptr<BlockHandler> makeTimesReadHandler() { return nullptr; }
} // namespace ornis
