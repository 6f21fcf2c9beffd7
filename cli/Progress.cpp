#include "Progress.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace ornis::cli {

namespace {

// "Writing settings", "Reading short dials"...; nothing for the modes that are no block.
const char *blockTitle(TransferMode mode)
{
    switch (mode) {
    case TransferMode::ClockWrite:
        return "Writing clock";
    case TransferMode::SettingsWrite:
    case TransferMode::AllWrite:
        return "Writing settings";
    case TransferMode::SettingsRead:
    case TransferMode::AllRead:
        return "Reading settings";
    case TransferMode::TimesWrite:
        return "Writing day/night times";
    case TransferMode::TimesRead:
        return "Reading day/night times";
    case TransferMode::ServicesWrite:
        return "Writing services";
    case TransferMode::ServicesRead:
        return "Reading services";
    case TransferMode::ShortDialsWrite:
        return "Writing short dials";
    case TransferMode::ShortDialsRead:
        return "Reading short dials";
    case TransferMode::PEWrite:
        return "Writing PE";
    case TransferMode::PERead:
        return "Reading PE";
    case TransferMode::Idle:
    case TransferMode::Stopping:
        break;
    }
    return nullptr;
}

} // namespace

Progress::Progress(std::FILE *stream, bool live)
    : stream_(stream)
    , live_(live)
{
}

Progress::~Progress()
{
    endLine();
}

bool Progress::isTerminal(std::FILE *stream)
{
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

void Progress::modeChanged(TransferMode mode)
{
    endLine();
    if (blockTitle(mode)) {
        block_ = mode;
        percent_ = 0;
        if (live_)
            write(false);
    }
}

void Progress::percentChanged(int percent)
{
    if (!block_ || percent == percent_)
        return;
    percent_ = percent;
    if (live_)
        write(false);
}

void Progress::endLine()
{
    if (!block_)
        return;
    write(true);
    block_.reset();
}

void Progress::write(bool final)
{
    const char *title = blockTitle(*block_);
    if (live_)
        std::fprintf(stream_, "\r%-24s %3d%%%s", title, percent_, final ? "\n" : "");
    else if (final)
        std::fprintf(stream_, "%-24s %3d%%\n", title, percent_);
    std::fflush(stream_);
}

} // namespace ornis::cli
