#include "BlockHandlers.h"

// PLACEHOLDER: the handlers of this block are being written.
namespace ornis {
std::unique_ptr<BlockHandler> makeClockWriteHandler() { return nullptr; }
} // namespace ornis
