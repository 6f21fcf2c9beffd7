#pragma once

namespace ornis::cli {

// The tool's exit status, for scripts.
enum class ExitCode : int {
    Success = 0,
    TransferFailed = 1, // the exchange did not answer, or the port failed
    UsageOrFileError = 2,
    Differences = 3, // verify and diff: the configurations differ
};

} // namespace ornis::cli
