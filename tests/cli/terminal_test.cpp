// On a terminal the password is asked once, without showing what is typed.
#include "cliprofile.h"

#include "profile/inifile.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace tamcal::test {
namespace {

// What the terminal shows until it holds `until` (or the program ends, or ten
// seconds pass).
std::string readTerminal(int terminal, const std::string &until = {})
{
    std::string shown;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline &&
           (until.empty() || shown.find(until) == std::string::npos)) {
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[256];
        const ssize_t count = ::read(terminal, buffer, sizeof buffer);
        if (count <= 0)
            break;
        shown.append(buffer, std::size_t(count));
    }
    return shown;
}

class Terminal : public CliProfile
{
};

TEST_F(Terminal, AsksThePasswordOnceWithoutEcho)
{
    addNote("3/14/2004", "Pi day", "secret");
    addNote("3/15/2004", "Ides", "secret");
    IniAccess("Main", "UsePass", "True", true);
    const std::string out = folder.file("export.json");

    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(TAMCAL_EXECUTABLE, "tamcal", "--profile", profile.c_str(), "--export", "--format",
                "json", "--out", out.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    const std::string asked = readTerminal(terminal, "Password: ");
    EXPECT_EQ(asked, "Password: ");
    ASSERT_EQ(::write(terminal, "secret\n", 7), 7);
    const std::string after = readTerminal(terminal);
    ::close(terminal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << after;
    EXPECT_EQ(after.find("secret"), std::string::npos) << after;
    EXPECT_EQ(after.find("Password"), std::string::npos) << after;
    const std::string exported = readBytes(out);
    EXPECT_NE(exported.find("Pi day"), std::string::npos) << exported;
    EXPECT_NE(exported.find("Ides"), std::string::npos) << exported;
}

} // namespace
} // namespace tamcal::test
