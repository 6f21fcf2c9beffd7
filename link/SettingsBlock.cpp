#include "BlockHandlers.h"

// PLACEHOLDER: the handlers of this block are being written.
namespace ornis {
std::unique_ptr<BlockHandler> makeSettingsWriteHandler() { return nullptr; }
std::unique_ptr<BlockHandler> makeSettingsReadHandler() { return nullptr; }
} // namespace ornis
