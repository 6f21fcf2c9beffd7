// ornisset-windowbench: what the window costs. First its start: the program itself
// (ornisset --demo: its port listing, preferences and translator included) against a bare Qt
// window of the same shape (menu bar, tool bar, five tabs, status bar), each started in a
// process of its own, the time from the process's start to the window's first paint and the
// process's peak memory. Then a read: the same read runs through the engine
// alone and through the whole window (offscreen platform), against a virtual exchange in
// process that answers at once; the window is measured hidden (the views follow, nothing
// paints) and shown (it paints at the pace of the screen). Prints figures with their
// ratios; it is no test and asserts nothing.
//
//   ornisset-windowbench [rounds]   best of `rounds` samples each (default 50); on a busy
//                                   machine more rounds give steadier figures
//   ornisset-windowbench --start-bare   one start of the bare window, printed as FirstPaint
//                                       prints it

#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "sim/DemoConfiguration.h"
#include "sim/Preload.h"
#include "tests/support/WindowFixture.h"
#include "ui/FirstPaint.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <algorithm>
#include <climits>
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
// the values arrive but paints nothing; shown, it also paints what changed, at most once a
// frame, as it would on a screen.
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
        window_->actions().acReceive->trigger();
        // Every answer of the exchange is an event: the engine is looked at after each.
        while (!window_->engine().isIdle())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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

// A plain Qt window of the program window's shape: a menu, a tool bar, five tabs of empty
// pages and a status bar.
std::unique_ptr<QMainWindow> bareWindow()
{
    auto window = std::make_unique<QMainWindow>();
    QMenu *file = window->menuBar()->addMenu(QStringLiteral("&Soubor"));
    for (const char *item :
        {"&Otevřít...", "Uložit", "Uložit &jako...", "Tisknout...", "U&končit"})
        window->addAction(file->addAction(QString::fromUtf8(item)));
    window->menuBar()
        ->addMenu(QStringLiteral("&Nápověda"))
        ->addAction(QStringLiteral("O &aplikaci..."));
    QToolBar *tools = window->addToolBar(QStringLiteral("Nástroje"));
    for (const QString &icon : {QStringLiteral("document-open"), QStringLiteral("document-save"),
             QStringLiteral("document-print"), QStringLiteral("process-stop"),
             QStringLiteral("help-about")})
        tools->addAction(QIcon::fromTheme(icon), icon);
    auto *tabs = new QTabWidget;
    for (const char *caption : {"Konfigurace", "Nastavení", "Služby", "Zkrácené volby", "PE"})
        tabs->addTab(new QWidget, QString::fromUtf8(caption));
    window->setCentralWidget(tabs);
    window->statusBar()->addWidget(new QLabel(QStringLiteral("Připraveno")), 1);
    window->setFixedSize(603, 470 + window->menuBar()->sizeHint().height());
    return window;
}

// One start of a bare window in this process, from the process's start to the first
// paint; FirstPaint prints the clock and quits.
int startBare()
{
    std::unique_ptr<QMainWindow> window = bareWindow();
    new FirstPaint(*window);
    window->show();
    return QApplication::exec();
}

struct StartFigures
{
    double ms = 1e9;
    long peakKiB = LONG_MAX;
};

// The best of `rounds` starts of `program`, each from the moment before the process is
// started to the first paint of its window, as the process reads the same clock.
StartFigures measureStart(const QString &program, const QStringList &arguments, int rounds)
{
    StartFigures best;
    for (int i = 0; i < rounds; ++i) {
        QProcess child;
        const long long started = monotonicNanoseconds();
        child.start(program, arguments);
        if (!child.waitForFinished(60000))
            continue;
        const QStringList figures
            = QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed().split(u' ');
        if (figures.size() != 2)
            continue;
        best.ms = std::min(best.ms, (figures[0].toLongLong() - started) / 1e6);
        best.peakKiB = std::min(best.peakKiB, figures[1].toLong());
    }
    return best;
}

void printStart(int rounds)
{
    const StartFigures bare = measureStart(
        QCoreApplication::applicationFilePath(), {QStringLiteral("--start-bare")}, rounds);
    const StartFigures program = measureStart(QStringLiteral(ORNISSET_APP),
        {QStringLiteral("--demo"), QStringLiteral("--print-first-paint")}, rounds);
    std::printf("Start, from the process's start to the window's first paint, best of %d "
                "processes each.\n"
                "Goal: at most 2x the time and 1.3x the peak memory of a bare Qt window.\n",
        rounds);
    const auto row = [&bare](const char *what, const StartFigures &figures) {
        std::printf("    %-30s %9.3f ms %7.2fx %9.1f MB %6.2fx\n", what, figures.ms,
            figures.ms / bare.ms, figures.peakKiB / 1024.0,
            double(figures.peakKiB) / bare.peakKiB);
    };
    row("bare Qt window", bare);
    row("ornisset --demo", program);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("--start-bare"))
        return startBare();
    const int rounds
        = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : DefaultRounds;
    printStart(std::max(1, rounds / 5));

    EngineAlone engine;
    WholeWindow hidden(false);
    WholeWindow shown(true);
    std::printf("Reads against an in-process exchange answering at once, best of %d.\n"
                "Goal: the window, also painted, costs at most 1.5x the engine alone.\n",
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
