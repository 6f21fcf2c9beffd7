#pragma once

#include <QString>
#include <vector>

// What the window says of a call-back to one of the lines 91..94 (items 16..19 of the
// call-back list): the services block cannot carry it, and a write sends "vyp" instead.

namespace ornis {

// The hint at such an item and at a list that shows one.
[[nodiscard]] QString lineCallBackHint();
// The question before a services write that sends "vyp" for the call-backs of
// `extensions` (extension indexes), one at least.
[[nodiscard]] QString lineCallBackQuestion(const std::vector<int> &extensions);

} // namespace ornis
