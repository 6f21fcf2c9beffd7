#pragma once

#include "CommandLine.h"
#include "ExitCode.h"

namespace ornis::cli {

// backup: reads the list of sites, refusing a bad one before anything is sent, backs up
// every site in the application's event loop and prints the report.
[[nodiscard]] ExitCode runBackup(const Request &request);

} // namespace ornis::cli
