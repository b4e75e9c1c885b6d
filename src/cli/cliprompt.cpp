#include "cli/cliprompt.h"

#include "cli/terminal.h"
#include "forms/windows1252.h"

#include <QString>
#include <QStringDecoder>

#include <cstdio>
#include <utility>

#include <unistd.h>

namespace tamcal {

namespace {

struct Answer
{
    MsgAnswer answer;
    const char *button;
};

Answer decliningAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return {MsgAnswer::Ok, "OK"};
    case MsgButtons::YesNo:
        return {MsgAnswer::No, "No"};
    case MsgButtons::YesNoCancel:
        return {MsgAnswer::Cancel, "Cancel"};
    case MsgButtons::AbortRetryIgnore:
        return {MsgAnswer::Abort, "Abort"};
    }
    return {MsgAnswer::Cancel, "Cancel"};
}

// One line of readable text from a message's Windows-1252 bytes.
std::string oneLine(const std::string &bytes)
{
    return fromWindows1252(bytes).simplified().toStdString();
}

} // namespace

std::string PasswordBytes(const std::string &typed)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(QByteArrayView(typed.data(), qsizetype(typed.size())));
    return utf8.hasError() ? typed : toWindows1252(text);
}

CommandLinePrompt::CommandLinePrompt(std::optional<std::string> passwordFile)
    : m_passwordFile(std::move(passwordFile))
{
}

MsgAnswer CommandLinePrompt::showMessage(const Message &message)
{
    const Answer answer = decliningAnswer(message.buttons);
    if (message.buttons == MsgButtons::AbortRetryIgnore)
        m_hasFileError = true;
    tell(oneLine(message.title) + ": " + oneLine(message.text) + " [answered " + answer.button +
         ", no window opens from the command line]");
    return answer.answer;
}

std::optional<std::string> CommandLinePrompt::askPassword(const std::string &)
{
    if (std::exchange(m_isPasswordAsked, true)) {
        if (m_hasPassword)
            tell("the password given does not fit the protected notes; they come out unreadable");
        return std::nullopt;
    }
    std::optional<std::string> password = firstPassword();
    if (!password || password->empty()) {
        tell("no password given (use --password-file FILE); protected notes come out "
             "unreadable");
        return std::nullopt;
    }
    m_hasPassword = true;
    return password;
}

std::optional<std::string> CommandLinePrompt::firstPassword()
{
    if (m_passwordFile)
        return m_passwordFile;
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    const std::optional<std::string> typed = readHiddenLine("Password: ");
    if (!typed)
        return std::nullopt;
    return PasswordBytes(*typed);
}

void CommandLinePrompt::SetProgress(float, float) {}

void CommandLinePrompt::processPendingEvents() {}

void CommandLinePrompt::tell(const std::string &line)
{
    if (m_told.insert(line).second)
        std::fprintf(stderr, "tamcal: %s\n", line.c_str());
}

} // namespace tamcal
