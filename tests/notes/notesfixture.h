#pragma once

#include "notes/password.h"
#include "profile/inifile.h"
#include "profile/safetycopy.h"
#include "profile/settings.h"
#include "support/fakeprompt.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tamcal::test {

// Gives each test an empty folder holding the profile path, and a fresh run: no
// password known, the offer to keep it still open, protection as the test sets it,
// no failed safety copy reported yet.
class NotesFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings = {};
        AppSettings.AppFolder = m_folder.path().string() + "/";
        AppSettings.IniPath = AppSettings.AppFolder + "tamcal.ini";
        startRun();
    }

    // A new run on an empty profile: no password known, the offer still open, no protection.
    void startRun()
    {
        std::filesystem::remove(AppSettings.IniPath);
        AppSettings.UsePass = false;
        CurrentPassword.clear();
        CurrentPasswordStanding = PasswordStanding::Trusted;
        AskSavePassword = true;
        SafetyCopyFailureReported = false;
        SafetyCopyToday = localToday;
        m_prompt = {};
    }

    // A stored value as the profile holds it, in full; `missing` when the key is absent.
    static std::string stored(const std::string &section, const std::string &key,
                              const std::string &missing = "<absent>")
    {
        return ReadIni(section, key, missing, AppSettings.IniPath, SIZE_MAX);
    }

    static void expectMessage(const Message &actual, const Message &expected)
    {
        EXPECT_EQ(actual.text, expected.text);
        EXPECT_EQ(actual.title, expected.title);
        EXPECT_EQ(actual.buttons, expected.buttons);
        EXPECT_EQ(actual.icon, expected.icon);
        EXPECT_EQ(actual.defaultButton, expected.defaultButton);
    }

    // Exactly these messages were shown, in this order.
    void expectMessages(const std::vector<Message> &expected) const
    {
        ASSERT_EQ(m_prompt.messages.size(), expected.size());
        for (std::size_t m = 0; m < expected.size(); ++m)
            expectMessage(m_prompt.messages[m], expected[m]);
    }

    TempFolder m_folder;
    FakePrompt m_prompt;
};

inline const Message kSavePasswordOffer{"Would you like to save your password?", "Save Password?",
                                        MsgButtons::YesNo, MsgIcon::Question, 1};
inline const Message kPasswordIncorrect{"Password is Incorrect", "Password is Incorrect",
                                        MsgButtons::Ok, MsgIcon::Exclamation, 1};
inline const Message kNotSaved{"Not Saved! Do you want to Turn off Password encryption?\r\n",
                               "No Password Specified!", MsgButtons::YesNo, MsgIcon::Critical, 1};

} // namespace tamcal::test
