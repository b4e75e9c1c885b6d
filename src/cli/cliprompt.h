#pragma once

#include "report/reporthost.h"

#include <optional>
#include <set>
#include <string>

namespace tamcal {

// A password as typed on this system (UTF-8) in the profile's character set,
// Windows-1252; bytes that are no UTF-8 are taken as they are.
std::string PasswordBytes(const std::string &typed);

// Stands in for the windows when the program runs from the command line, where
// nothing may open: every message is answered as its Cancel, Abort or No button
// would answer it, and told once on standard error. The password comes from the
// password file, or is asked once on the terminal; every later request is
// answered as a cancelled dialog, so a password that does not fit leaves the
// protected notes unreadable instead of asking for ever.
class CommandLinePrompt : public ReportHost
{
public:
    // `passwordFile` is the first line of the password file when one was given.
    explicit CommandLinePrompt(std::optional<std::string> passwordFile);

    MsgAnswer showMessage(const Message &message) override;
    std::optional<std::string> askPassword(const std::string &shown) override;
    void SetProgress(float sngProgress, float sngMax) override;
    void processPendingEvents() override;

    // Whether a file could not be written and the write was given up.
    bool hasFileError() const { return m_hasFileError; }

private:
    std::optional<std::string> firstPassword();
    void tell(const std::string &line);

    std::optional<std::string> m_passwordFile;
    bool m_isPasswordAsked = false;
    bool m_hasPassword = false;
    bool m_hasFileError = false;
    std::set<std::string> m_told;
};

} // namespace tamcal
