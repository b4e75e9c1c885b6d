// Start-up time of the program on the ten-year profile: from starting a process
// to the calendar window shown with all its months marked. The parent starts
// itself as the program again and again and times each run from outside; the
// child reports when the first full marking is done, and how long marking the
// months that a scroll brings into view takes.

#include "tenyearprofile.h"

#include "forms/frmcalview.h"
#include "profile/userprompt.h"
#include "widgets/monthview.h"

#include "support/fakeprompt.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kRuns = 15;

int countBoldDays(const MonthView &calendar)
{
    int bold = 0;
    for (QDate day = calendar.firstShownMonth(); day <= calendar.lastShownDay();
         day = day.addDays(1))
        bold += calendar.DayBold(day) ? 1 : 0;
    return bold;
}

// The program's start-up on `executablePath`, then one scroll into the years
// that hold notes.
int runAsProgram(int argc, char *argv[], const std::string &executablePath)
{
    QApplication app(argc, argv);
    tamcal::test::FakePrompt prompt; // plain hex notes never ask anything
    frmCalView calendar(executablePath, &prompt);
    calendar.Form_Load();
    QCoreApplication::processEvents();
    std::printf("marked\n");
    std::fflush(stdout);

    auto &mvwShow = *calendar.findChild<MonthView *>("mvwShow");
    QElapsedTimer scroll;
    scroll.start();
    mvwShow.setValue(QDate(2005, 6, 15));
    QCoreApplication::processEvents();
    const double scrollMs = static_cast<double>(scroll.nsecsElapsed()) / 1e6;
    const int shownDays =
        static_cast<int>(mvwShow.firstShownMonth().daysTo(mvwShow.lastShownDay())) + 1;
    std::printf("scroll %.3f ms, %d of %d shown days bold\n", scrollMs, countBoldDays(mvwShow),
                shownDays);
    return 0;
}

// Milliseconds from spawning the program to its "marked" line; the child's
// other lines are passed on.
double timeOneStart(const char *self, const std::string &executablePath, std::string &report)
{
    int out[2];
    if (pipe(out) != 0)
        std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char *> args{const_cast<char *>(self), const_cast<char *>("--program"),
                             const_cast<char *>(executablePath.c_str()), nullptr};

    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, self, &actions, nullptr, args.data(), environ) != 0)
        std::exit(1);
    close(out[1]);
    FILE *lines = fdopen(out[0], "r");
    char line[256];
    double elapsedMs = -1;
    while (std::fgets(line, sizeof line, lines)) {
        if (std::string(line) == "marked\n") {
            elapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                  started)
                            .count();
        } else {
            report += line;
        }
    }
    std::fclose(lines);
    waitpid(child, nullptr, 0);
    posix_spawn_file_actions_destroy(&actions);
    return elapsedMs;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::string(argv[1]) == "--program")
        return runAsProgram(argc, argv, argv[2]);

    const tamcal::bench::TenYearProfile profile;
    // The runs keep their window placement out of the user's own settings.
    const std::string config = (profile.folder() / "config").string();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string executablePath = (profile.folder() / "tamcal").string();

    std::vector<double> times;
    std::string report;
    for (int run = 0; run < kRuns; ++run) {
        report.clear();
        times.push_back(timeOneStart(argv[0], executablePath, report));
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to all months marked, ten-year profile, %d runs: "
                "min %.1f ms, median %.1f ms, max %.1f ms (target < 300 ms)\n",
                kRuns, times.front(), times[times.size() / 2], times.back());
    std::printf("last run's %s", report.c_str());
    return times[times.size() / 2] < 300 ? 0 : 1;
}
