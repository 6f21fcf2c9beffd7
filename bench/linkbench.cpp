// ornisset-bench: how fast the exchange link runs over a pseudo-terminal and over loopback
// TCP against ornisset-sim. Prints figures; it is no test and asserts nothing.
//
//   unpaced: round trips per second of the engine through the QSerialPort adapter, side by
//            side with a bare QSerialPort echo loop in the same run (goal: the engine
//            costs at most 1.5x the bare loop); the same through the network adapter over
//            raw TCP beside a bare QTcpSocket loop, with and without the line trace (goal:
//            the trace costs nothing measurable);
//   paced:   transfers against a sim answering at 2400 baud, against the line's own limit
//            of 2 bytes of 10 bits per round trip (goal: within 1%).

#include "config/FactoryDefaults.h"
#include "link/LocalClock.h"
#include "link/TransferEngine.h"
#include "link/TransferObserver.h"
#include "qtlink/AddressedPort.h"
#include "qtlink/QtSerialPort.h"
#include "qtlink/TraceFile.h"
#include "qtlink/TracingPort.h"
#include "sim/DemoConfiguration.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSerialPort>
#include <QStringList>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <memory>

using namespace ornis;

namespace {

constexpr int PacedBaud = 2400;
constexpr double RoundTripBits = 2 * 10;

struct Options
{
    bool quick = false; // short unpaced runs and the paced settings transfers only
    bool paced = true;
    bool unpaced = true;
    int roundTrips = 20'000; // per unpaced measurement
    int repeats = 3; // unpaced measurements alternate; the best of each counts
    QString sim = QStringLiteral(ORNISSET_SIM);
};

// ornisset-sim in its own process, so that both ends of the line have a core.
class Sim
{
public:
    explicit Sim(const QString &program, const QStringList &arguments)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(program, arguments);
        QEventLoop loop;
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, &loop, [&] {
            if (process_.canReadLine())
                loop.quit();
        });
        QObject::connect(&process_, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process_, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QTimer::singleShot(10'000, &loop, &QEventLoop::quit);
        if (!process_.canReadLine())
            loop.exec();
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~Sim()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
    }
    [[nodiscard]] const QString &path() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

class NoClock final : public LocalClock
{
public:
    LocalDateTime now() const override { return {2024, 1, 1, 12, 0, 0}; }
};

// Ends the event loop when the transfer is over.
class IdleWatcher final : public TransferObserver
{
public:
    void transferModeChanged(TransferMode mode) override
    {
        if (mode == TransferMode::Idle && loop)
            loop->quit();
    }
    void transferFailed(const std::string &message) override { error = message; }
    QEventLoop *loop = nullptr;
    std::string error;
};

// Counts the round trips: in lock-step every byte sent is answered by one byte.
class CountingPort final : public LinkPort
{
public:
    explicit CountingPort(LinkPort &port)
        : port_(port)
    {
    }
    Status sendByte(uint8_t byte) override
    {
        ++sent;
        if (sendTimes)
            sendTimes->push_back(clock_.nsecsElapsed());
        return port_.sendByte(byte);
    }
    std::optional<uint8_t> readByte() override { return port_.readByte(); }
    std::size_t bytesAvailable() const override { return port_.bytesAvailable(); }
    Status flushInput() override { return port_.flushInput(); }
    Status flushOutput() override { return port_.flushOutput(); }
    void startAnswerTimer(int ticks) override { port_.startAnswerTimer(ticks); }
    void stopAnswerTimer() override { port_.stopAnswerTimer(); }
    std::string name() const override { return port_.name(); }

    long long sent = 0;
    std::vector<int64_t> *sendTimes = nullptr; // recorded there when set

private:
    LinkPort &port_;
    QElapsedTimer clock_ = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
};

struct Run
{
    long long roundTrips = 0;
    double seconds = 0;
    bool ok = true;
    std::vector<int64_t> sendTimesNs; // paced runs only: when each request went out

    [[nodiscard]] double rate() const { return seconds > 0 ? roundTrips / seconds : 0; }
    // The typical round trip, from one request to the next: what a transfer costs when
    // nothing else on the machine gets in the way.
    [[nodiscard]] double medianRoundTripSeconds() const
    {
        std::vector<int64_t> gaps;
        for (std::size_t i = 1; i < sendTimesNs.size(); ++i)
            gaps.push_back(sendTimesNs[i] - sendTimesNs[i - 1]);
        if (gaps.empty())
            return 0;
        std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
        return gaps[gaps.size() / 2] / 1e9;
    }
};

// The engine through the adapter of `port` (a device path or a network address), running
// `modes` one after the other until at least `minimum` round trips are done (once, when
// `minimum` is 0). With `traceFile`, every byte is recorded there.
class EngineBench
{
public:
    explicit EngineBench(const QString &port, const QString &traceFile = QString())
        : config_(demoConfiguration())
        , counting_(port_)
        , engine_(config_, counting_, clock_, watcher_)
    {
        port_.setInner(&line_);
        connectPortToEngine(port_, engine_);
        if (!traceFile.isEmpty()) {
            Status status = Status::success();
            std::unique_ptr<TraceFile> trace = TraceFile::single(traceFile, status);
            if (trace)
                port_.startTrace(std::move(trace), engine_);
        }
        const Status opened = line_.open(port);
        if (!opened.ok())
            std::fprintf(
                stderr, "cannot open %s: %s\n", qPrintable(port), opened.message().c_str());
    }

    Run run(std::initializer_list<TransferMode> modes, long long minimum = 0,
        bool timeEachRoundTrip = false)
    {
        Run result;
        counting_.sendTimes = timeEachRoundTrip ? &result.sendTimesNs : nullptr;
        const long long start = counting_.sent;
        QElapsedTimer elapsed;
        elapsed.start();
        do {
            for (TransferMode mode : modes) {
                if (!transfer(mode)) {
                    result.ok = false;
                    return result;
                }
            }
        } while (counting_.sent - start < minimum);
        result.seconds = elapsed.nsecsElapsed() / 1e9;
        result.roundTrips = counting_.sent - start;
        counting_.sendTimes = nullptr;
        return result;
    }

private:
    bool transfer(TransferMode mode)
    {
        QEventLoop loop;
        watcher_.loop = &loop;
        watcher_.error.clear();
        if (engine_.startTransfer(mode))
            loop.exec();
        watcher_.loop = nullptr;
        if (!watcher_.error.empty() || !engine_.isIdle()) {
            std::fprintf(stderr, "transfer %d failed: %s\n", int(mode), watcher_.error.c_str());
            return false;
        }
        return true;
    }

    ExchangeConfig config_;
    NoClock clock_;
    IdleWatcher watcher_;
    AddressedPort line_;
    TracingPort port_;
    CountingPort counting_;
    TransferEngine engine_;
};

// Sends 'S' and waits for its echo, `roundTrips` times, on an open device (a QSerialPort
// or a QTcpSocket); each byte goes out at once, as the adapters send.
template<typename Device> Run echoLoop(Device &device, int roundTrips, bool timeEachRoundTrip)
{
    Run result;
    QElapsedTimer elapsed;
    const auto send = [&] {
        if (timeEachRoundTrip)
            result.sendTimesNs.push_back(elapsed.nsecsElapsed());
        device.write("S", 1);
        device.flush();
    };
    QEventLoop loop;
    int done = 0;
    QObject::connect(&device, &QIODevice::readyRead, &loop, [&] {
        done += int(device.readAll().size());
        if (done >= roundTrips)
            loop.quit();
        else
            send();
    });
    elapsed.start();
    send();
    loop.exec();
    result.seconds = elapsed.nsecsElapsed() / 1e9;
    result.roundTrips = done;
    return result;
}

// The cheapest lock-step loop QSerialPort allows: send 'S', wait for its echo, again.
Run bareEchoLoop(const QString &path, int roundTrips, bool timeEachRoundTrip = false)
{
    QSerialPort serial(path);
    serial.setBaudRate(QtSerialPort::Baud);
    if (!serial.open(QIODevice::ReadWrite))
        return Run {0, 0, false, {}};
    serial.clear(QSerialPort::Input);
    return echoLoop(serial, roundTrips, timeEachRoundTrip);
}

// The same loop on a bare QTcpSocket, with the socket options of the network adapter.
Run bareTcpLoop(const QString &address, int roundTrips)
{
    const QUrl url(address);
    QTcpSocket socket;
    QEventLoop loop;
    QObject::connect(&socket, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    socket.connectToHost(url.host(), quint16(url.port()));
    loop.exec();
    if (socket.state() != QAbstractSocket::ConnectedState)
        return Run {0, 0, false, {}};
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return echoLoop(socket, roundTrips, false);
}

// What recording one byte costs, without any line: the figure that the noise of a shared
// machine cannot hide.
double traceNanosecondsPerByte()
{
    class NullSink final : public TraceSink
    {
    public:
        void write(std::string_view text) override { written += text.size(); }
        std::size_t written = 0;
    };
    ExchangeConfig config;
    NoClock clock;
    IdleWatcher watcher;
    AddressedPort port;
    TransferEngine engine(config, port, clock, watcher);
    auto sink = std::make_unique<NullSink>();
    LineTrace trace(std::move(sink), port, &engine);
    constexpr int Bytes = 1'000'000;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < Bytes; ++i)
        (i % 2 ? trace.received(uint8_t(i)) : trace.sent(uint8_t(i)));
    return double(elapsed.nsecsElapsed()) / Bytes;
}

void unpacedTcp(const Options &options)
{
    Sim sim(options.sim, {QStringLiteral("--listen"), QStringLiteral("0")});
    if (sim.path().isEmpty()) {
        std::fprintf(stderr, "ornisset-sim --listen did not start\n");
        return;
    }
    QTemporaryDir dir;
    const QString traceFile = dir.filePath(QStringLiteral("trace.txt"));
    const std::initializer_list<TransferMode> modes {
        TransferMode::SettingsWrite, TransferMode::SettingsRead};
    Run bare;
    Run plain;
    Run traced;
    const auto faster = [](const Run &x, const Run &y) { return x.rate() < y.rate(); };
    for (int i = 0; i < options.repeats; ++i) {
        const Run b = bareTcpLoop(sim.path(), options.roundTrips);
        const Run p = EngineBench(sim.path()).run(modes, options.roundTrips);
        const Run t = EngineBench(sim.path(), traceFile).run(modes, options.roundTrips);
        if (!b.ok || !p.ok || !t.ok)
            return;
        bare = std::max(bare, b, faster);
        plain = std::max(plain, p, faster);
        traced = std::max(traced, t, faster);
    }
    std::printf("Unpaced, over loopback TCP, ornisset-sim --listen answering at once (best of "
                "%d):\n",
        options.repeats);
    std::printf("  bare QTcpSocket echo loop           %8.0f round trips/s\n", bare.rate());
    std::printf("  engine over tcp://, settings w + r  %8.0f round trips/s   cost %.2fx the "
                "bare loop\n",
        plain.rate(), bare.rate() / plain.rate());
    std::printf("  the same with the line trace        %8.0f round trips/s   cost %.2fx the "
                "bare loop (goal: as without)\n",
        traced.rate(), bare.rate() / traced.rate());
    std::printf("  the line trace alone                %8.0f ns a byte, %.1f%% of a round trip "
                "above\n",
        traceNanosecondsPerByte(), 2 * traceNanosecondsPerByte() * plain.rate() / 1e7);
}

void unpaced(const Options &options)
{
    Sim sim(options.sim, {});
    if (sim.path().isEmpty()) {
        std::fprintf(stderr, "ornisset-sim did not start\n");
        return;
    }
    Run bare;
    Run settings;
    Run chain;
    for (int i = 0; i < options.repeats; ++i) {
        const Run b = bareEchoLoop(sim.path(), options.roundTrips);
        EngineBench engine(sim.path());
        const Run s = engine.run(
            {TransferMode::SettingsWrite, TransferMode::SettingsRead}, options.roundTrips);
        const Run c
            = engine.run({TransferMode::AllWrite, TransferMode::AllRead}, options.roundTrips);
        if (!b.ok || !s.ok || !c.ok)
            return;
        const auto slower = [](const Run &x, const Run &y) { return x.rate() < y.rate(); };
        bare = std::max(bare, b, slower);
        settings = std::max(settings, s, slower);
        chain = std::max(chain, c, slower);
    }
    std::printf(
        "Unpaced, over a pty, ornisset-sim answering at once (best of %d):\n", options.repeats);
    std::printf("  bare QSerialPort echo loop          %8.0f round trips/s\n", bare.rate());
    std::printf("  engine, settings write + read       %8.0f round trips/s   cost %.2fx the "
                "bare loop (goal <= 1.5x)\n",
        settings.rate(), bare.rate() / settings.rate());
    std::printf("  engine, whole chain write + read    %8.0f round trips/s   cost %.2fx the "
                "bare loop (goal <= 1.5x)\n",
        chain.rate(), bare.rate() / chain.rate());
}

void printPaced(
    const char *what, const Run &run, long long expectedRoundTrips, bool reference = false)
{
    const double limit = run.roundTrips * RoundTripBits / PacedBaud;
    const double median = run.medianRoundTripSeconds();
    std::printf("  %-27s %5lld%s %8.3f s %8.3f s %8.4f %9.3f ms %8.4f%s\n", what, run.roundTrips,
        expectedRoundTrips && run.roundTrips != expectedRoundTrips ? "(!)" : "   ", run.seconds,
        limit, run.seconds / limit, median * 1e3, median / (RoundTripBits / PacedBaud),
        reference ? "   (reference)" : "");
    std::fflush(stdout);
}

void pacedLine(EngineBench &engine, const char *what, std::initializer_list<TransferMode> modes,
    long long expectedRoundTrips)
{
    const Run run = engine.run(modes, 0, true);
    if (run.ok)
        printPaced(what, run, expectedRoundTrips);
}

void paced(const Options &options)
{
    Sim sim(options.sim, {QStringLiteral("--baud"), QString::number(PacedBaud)});
    if (sim.path().isEmpty()) {
        std::fprintf(stderr, "ornisset-sim did not start\n");
        return;
    }
    std::printf("Paced: ornisset-sim answering at %d baud, 10 bits a byte; the line's limit is "
                "%.3f ms a round trip (goal: within 1%%)\n",
        PacedBaud, RoundTripBits / PacedBaud * 1e3);
    std::printf("  %-27s %8s %10s %10s %8s %12s %8s\n", "transfer", "trips", "took", "limit",
        "ratio", "median trip", "ratio");
    std::fflush(stdout);
    // The same number of round trips as the settings write, for what the line and the
    // machine cost without the engine.
    if (const Run bare = bareEchoLoop(sim.path(), 230, true); bare.ok)
        printPaced("bare QSerialPort echo loop", bare, 0, true);
    EngineBench engine(sim.path());
    pacedLine(engine, "settings write (3, 5)", {TransferMode::SettingsWrite}, 0);
    pacedLine(engine, "settings read (4, 6)", {TransferMode::SettingsRead}, 0);
    if (options.quick)
        return;
    pacedLine(engine, "whole read MIRA (14..12)", {TransferMode::AllRead}, 1976);
    pacedLine(engine, "whole write MIRA (13..11)", {TransferMode::AllWrite}, 3826);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    const QStringList arguments = app.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == "--quick") {
            options.quick = true;
            options.roundTrips = 5'000;
        } else if (arg == "--paced-only") {
            options.unpaced = false;
        } else if (arg == "--unpaced-only") {
            options.paced = false;
        } else if (arg == "--rounds" && i + 1 < arguments.size()) {
            options.roundTrips = std::max(100, arguments[++i].toInt());
        } else if (arg == "--sim" && i + 1 < arguments.size()) {
            options.sim = arguments[++i];
        } else {
            std::fputs("usage: ornisset-bench [--quick] [--paced-only | --unpaced-only]\n"
                       "                      [--rounds N] [--sim PATH]\n"
                       "  --quick   short unpaced runs; paced: the settings transfers only\n"
                       "            (the whole MIRA read and write take about 50 s)\n",
                stderr);
            return 2;
        }
    }
    if (options.unpaced) {
        unpaced(options);
        unpacedTcp(options);
    }
    if (options.paced)
        paced(options);
    return 0;
}
