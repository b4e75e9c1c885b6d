#pragma once

#include "profile/userprompt.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tamcal::test {

// A UserPrompt that answers from a script and records every message and
// password request, so tests can check exactly what a person would have seen.
class FakePrompt : public UserPrompt
{
public:
    std::deque<MsgAnswer> answers;                    // taken in order; Ok when exhausted
    std::deque<std::optional<std::string>> passwords; // taken in order; cancel when exhausted
    std::vector<Message> messages;
    std::vector<std::string> passwordRequests; // what the dialog showed each time
    int confirmations = 0;                     // asks to type a new password again

    MsgAnswer showMessage(const Message &message) override
    {
        messages.push_back(message);
        if (answers.empty())
            return MsgAnswer::Ok;
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<std::string> askPassword(const std::string &shown) override
    {
        passwordRequests.push_back(shown);
        return nextPassword();
    }

    std::optional<std::string> confirmPassword() override
    {
        ++confirmations;
        return nextPassword();
    }

private:
    std::optional<std::string> nextPassword()
    {
        if (passwords.empty())
            return std::nullopt;
        auto answer = passwords.front();
        passwords.pop_front();
        return answer;
    }
};

} // namespace tamcal::test
