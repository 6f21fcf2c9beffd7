#include "BlockHandlers.h"

// PLACEHOLDER: the handlers of this block are being written.
namespace ornis {
std::unique_ptr<BlockHandler> makeShortDialsWriteHandler() { return nullptr; }
std::unique_ptr<BlockHandler> makeShortDialsReadHandler() { return nullptr; }
} // namespace ornis
