// ornisset-sim: the virtual exchange served on a pseudo-terminal or on TCP, for manual use
// and for the tests and benchmarks that run the program against a real serial device or a
// network connection.
//
// Prints the port to give the program on stdout (one line: the slave's device path, or
// tcp://127.0.0.1:PORT or rfc2217://127.0.0.1:PORT) and answers whatever is sent to it
// until SIGINT, SIGTERM or SIGHUP, or until it is told to disappear.

#include "Version.h"
#include "sim/LineFleet.h"
#include "sim/LinePacer.h"
#include "sim/NoiseOption.h"
#include "sim/Preload.h"
#include "sim/PtyLine.h"
#include "sim/TcpLine.h"
#include "sim/VirtualExchange.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <vector>

using namespace ornis::sim;

namespace {

constexpr int64_t SaveQuietNs = 300'000'000; // save this long after the line fell quiet
constexpr std::size_t MaxBaud = 4'000'000;
constexpr std::size_t MaxLines = 1000;
constexpr int64_t SpinNs = 100'000; // see Server::run

struct Options
{
    std::string load;
    std::string save;
    bool blank = false;
    int baud = 0;
    Faults faults;
    std::optional<std::size_t> disappearAfter;
    std::optional<uint16_t> listenPort; // TCP instead of a pseudo-terminal
    bool rfc2217 = false;
    uint32_t fixedBaud = 0;
    std::size_t lines = 0; // --lines: several lines from one loop
};

// In the form help2man reads into the manual page: usage, description, options.
const char *const Usage
    = "Usage: ornisset-sim [OPTION]...\n"
      "Serves the virtual exchange on a pseudo-terminal and prints its device path, or on\n"
      "TCP on loopback and prints its address. It starts as an exchange fresh from the\n"
      "factory.\n"
      "\n"
      "Options:\n"
      "  --load IMAGE          start with this 4096-byte memory image\n"
      "  --blank               start with a memory of zeros (not with --load)\n"
      "  --save IMAGE          save the memory image on exit, on disappearing, and\n"
      "                        whenever the line has been quiet for 0.3 s after a change\n"
      "  --baud N              answer at the pace of an N-baud line (10 bits a byte);\n"
      "                        without it every answer is sent at once\n"
      "  --silent-after N      answer the first N bytes, then nothing\n"
      "  --garbage-from N      answer every byte from the N-th on (0-based) with 0x3F\n"
      "  --double-answers      put a stray 0x00 before every answer\n"
      "  --disappear-after N   answer the first N bytes, then close the line when the\n"
      "                        next one arrives (the program sees a hang-up)\n"
      "  --noise ADDR=BYTE     store BYTE whatever is written at memory address ADDR (both\n"
      "                        decimal or 0x hexadecimal), a byte garbled on the line;\n"
      "                        repeatable\n"
      "  --listen PORT         serve on TCP at 127.0.0.1:PORT (0 takes a free port), one\n"
      "                        program at a time; prints tcp://127.0.0.1:PORT\n"
      "  --rfc2217             with --listen: speak Telnet with the COM-PORT-OPTION\n"
      "                        (RFC 2217), as a serial device server does; prints each\n"
      "                        line setting the program makes, and\n"
      "                        rfc2217://127.0.0.1:PORT first\n"
      "  --fixed-baud N        with --rfc2217: the line stays at N baud whatever is asked\n"
      "  --lines N             serve N lines, each with an exchange of its own, and print\n"
      "                        one port a line (with --listen PORT: PORT, PORT+1...);\n"
      "                        not with --save or --disappear-after\n"
      "  -h, --help            print this help and exit\n"
      "  --version             print the version and exit\n";

volatile std::sig_atomic_t stopSignal = 0;

void onStopSignal(int signal)
{
    stopSignal = signal;
}

int64_t nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

bool parseCount(const char *text, std::size_t &value)
{
    if (!text || !*text || *text == '-')
        return false;
    char *end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0')
        return false;
    value = std::size_t(parsed);
    return true;
}

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        std::size_t count = 0;
        if (arg == "--double-answers") {
            options.faults.doubleAnswers = true;
            continue;
        }
        if (arg == "--blank") {
            options.blank = true;
            continue;
        }
        if (arg == "--rfc2217") {
            options.rfc2217 = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            std::exit(0);
        }
        if (arg == "--version") {
            std::printf("ornisset-sim %s\n", ornis::ProgramVersion);
            std::exit(0);
        }
        if (!value) {
            std::fprintf(stderr, "ornisset-sim: %s needs a value\n", arg.c_str());
            return std::nullopt;
        }
        ++i;
        if (arg == "--load") {
            options.load = value;
        } else if (arg == "--save") {
            options.save = value;
        } else if (arg == "--baud" && parseCount(value, count) && count > 0 && count <= MaxBaud) {
            options.baud = int(count);
        } else if (arg == "--silent-after" && parseCount(value, count)) {
            options.faults.silentAfter = count;
        } else if (arg == "--garbage-from" && parseCount(value, count)) {
            options.faults.garbageFrom = count;
        } else if (arg == "--disappear-after" && parseCount(value, count)) {
            options.disappearAfter = count;
        } else if (const auto noise = arg == "--noise" ? parseNoise(value) : std::nullopt) {
            options.faults.noise[noise->first] = noise->second;
        } else if (arg == "--listen" && parseCount(value, count) && count <= UINT16_MAX) {
            options.listenPort = uint16_t(count);
        } else if (arg == "--lines" && parseCount(value, count) && count > 0
            && count <= MaxLines) {
            options.lines = count;
        } else if (arg == "--fixed-baud" && parseCount(value, count) && count > 0
            && count <= MaxBaud) {
            options.fixedBaud = uint32_t(count);
        } else {
            std::fprintf(stderr, "ornisset-sim: bad option %s %s\n", arg.c_str(), value);
            return std::nullopt;
        }
    }
    if ((options.rfc2217 && !options.listenPort) || (options.fixedBaud && !options.rfc2217)) {
        std::fprintf(stderr, "ornisset-sim: --rfc2217 needs --listen, --fixed-baud --rfc2217\n");
        return std::nullopt;
    }
    if (options.lines && options.listenPort && *options.listenPort
        && *options.listenPort + options.lines - 1 > UINT16_MAX) {
        std::fprintf(stderr, "ornisset-sim: --lines %zu from port %u passes port 65535\n",
            options.lines, unsigned(*options.listenPort));
        return std::nullopt;
    }
    if (options.lines && (!options.save.empty() || options.disappearAfter)) {
        std::fprintf(stderr, "ornisset-sim: --lines takes no --save or --disappear-after\n");
        return std::nullopt;
    }
    return options;
}

bool loadImage(const std::string &path, VirtualExchange::Memory &memory)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "ornisset-sim: cannot read %s\n", path.c_str());
        return false;
    }
    VirtualExchange::Memory image {};
    in.read(reinterpret_cast<char *>(image.data()), std::streamsize(image.size()));
    const bool full = in.gcount() == std::streamsize(image.size());
    if (!full || in.peek() != std::char_traits<char>::eof()) {
        std::fprintf(stderr, "ornisset-sim: %s is not a %zu-byte memory image\n", path.c_str(),
            image.size());
        return false;
    }
    memory = image;
    return true;
}

// Written beside the target and renamed over it, so a reader never sees half an image.
bool saveImage(const std::string &path, const VirtualExchange::Memory &memory)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(memory.data()), std::streamsize(memory.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "ornisset-sim: cannot write %s\n", temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::fprintf(
            stderr, "ornisset-sim: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

// Blocks the stop signals; returns the mask to wait with, under which they are delivered.
sigset_t blockStopSignals()
{
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, signal);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigdelset(&waitMask, signal); // delivered only while waiting in ppoll
    return waitMask;
}

struct PendingAnswer
{
    int64_t dueNs;
    std::vector<uint8_t> bytes;
};

class Server
{
public:
    explicit Server(const Options &options)
        : options_(options)
        , pacer_(options.baud)
    {
        exchange_.setFaults(options.faults);
    }

    [[nodiscard]] VirtualExchange &exchange() { return exchange_; }

    int run(ServedLine &line)
    {
        const sigset_t waitMask = blockStopSignals();

        while (stopSignal == 0) {
            const int64_t now = nowNs();
            if (!sendDueAnswers(line, now))
                return finish(1, "the line failed");
            if (dirty_ && now - lastByteNs_ >= SaveQuietNs) {
                dirty_ = false;
                save();
            }

            // A paced answer due within the spin window is waited for on the clock: the
            // wake-up from a sleep comes tens of microseconds late, which adds up to
            // percents over a whole transfer.
            if (!pending_.empty() && pending_.front().dueNs - now <= SpinNs) {
                while (nowNs() < pending_.front().dueNs) { }
                continue;
            }
            pollfd master {line.waitFd(), POLLIN, 0};
            timespec timeout {};
            const std::optional<int64_t> wake = nextWake();
            if (wake) {
                const int64_t spin = pending_.empty() ? 0 : SpinNs;
                const int64_t wait = std::max<int64_t>(0, *wake - now - spin);
                timeout.tv_sec = time_t(wait / 1'000'000'000);
                timeout.tv_nsec = long(wait % 1'000'000'000);
            }
            const int ready = ::ppoll(&master, 1, wake ? &timeout : nullptr, &waitMask);
            if (ready < 0 && errno != EINTR)
                return finish(1, std::strerror(errno));
            if (ready <= 0)
                continue;
            // A hang-up is read as the end of the input: the line tells what it means.
            if (master.revents & (POLLIN | POLLHUP | POLLERR)) {
                switch (receive(line)) {
                case Outcome::Serving:
                    break;
                case Outcome::Disappeared:
                    return finish(0, nullptr);
                case Outcome::Failed:
                    return finish(1, "the line failed");
                }
            }
        }
        return finish(0, nullptr);
    }

private:
    enum class Outcome { Serving, Disappeared, Failed };

    Outcome receive(ServedLine &line)
    {
        std::vector<uint8_t> received;
        if (!line.receive(received))
            return Outcome::Failed;
        if (const std::string news = line.takeNews(); !news.empty()) {
            std::printf("%s\n", news.c_str());
            std::fflush(stdout);
        }
        const int64_t now = nowNs();
        for (const uint8_t byte : received) {
            if (options_.disappearAfter && exchange_.bytesReceived() >= *options_.disappearAfter) {
                line.cut();
                return Outcome::Disappeared;
            }
            // A paced answer still waiting here has not reached the program yet.
            if (!pending_.empty())
                reportViolation("byte 0x%02X arrived before the answer to the one before", byte);
            const std::size_t violations = exchange_.violations().size();
            std::vector<uint8_t> answer = exchange_.receive(byte);
            if (exchange_.violations().size() > violations)
                reportViolation("%s", exchange_.violations().back().c_str());
            if (answer.empty())
                continue;
            const int64_t due = pacer_.answerDue(now, answer.size());
            if (pending_.empty() && due <= now) {
                if (!line.send(answer.data(), answer.size()))
                    return Outcome::Failed;
            } else {
                pending_.push_back({due, std::move(answer)});
            }
        }
        if (!received.empty()) {
            dirty_ = !options_.save.empty();
            lastByteNs_ = now;
        }
        return Outcome::Serving;
    }

    // Said on stderr, for whoever runs the exchange and for the tests.
    template<typename... Args> static void reportViolation(const char *format, Args... args)
    {
        std::fputs("ornisset-sim: protocol violation: ", stderr);
        std::fprintf(stderr, format, args...);
        std::fputc('\n', stderr);
    }

    bool sendDueAnswers(ServedLine &line, int64_t now)
    {
        while (!pending_.empty() && pending_.front().dueNs <= now) {
            const PendingAnswer &answer = pending_.front();
            if (!line.send(answer.bytes.data(), answer.bytes.size()))
                return false;
            pending_.pop_front();
        }
        return true;
    }

    [[nodiscard]] std::optional<int64_t> nextWake() const
    {
        std::optional<int64_t> wake;
        if (!pending_.empty())
            wake = pending_.front().dueNs;
        if (dirty_) {
            const int64_t saveAt = lastByteNs_ + SaveQuietNs;
            wake = wake ? std::min(*wake, saveAt) : saveAt;
        }
        return wake;
    }

    void save()
    {
        if (!options_.save.empty())
            saveImage(options_.save, exchange_.memory());
    }

    int finish(int code, const char *why)
    {
        if (why)
            std::fprintf(stderr, "ornisset-sim: %s\n", why);
        save();
        return code;
    }

    const Options &options_;
    VirtualExchange exchange_;
    LinePacer pacer_;
    std::deque<PendingAnswer> pending_;
    bool dirty_ = false;
    int64_t lastByteNs_ = 0;
};

// A pseudo-terminal line holds two descriptors: past about 500 lines the usual soft limit
// of 1024, which the hard limit mostly leaves room to raise.
void allowOpenFiles()
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// --lines: every line with its exchange, served from one loop.
int serveFleet(
    const Options &options, const VirtualExchange::Memory &memory, const sigset_t &waitMask)
{
    allowOpenFiles();
    LineFleet fleet(options.baud, options.faults, memory);
    for (std::size_t i = 0; i < options.lines; ++i) {
        std::string address;
        ornis::Status opened = ornis::Status::success();
        if (options.listenPort) {
            auto line = std::make_unique<TcpLine>();
            const uint16_t port = *options.listenPort ? uint16_t(*options.listenPort + i) : 0;
            opened = line->listen(port,
                options.rfc2217 ? TcpLine::Protocol::ComPort : TcpLine::Protocol::Raw,
                options.fixedBaud);
            address = line->address();
            fleet.add(std::move(line));
        } else {
            auto line = std::make_unique<PtyLine>();
            opened = line->open();
            address = line->slavePath();
            fleet.add(std::move(line));
        }
        if (!opened.ok()) {
            std::fprintf(stderr, "ornisset-sim: %s\n", opened.message().c_str());
            return 1;
        }
        std::printf("%s\n", address.c_str());
    }
    std::fflush(stdout);
    return fleet.run(stopSignal, waitMask);
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fputs(Usage, stderr);
        return 2;
    }

    if (options->blank && !options->load.empty()) {
        std::fputs("ornisset-sim: --load and --blank exclude each other\n", stderr);
        return 2;
    }
    Server server(*options);
    if (!options->load.empty()) {
        if (!loadImage(options->load, server.exchange().memory()))
            return 2;
    } else if (!options->blank) {
        server.exchange().memory() = factoryMemory();
    }

    struct sigaction action
    {
    };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    // The paced answers are due to the microsecond; the default slack of 50 us would
    // show in the timing of a whole transfer.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);

    if (options->lines)
        return serveFleet(*options, server.exchange().memory(), blockStopSignals());

    if (options->listenPort) {
        TcpLine line;
        const auto protocol
            = options->rfc2217 ? TcpLine::Protocol::ComPort : TcpLine::Protocol::Raw;
        if (const ornis::Status opened
            = line.listen(*options->listenPort, protocol, options->fixedBaud);
            !opened.ok()) {
            std::fprintf(stderr, "ornisset-sim: %s\n", opened.message().c_str());
            return 1;
        }
        std::printf("%s\n", line.address().c_str());
        std::fflush(stdout);
        return server.run(line);
    }
    PtyLine line;
    if (const ornis::Status opened = line.open(); !opened.ok()) {
        std::fprintf(stderr, "ornisset-sim: %s\n", opened.message().c_str());
        return 1;
    }
    std::printf("%s\n", line.slavePath().c_str());
    std::fflush(stdout);
    return server.run(line);
}
