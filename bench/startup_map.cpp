// Start-up of TamCal against the floor program, as a person sees it: from
// starting the process to the X server mapping its window, and the memory the
// process tree holds 2 s later (PSS from /proc/PID/smaps_rollup). The two run
// in turn, one warm-up each and then kRuns each; prints medians and ratios.
// Needs an X display (Xvfb) without a window manager; bench/startup.sh sets one up.
//
// Usage: bench_startup_map FLOOR TAMCAL
// TamCal is copied beside the ten-year profile and started from there, with
// placement settings of its own, so every run starts alike.

#include "tenyearprofile.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kRuns = 7;
constexpr auto kSettle = std::chrono::seconds(2);
constexpr int kMapTimeoutMs = 20000;

using Clock = std::chrono::steady_clock;

struct Sample
{
    double mapMs = -1;
    double cpuMs = 0; // on a processor until the map, all threads
    double pssMiB = 0;
    double rssMiB = 0;
};

// Children of every process, from /proc/*/stat.
std::vector<pid_t> childrenOf(pid_t parent)
{
    std::vector<pid_t> children;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // pid (comm) state ppid ...; comm may hold blanks and parentheses.
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(line.substr(close + 1));
        std::string state;
        pid_t ppid = 0;
        rest >> state >> ppid;
        if (ppid == parent)
            children.push_back(static_cast<pid_t>(std::stol(name)));
    }
    return children;
}

std::vector<pid_t> processTree(pid_t root)
{
    std::vector<pid_t> tree{root};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        for (pid_t child : childrenOf(tree[i]))
            tree.push_back(child);
    }
    return tree;
}

// The "Pss:" and "Rss:" lines of smaps_rollup, in kB.
void addMemory(pid_t pid, Sample &sample)
{
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line)) {
        std::istringstream fields(line);
        std::string key;
        long kB = 0;
        if (!(fields >> key >> kB))
            continue;
        if (key == "Pss:")
            sample.pssMiB += static_cast<double>(kB) / 1024;
        else if (key == "Rss:")
            sample.rssMiB += static_cast<double>(kB) / 1024;
    }
}

// Time on a processor of every thread of the process, from the scheduler's
// statistics: the part of the start that a busy machine doesn't stretch.
double cpuMilliseconds(pid_t pid)
{
    double total = 0;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double runNs = 0;
        if (schedstat >> runNs)
            total += runNs / 1e6;
    }
    return total;
}

// Waits for the first MapNotify on the root window; false on timeout.
bool waitForMap(xcb_connection_t *connection, Clock::time_point deadline)
{
    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            const bool isMap = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (isMap)
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || ::poll(&watch, 1, static_cast<int>(left.count())) < 0)
            return false;
    }
}

void stopTree(pid_t root)
{
    for (pid_t pid : processTree(root))
        ::kill(pid, SIGKILL);
    ::waitpid(root, nullptr, 0);
}

Sample runOnce(xcb_connection_t *connection, const std::string &program)
{
    // Events from an earlier run are not this one's.
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
        std::free(event);
    char *args[] = {const_cast<char *>(program.c_str()), nullptr};
    Sample sample;
    const auto started = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, args, environ) != 0) {
        std::perror(program.c_str());
        std::exit(2);
    }
    if (waitForMap(connection, started + std::chrono::milliseconds(kMapTimeoutMs))) {
        sample.mapMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        sample.cpuMs = cpuMilliseconds(pid);
        std::this_thread::sleep_for(kSettle);
        for (pid_t member : processTree(pid))
            addMemory(member, sample);
    }
    stopTree(pid);
    return sample;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Series
{
    std::vector<double> mapMs, cpuMs, pssMiB, rssMiB;

    void add(const Sample &sample)
    {
        mapMs.push_back(sample.mapMs);
        cpuMs.push_back(sample.cpuMs);
        pssMiB.push_back(sample.pssMiB);
        rssMiB.push_back(sample.rssMiB);
    }
};

void print(const char *name, const Series &series)
{
    std::printf("%-8s to window mapped: median %6.1f ms (min %6.1f, max %6.1f), %5.1f ms on a "
                "processor   PSS %5.1f MiB   RSS %5.1f MiB\n",
                name, median(series.mapMs),
                *std::min_element(series.mapMs.begin(), series.mapMs.end()),
                *std::max_element(series.mapMs.begin(), series.mapMs.end()), median(series.cpuMs),
                median(series.pssMiB), median(series.rssMiB));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FLOOR TAMCAL\n", argv[0]);
        return 2;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X display: run under Xvfb (bench/startup.sh)\n");
        return 2;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const tamcal::bench::TenYearProfile profile;
    const std::filesystem::path tamcal = profile.folder() / "tamcal";
    std::filesystem::copy_file(argv[2], tamcal);
    const std::string config = (profile.folder() / "config").string();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    // Both programs are started from the profile's folder.
    std::filesystem::current_path(profile.folder());
    const std::string floor = std::filesystem::absolute(argv[1]).string();

    Series floorSeries;
    Series tamcalSeries;
    for (int run = -1; run < kRuns; ++run) {
        const Sample floorSample = runOnce(connection, floor);
        const Sample tamcalSample = runOnce(connection, tamcal.string());
        if (floorSample.mapMs < 0 || tamcalSample.mapMs < 0) {
            std::fprintf(stderr, "a window was never mapped\n");
            return 2;
        }
        if (run >= 0) {
            floorSeries.add(floorSample);
            tamcalSeries.add(tamcalSample);
        }
    }
    xcb_disconnect(connection);

    std::printf("Start-up under X, ten-year profile (%d notes), %d runs each after a warm-up\n",
                tamcal::bench::TenYearProfile::kDayCount, kRuns);
    print("floor", floorSeries);
    print("TamCal", tamcalSeries);
    const double timeRatio = median(tamcalSeries.mapMs) / median(floorSeries.mapMs);
    const double pssOver = median(tamcalSeries.pssMiB) - median(floorSeries.pssMiB);
    std::printf("ratio    time %.2fx (goal at most 1.60x), on a processor %.2fx   "
                "PSS %+.1f MiB (goal at most +8 MiB)\n",
                timeRatio, median(tamcalSeries.cpuMs) / median(floorSeries.cpuMs), pssOver);
    return timeRatio <= 1.6 && pssOver <= 8 ? 0 : 1;
}
