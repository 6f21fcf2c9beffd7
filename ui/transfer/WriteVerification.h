#pragma once

#include "common/Comparison.h"
#include "config/Blocks.h"
#include "config/ExchangeConfig.h"
#include "link/TransferMode.h"
#include "link/TransferObserver.h"

#include <optional>
#include <vector>

namespace ornis {

// "Ověřit po zápisu": after a write that ended normally, the blocks written are read back
// into a scratch configuration and compared with what the write sent. The protocol has no
// checksum: a byte changed on the line is found only so.
class WriteVerification final
{
public:
    // A write in `mode` of `config` starts: what it sends is kept.
    void writeStarting(TransferMode mode, const ExchangeConfig &config);
    // The write ended: the read that checks it, to run into target(); nothing when the
    // write did not complete or wrote no block (the clock).
    [[nodiscard]] std::optional<TransferMode> readBackAfter(TransferEnd end);
    [[nodiscard]] ExchangeConfig &target() { return exchange_; }
    [[nodiscard]] bool running() const { return running_; }
    // Where the exchange differs from what was sent, once the read-back completed;
    // nothing when it did not.
    [[nodiscard]] std::optional<std::vector<Difference>> finish(TransferEnd end);

private:
    ExchangeConfig written_;
    ExchangeConfig exchange_;
    std::optional<TransferMode> readBack_;
    BlockSet blocks_;
    bool running_ = false;
};

} // namespace ornis
