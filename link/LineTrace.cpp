#include "LineTrace.h"

#include "LinkPort.h"
#include "TransferEngine.h"

#include <charconv>
#include <chrono>
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

// Milliseconds with three decimals, right-aligned in ten columns ("     4.125"): by hand,
// as this runs for every byte.
void appendMilliseconds(std::string &out, int64_t nanoseconds)
{
    const int64_t microseconds = nanoseconds > 0 ? nanoseconds / 1000 : 0;
    char digits[24];
    char *end = std::to_chars(digits, digits + sizeof digits, microseconds / 1000).ptr;
    const auto wholeDigits = std::size_t(end - digits);
    if (wholeDigits < 6)
        out.append(6 - wholeDigits, ' ');
    out.append(digits, wholeDigits);
    const auto fraction = int(microseconds % 1000);
    out += '.';
    out += char('0' + fraction / 100);
    out += char('0' + fraction / 10 % 10);
    out += char('0' + fraction % 10);
}

void appendHex(std::string &out, uint8_t byte)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    out += hex[byte >> 4];
    out += hex[byte & 15];
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

LineTrace::LineTrace(std::unique_ptr<TraceSink> sink, const LinkPort &port,
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
    appendMilliseconds(buffer_, clock_() - startNs_);
    buffer_ += " -- ";
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
    appendMilliseconds(buffer_, clock_() - startNs_);
    buffer_ += ' ';
    buffer_ += direction;
    buffer_ += ' ';
    appendHex(buffer_, byte);
    if (engine_ && !engine_->isIdle()) {
        buffer_ += ' ';
        buffer_ += transferModeName(engine_->transferMode());
        const TransferState &state = engine_->transferState();
        if (state.DataPhase) {
            char step[16];
            const char *end = std::to_chars(step, step + sizeof step, state.TransferStep).ptr;
            buffer_ += " step ";
            buffer_.append(step, std::size_t(end - step));
        }
    }
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

} // namespace ornis
