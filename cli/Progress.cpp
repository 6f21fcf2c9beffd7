#include "Progress.h"

#include "link/BlockTable.h"

#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace ornis::cli {

namespace {

// "Writing settings", "Reading short dials"...; nothing for the modes that are no step.
std::optional<std::string> stepTitle(TransferMode mode)
{
    const std::optional<StepNames> names = stepNames(mode);
    if (!names)
        return std::nullopt;
    return std::string(isRead(mode) ? "Reading " : "Writing ") + names->title;
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
    if (std::optional<std::string> title = stepTitle(mode)) {
        title_ = std::move(*title);
        percent_ = 0;
        if (live_)
            write(false);
    }
}

void Progress::percentChanged(int percent)
{
    if (!title_ || percent == percent_)
        return;
    percent_ = percent;
    if (live_)
        write(false);
}

void Progress::endLine()
{
    if (!title_)
        return;
    write(true);
    title_.reset();
}

void Progress::write(bool final)
{
    const char *title = title_->c_str();
    if (live_)
        std::fprintf(stream_, "\r%-24s %3d%%%s", title, percent_, final ? "\n" : "");
    else if (final)
        std::fprintf(stream_, "%-24s %3d%%\n", title, percent_);
    std::fflush(stream_);
}

} // namespace ornis::cli
