#include "ExchangeComparison.h"

namespace ornis {

namespace {

// What never travels takes the window's values, also those edited during the read.
void takeUntransferred(const ExchangeConfig &window, ExchangeConfig &exchange)
{
    exchange.ExchangeType = window.ExchangeType;
    exchange.ExchangeModules = window.ExchangeModules;
    exchange.ExtensionComments = window.ExtensionComments;
    exchange.DayRingComments = window.DayRingComments;
    exchange.NightRingComments = window.NightRingComments;
    for (std::size_t i = 0; i < exchange.ShortDialTable.size(); ++i)
        exchange.ShortDialTable[i].Comment = window.ShortDialTable[i].Comment;
}

} // namespace

ExchangeConfig &ExchangeComparison::begin(const ExchangeConfig &window, BlockSet blocks)
{
    exchange_ = window;
    blocks_ = blocks;
    running_ = true;
    return exchange_;
}

std::optional<std::vector<Difference>> ExchangeComparison::finish(
    TransferEnd end, const ExchangeConfig &window)
{
    running_ = false;
    if (end != TransferEnd::Complete)
        return std::nullopt;
    takeUntransferred(window, exchange_);
    return compareConfigs(window, exchange_, blocks_);
}

} // namespace ornis
