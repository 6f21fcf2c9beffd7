#pragma once

#include "common/Comparison.h"
#include "config/Blocks.h"
#include "config/ExchangeConfig.h"
#include "link/TransferObserver.h"

#include <optional>
#include <vector>

namespace ornis {

// "Porovnat s ústřednou": the exchange is read into a copy of the window's configuration,
// never into the window's own, and the two are compared once the read is complete.
class ExchangeComparison final
{
public:
    // The copy of `window` to read `blocks` of the exchange into; it lives until the next
    // comparison.
    [[nodiscard]] ExchangeConfig &begin(const ExchangeConfig &window, BlockSet blocks);
    [[nodiscard]] bool running() const { return running_; }
    // Where `window`, as it is now, differs from the exchange in the blocks read; nothing
    // when the read did not complete.
    [[nodiscard]] std::optional<std::vector<Difference>> finish(
        TransferEnd end, const ExchangeConfig &window);

private:
    ExchangeConfig exchange_;
    BlockSet blocks_;
    bool running_ = false;
};

} // namespace ornis
