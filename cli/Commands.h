#pragma once

#include "CommandLine.h"
#include "ExitCode.h"

namespace ornis::cli {

// Carries out one request. A transfer runs in the application's event loop, which must
// exist; the other commands are over when this returns.
[[nodiscard]] ExitCode runRequest(const Request &request);

} // namespace ornis::cli
