#include "cli/terminal.h"

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace tamcal {

namespace {

// Turns echo off for its lifetime and gives the terminal back as it was.
class HiddenInput
{
public:
    HiddenInput() : m_isChanged(::tcgetattr(STDIN_FILENO, &m_saved) == 0)
    {
        if (!m_isChanged)
            return;
        termios hidden = m_saved;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        hidden.c_lflag |= ECHONL;
        m_isChanged = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden) == 0;
    }
    ~HiddenInput()
    {
        if (m_isChanged)
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
    HiddenInput(const HiddenInput &) = delete;
    HiddenInput &operator=(const HiddenInput &) = delete;

private:
    termios m_saved{};
    bool m_isChanged;
};

} // namespace

std::optional<std::string> readHiddenLine(const char *prompt)
{
    // Echo goes off before the prompt shows, so that nothing typed after it is shown.
    const HiddenInput hidden;
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    std::string line;
    char c = 0;
    ssize_t count = 0;
    while ((count = ::read(STDIN_FILENO, &c, 1)) == 1 && c != '\n')
        line.push_back(c);
    if (count != 1 && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace tamcal
