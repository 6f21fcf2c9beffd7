#pragma once

#include <vector>

namespace ornis {

struct ExchangeConfig;

// The call-back cell carries four bits: the lines 91..94 (list items 16..19) cannot
// travel, and a services write sends "vyp" (0) for them. The extension indexes whose
// call-back target is such a line, ascending, so that the user can be told before a
// services write starts.
[[nodiscard]] std::vector<int> extensionsWithUntransferableCallBack(const ExchangeConfig &config);

} // namespace ornis
