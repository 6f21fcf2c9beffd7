#include "BlockHandlers.h"

// PLACEHOLDER: the handlers of this block are being written.
namespace ornis {
std::unique_ptr<BlockHandler> makePEWriteHandler() { return nullptr; }
std::unique_ptr<BlockHandler> makePEReadHandler() { return nullptr; }
} // namespace ornis
