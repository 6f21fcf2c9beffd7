#pragma once

#include "link/TransferMode.h"

#include <cstdio>
#include <optional>
#include <string>

namespace ornis::cli {

// The progress of a transfer on stderr: one line a block. On a terminal the line shows
// the live percentage; otherwise (a log, a pipe) each line is written once, when its
// block ends, with the percentage it reached.
class Progress
{
public:
    Progress(std::FILE *stream, bool live);
    ~Progress();

    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // The mode of the transfer changed: a block began, or the transfer is over (Idle).
    void modeChanged(TransferMode mode);
    void percentChanged(int percent);

    // Whether `stream` is a terminal.
    [[nodiscard]] static bool isTerminal(std::FILE *stream);

private:
    void endLine();
    void write(bool final);

    std::FILE *stream_;
    bool live_;
    std::optional<std::string> title_; // the title of the step whose line is open
    int percent_ = 0;
};

} // namespace ornis::cli
