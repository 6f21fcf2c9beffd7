// ornisset-windowbench: what the window costs. First its start: the program's window
// against a bare Qt window of the same shape (menu bar, tool bar, five tabs, status bar),
// each started in a process of its own, the time from creating the window to its first
// paint and the process's peak memory. Then a read: the same read runs through the engine
// alone and through the whole window (offscreen platform), against a virtual exchange in
// process that answers at once; the window is measured hidden (the views follow, nothing
// paints) and shown (it paints at the pace of the screen). Prints figures with their
// ratios; it is no test and asserts nothing.
//
//   ornisset-windowbench [rounds]   best of `rounds` samples each (default 50); on a busy
//                                   machine more rounds give steadier figures
//   ornisset-windowbench --start window|bare   one start, printed as "<ms> <peak KiB>"

#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "sim/DemoConfiguration.h"
#include "sim/Preload.h"
#include "tests/support/WindowFixture.h"

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
#include <sys/resource.h>
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

// Signals the first paint of the window it watches.
class FirstPaint final : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
    bool painted = false;
};

// One start in this process: the time from creating the window to its first paint, and
// the process's peak resident memory.
int startOnce(const QString &which)
{
    QElapsedTimer elapsed;
    elapsed.start();
    WindowFixture fixture;
    std::unique_ptr<QMainWindow> window;
    if (which == QLatin1String("window"))
        window = fixture.makeWindow(false);
    else
        window = bareWindow();
    FirstPaint paint;
    window->installEventFilter(&paint);
    window->show();
    while (!paint.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double ms = elapsed.nsecsElapsed() / 1e6;
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.3f %ld\n", ms, usage.ru_maxrss);
    return 0;
}

struct StartFigures
{
    double ms = 1e9;
    long peakKiB = 0;
};

// The best of `rounds` starts, each in a process of its own.
StartFigures measureStart(const QString &program, const QString &which, int rounds)
{
    StartFigures best;
    best.peakKiB = LONG_MAX;
    for (int i = 0; i < rounds; ++i) {
        QProcess child;
        child.start(program, {QStringLiteral("--start"), which});
        if (!child.waitForFinished(60000))
            continue;
        const QStringList figures
            = QString::fromLocal8Bit(child.readAllStandardOutput()).split(u' ');
        if (figures.size() != 2)
            continue;
        best.ms = std::min(best.ms, figures[0].toDouble());
        best.peakKiB = std::min(best.peakKiB, figures[1].trimmed().toLong());
    }
    return best;
}

void printStart(int rounds, const QString &program)
{
    const StartFigures bare = measureStart(program, QStringLiteral("bare"), rounds);
    const StartFigures window = measureStart(program, QStringLiteral("window"), rounds);
    std::printf("Start to the first paint, best of %d processes each.\n"
                "Goal: at most 2x the time and 1.3x the peak memory of a bare Qt window.\n",
        rounds);
    std::printf("    %-30s %9.3f ms %7.2fx %9.1f MB %6.2fx\n", "bare Qt window", bare.ms, 1.0,
        bare.peakKiB / 1024.0, 1.0);
    std::printf("    %-30s %9.3f ms %7.2fx %9.1f MB %6.2fx\n", "program window", window.ms,
        window.ms / bare.ms, window.peakKiB / 1024.0, double(window.peakKiB) / bare.peakKiB);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 2 && QLatin1String(argv[1]) == QLatin1String("--start"))
        return startOnce(QString::fromLocal8Bit(argv[2]));
    const int rounds
        = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : DefaultRounds;
    printStart(std::max(1, rounds / 5), QCoreApplication::applicationFilePath());

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
