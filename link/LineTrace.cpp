#include "LineTrace.h"

#include "SerialPort.h"
#include "TransferEngine.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace ornis {

namespace {

constexpr std::size_t BufferLimit = 64 * 1024;
constexpr int64_t FlushIntervalNs = 250'000'000;

int64_t steadyNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// The engine's names of its modes: the block and the direction.
const char *modeName(TransferMode mode)
{
    static constexpr std::array<const char *, 15> names {"Idle", "Stopping", "ClockWrite",
        "SettingsWrite", "SettingsRead", "TimesWrite", "TimesRead", "ServicesWrite",
        "ServicesRead", "ShortDialsWrite", "ShortDialsRead", "PEWrite", "PERead", "AllWrite",
        "AllRead"};
    const auto index = std::size_t(mode);
    return index < names.size() ? names[index] : "?";
}

std::string localTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

} // namespace

LineTrace::LineTrace(std::unique_ptr<TraceSink> sink, const SerialPort &port,
    const TransferEngine *engine, Clock clock)
    : sink_(std::move(sink))
    , port_(port)
    , engine_(engine)
    , clock_(clock ? std::move(clock) : Clock(steadyNs))
    , startNs_(clock_())
    , lastFlushNs_(startNs_)
{
    buffer_.reserve(BufferLimit + 256);
}

LineTrace::~LineTrace()
{
    flush();
}

void LineTrace::sent(uint8_t byte)
{
    byteLine("TX", byte);
}

void LineTrace::received(uint8_t byte)
{
    byteLine("RX", byte);
}

void LineTrace::note(std::string_view text)
{
    char time[32];
    std::snprintf(time, sizeof time, "%10.3f -- ", millisecondsNow());
    buffer_ += time;
    buffer_ += text;
    buffer_ += '\n';
    flush();
}

void LineTrace::eventHandled()
{
    if (inTransfer_ && (!engine_ || engine_->isIdle())) {
        inTransfer_ = false;
        note("transfer over");
        return;
    }
    if (!buffer_.empty() && clock_() - lastFlushNs_ >= FlushIntervalNs)
        flush();
}

void LineTrace::flush()
{
    lastFlushNs_ = clock_();
    if (!buffer_.empty()) {
        sink_->write(buffer_);
        buffer_.clear();
    }
    sink_->flush();
}

void LineTrace::byteLine(const char *direction, uint8_t byte)
{
    startIfRunning();
    char line[96];
    int length = std::snprintf(
        line, sizeof line, "%10.3f %s %02X", millisecondsNow(), direction, unsigned(byte));
    if (engine_ && !engine_->isIdle()) {
        length += std::snprintf(line + length, sizeof line - std::size_t(length), " %s",
            modeName(engine_->transferMode()));
        const TransferState &state = engine_->transferState();
        if (state.DataPhase)
            length += std::snprintf(line + length, sizeof line - std::size_t(length), " step %d",
                int(state.TransferStep));
    }
    buffer_.append(line, std::size_t(length));
    buffer_ += '\n';
    if (buffer_.size() >= BufferLimit)
        flush();
}

void LineTrace::startIfRunning()
{
    if (inTransfer_ || !engine_ || engine_->isIdle())
        return;
    flush();
    inTransfer_ = true;
    startNs_ = clock_();
    sink_->transferStarts();
    buffer_ += "# " + localTimeNow() + ", transfer on " + port_.name() + "\n";
    buffer_ += "#        ms dir byte, block, step (the engine's TransferStep while its DataPhase "
               "is set)\n";
}

double LineTrace::millisecondsNow() const
{
    return double(clock_() - startNs_) / 1e6;
}

} // namespace ornis
