#pragma once

#include <optional>
#include <string>

namespace tamcal {

enum class MsgButtons { Ok, YesNo, YesNoCancel, AbortRetryIgnore };
enum class MsgIcon { None, Exclamation, Question, Critical };
enum class MsgAnswer { Ok, Yes, No, Cancel, Abort, Retry, Ignore };

// One message box as the user sees it. Texts are profile bytes (Windows-1252);
// defaultButton counts the buttons from 1, left to right.
struct Message
{
    std::string text;
    std::string title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 1;
};

// The only way the core talks to a person. The windows implement it with real
// dialogs; tests implement it with scripted answers.
class UserPrompt
{
public:
    virtual ~UserPrompt() = default;
    virtual MsgAnswer showMessage(const Message &message) = 0;
    // Shows the modal password dialog with `shown` already in its box. Returns the
    // text confirmed with OK (never empty), or nothing when the user cancels.
    virtual std::optional<std::string> askPassword(const std::string &shown) = 0;
    // Asks for a new password once more, with an empty box, so that a typing
    // slip cannot lock the diary. Nothing when the user cancels.
    virtual std::optional<std::string> confirmPassword() { return askPassword({}); }
    // Asks for a password to replace the one in use, with an empty box.
    virtual std::optional<std::string> askNewPassword() { return askPassword({}); }
};

} // namespace tamcal
