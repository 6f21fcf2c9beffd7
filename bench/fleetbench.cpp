// ornisset-fleetbench: one `ornisset-cli backup` reading K virtual exchanges at once, each
// on its own line at 2400 baud, all served by one ornisset-sim --lines K. Prints, for each
// K, the backup's total time against one site alone, its CPU time per site and per round
// trip (the virtual exchanges' too), and its peak memory. Goals: 200 sites within 1.1x and
// 1000 within 1.5x of one site's time, at most 1 ms of the backup's CPU a site for the
// settings block. It is no test and asserts nothing.
//
//   ornisset-fleetbench [--sizes 1,10,50,200,500,1000] [--baud N] [--block B] [--jobs N]

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

struct Options
{
    std::vector<int> sizes {1, 10, 50, 200, 500, 1000};
    std::string baud = "2400";
    std::string block = "all";
    std::string jobs; // empty: the backup's default
};

struct Run
{
    int sites = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKb = 0;
    double simCpuSeconds = 0; // the virtual exchanges', for a check that they kept up
    int exitCode = -1;
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        const std::string value = argv[i + 1];
        if (arg == "--sizes") {
            options.sizes.clear();
            for (std::size_t at = 0; at < value.size();) {
                const std::size_t comma = value.find(',', at);
                const int size = std::atoi(value.substr(at, comma - at).c_str());
                if (size <= 0)
                    return std::nullopt;
                options.sizes.push_back(size);
                at = comma == std::string::npos ? value.size() : comma + 1;
            }
        } else if (arg == "--baud") {
            options.baud = value;
        } else if (arg == "--block") {
            options.block = value;
        } else if (arg == "--jobs") {
            options.jobs = value;
        } else {
            return std::nullopt;
        }
    }
    if (argc % 2 == 0 || options.sizes.empty())
        return std::nullopt;
    return options;
}

pid_t spawn(const std::vector<std::string> &arguments, int out, int err)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// ornisset-sim serving `sites` lines; their device paths.
std::vector<std::string> startSim(const Options &options, int sites, pid_t &pid)
{
    int pipe[2];
    if (::pipe(pipe) != 0)
        return {};
    pid = spawn({ORNISSET_SIM, "--lines", std::to_string(sites), "--baud", options.baud}, pipe[1],
        STDERR_FILENO);
    ::close(pipe[1]);
    std::vector<std::string> paths;
    FILE *out = ::fdopen(pipe[0], "r");
    char line[256];
    while (pid > 0 && int(paths.size()) < sites && std::fgets(line, sizeof line, out)) {
        std::string path = line;
        while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
            path.pop_back();
        paths.push_back(path);
    }
    std::fclose(out);
    return paths;
}

double cpuSeconds(const rusage &usage)
{
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One backup of `sites` sites; `extra` goes to ornisset-cli as it is.
Run backup(const Options &options, const std::string &folder, int sites,
    const std::vector<std::string> &extra = {})
{
    Run run;
    run.sites = sites;
    pid_t sim = -1;
    const std::vector<std::string> paths = startSim(options, sites, sim);
    if (int(paths.size()) != sites) {
        std::fprintf(stderr, "ornisset-sim gave %zu of %d lines\n", paths.size(), sites);
        return run;
    }
    const std::string list = folder + "/sites-" + std::to_string(sites) + ".csv";
    if (FILE *file = std::fopen(list.c_str(), "w")) {
        std::fprintf(file, "name,port\n");
        for (int i = 0; i < sites; ++i)
            std::fprintf(file, "site %03d,%s\n", i + 1, paths[std::size_t(i)].c_str());
        std::fclose(file);
    }
    std::vector<std::string> arguments {ORNISSET_CLI, "backup", "--sites", list, "--dir",
        folder + "/backups-" + std::to_string(sites) + "-" + std::to_string(extra.size()),
        "--block", options.block};
    if (!options.jobs.empty())
        arguments.insert(arguments.end(), {"--jobs", options.jobs});
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const int quiet = ::open("/dev/null", O_WRONLY);
    const auto start = std::chrono::steady_clock::now();
    const pid_t cli = spawn(arguments, quiet, quiet);
    int status = 0;
    rusage usage {};
    if (cli > 0 && ::wait4(cli, &status, 0, &usage) == cli) {
        const auto end = std::chrono::steady_clock::now();
        run.seconds = std::chrono::duration<double>(end - start).count();
        run.cpuSeconds = cpuSeconds(usage);
        run.peakKb = usage.ru_maxrss;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(quiet);
    ::kill(sim, SIGTERM);
    if (::wait4(sim, &status, 0, &usage) == sim)
        run.simCpuSeconds = cpuSeconds(usage);
    return run;
}

// The round trips of one site's backup: the bytes it sent, as its line trace records them.
long roundTripsOfASite(const Options &options, const std::string &folder)
{
    const std::string traces = folder + "/traces";
    if (backup(options, folder, 1, {"--trace-dir", traces}).exitCode != 0)
        return 0;
    FILE *trace = std::fopen((traces + "/site 001.trace").c_str(), "r");
    long sent = 0;
    char line[512];
    while (trace && std::fgets(line, sizeof line, trace))
        sent += std::strstr(line, " TX ") != nullptr;
    if (trace)
        std::fclose(trace);
    return sent;
}

double loadAverage()
{
    double load = 0;
    return ::getloadavg(&load, 1) == 1 ? load : -1;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fputs(
            "usage: ornisset-fleetbench [--sizes 1,10,50,200,500,1000] [--baud N] [--block B] "
            "[--jobs N]\n",
            stderr);
        return 2;
    }
    char folder[] = "/tmp/ornisset-fleetbench-XXXXXX";
    if (!::mkdtemp(folder)) {
        std::perror("mkdtemp");
        return 1;
    }
    const long trips = roundTripsOfASite(*options, folder);
    std::printf("fleet backup, block %s at %s baud (%ld round trips a site), one ornisset-sim "
                "serving every line; load average %.2f\n",
        options->block.c_str(), options->baud.c_str(), trips, loadAverage());
    std::printf("%6s %9s %8s %12s %11s %9s %15s %11s %5s\n", "sites", "total s", "vs one",
        "CPU ms/site", "CPU us/trip", "peak MiB", "KiB/added site", "sim us/trip", "exit");
    std::optional<Run> one;
    for (const int sites : options->sizes) {
        const Run run = backup(*options, folder, sites);
        if (!one)
            one = run;
        const double ratio = one->seconds > 0 ? run.seconds / one->seconds : 0;
        const double added = sites > one->sites
            ? double(run.peakKb - one->peakKb) / double(sites - one->sites)
            : 0;
        const double allTrips = double(std::max(trips, 1L)) * sites;
        std::printf("%6d %9.2f %7.3fx %12.2f %11.1f %9.1f %15.1f %11.1f %5d\n", sites, run.seconds,
            ratio, run.cpuSeconds * 1000 / sites, run.cpuSeconds * 1e6 / allTrips,
            double(run.peakKb) / 1024, added, run.simCpuSeconds * 1e6 / allTrips, run.exitCode);
        std::fflush(stdout);
    }
    std::printf("load average %.2f at the end; goals: 200 sites within 1.1x and 1000 within 1.5x "
                "of one site's time, at most 1 ms of CPU a site (settings block)\n",
        loadAverage());
    const std::string clean = std::string("rm -rf '") + folder + "'";
    return std::system(clean.c_str()) == 0 ? 0 : 1;
}
