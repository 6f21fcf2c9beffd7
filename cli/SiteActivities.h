#pragma once

#include "link/TransferMode.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ornis::cli {

// What each site of a fleet backup is doing now: written by the loop that reads the site, as
// often as its engine tells, and read by a progress display at its own pace, from any thread.
class SiteActivities
{
public:
    struct Activity
    {
        TransferMode mode = TransferMode::Idle;
        int percent = 0;
    };

    explicit SiteActivities(std::size_t sites)
        : states_(sites)
    {
    }

    void set(std::size_t site, TransferMode mode, int percent)
    {
        states_[site].store(
            uint32_t(mode) << 8 | uint32_t(percent & 0xFF), std::memory_order_relaxed);
    }
    [[nodiscard]] Activity get(std::size_t site) const
    {
        const uint32_t state = states_[site].load(std::memory_order_relaxed);
        return {TransferMode(state >> 8), int(state & 0xFF)};
    }

private:
    std::vector<std::atomic<uint32_t>> states_;
};

} // namespace ornis::cli
