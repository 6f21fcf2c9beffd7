// ornisset-windowbench: what the window's views cost while a read arrives. The same read
// runs through the engine alone and through the whole window (every page built, offscreen
// platform), all against a virtual exchange in process that answers at once; the views'
// live refresh should cost at most 1.25x the engine alone. The window is measured hidden
// (the views refresh, nothing paints) and shown (it also paints after every answer, which
// an exchange answering at once asks some thousand times a second). Prints figures; it is
// no test and asserts nothing.
//
//   ornisset-windowbench [rounds]   best of `rounds` samples each (default 50); on a busy
//                                   machine more rounds give steadier figures

#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "sim/DemoConfiguration.h"
#include "sim/Preload.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace ornis;

namespace {

constexpr int DefaultRounds = 50;

// Ends the event loop when the engine is idle again.
class IdleWatcher final : public TransferObserver
{
public:
    void transferModeChanged(TransferMode mode) override
    {
        if (mode == TransferMode::Idle && loop)
            loop->quit();
    }
    QEventLoop *loop = nullptr;
};

// The best time of one read of each of `reads`, in seconds, over `rounds` rounds of
// `repeats` reads each. The reads take turns, so that a busy machine slows them alike.
std::vector<double> bestOf(
    int rounds, int repeats, const std::vector<std::function<void()>> &reads)
{
    std::vector<double> best(reads.size(), 1e9);
    for (int i = 0; i < rounds; ++i) {
        for (std::size_t r = 0; r < reads.size(); ++r) {
            QElapsedTimer elapsed;
            elapsed.start();
            for (int k = 0; k < repeats; ++k)
                reads[r]();
            best[r] = std::min(best[r], elapsed.nsecsElapsed() / 1e9 / repeats);
        }
    }
    return best;
}

// The engine with nothing but an observer that waits for the end.
class EngineAlone
{
public:
    EngineAlone()
        : config_(factoryConfig())
        , engine_(config_, port_, clock_, watcher_)
    {
        port_.open = true;
        (void)sim::writeIntoExchange(demoConfiguration(), port_.exchange);
        connectPortToEngine(port_, engine_);
    }

    void read(TransferMode mode)
    {
        QEventLoop loop;
        watcher_.loop = &loop;
        if (engine_.startTransfer(mode))
            loop.exec();
        watcher_.loop = nullptr;
    }

private:
    ExchangeConfig config_;
    InstantExchangePort port_;
    FixedClock clock_;
    IdleWatcher watcher_;
    TransferEngine engine_;
};

// The program's window reading from the page in view. Hidden, it refreshes its views as
// the values arrive but paints nothing; shown, it also paints after every answer, which a
// real line leaves 8 ms for.
class WholeWindow
{
public:
    explicit WholeWindow(bool shown)
    {
        (void)sim::writeIntoExchange(demoConfiguration(), fixture_.ports.exchangePort().exchange);
        if (shown)
            window_->show();
    }

    void read(int page)
    {
        window_->findChild<QTabWidget *>(QStringLiteral("pcMain"))->setCurrentIndex(page);
        QEventLoop loop;
        QAction *stop = window_->actions().acStop;
        const auto connection
            = QObject::connect(stop, &QAction::enabledChanged, &loop, [&loop](bool on) {
                  if (!on)
                      loop.quit();
              });
        window_->actions().acReceive->trigger();
        if (!window_->engine().isIdle())
            loop.exec();
        QObject::disconnect(connection);
    }

private:
    WindowFixture fixture_;
    std::unique_ptr<TMainForm> window_ = fixture_.makeWindow();
};

void printRow(const char *what, double seconds, double engine)
{
    std::printf("    %-30s %9.3f ms %7.2fx\n", what, seconds * 1e3, seconds / engine);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds
        = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : DefaultRounds;

    EngineAlone engine;
    WholeWindow hidden(false);
    WholeWindow shown(true);
    std::printf("Reads against an in-process exchange answering at once, best of %d.\n"
                "Goal: the window refreshing its views costs at most 1.25x the engine alone.\n",
        rounds);
    struct Row
    {
        const char *what;
        int page;
        TransferMode mode;
        int repeats; // reads a sample, some milliseconds of them
    };
    const Row rows[] = {
        {"whole configuration, from page Konfigurace", 0, TransferMode::AllRead, 2},
        {"settings, page Nastavení in view", 1, TransferMode::SettingsRead, 20},
    };
    for (const Row &row : rows) {
        const std::vector<double> best = bestOf(rounds, row.repeats,
            {
                [&] { engine.read(row.mode); },
                [&] { hidden.read(row.page); },
                [&] { shown.read(row.page); },
            });
        std::printf("  %s\n", row.what);
        printRow("engine alone", best[0], best[0]);
        printRow("window, views refreshed", best[1], best[0]);
        printRow("window, also painted", best[2], best[0]);
    }
    return 0;
}
