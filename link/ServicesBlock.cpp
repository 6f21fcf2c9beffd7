#include "BlockHandlers.h"

// PLACEHOLDER: the handlers of this block are being written.
namespace ornis {
std::unique_ptr<BlockHandler> makeServicesWriteHandler() { return nullptr; }
std::unique_ptr<BlockHandler> makeServicesReadHandler() { return nullptr; }
} // namespace ornis
