#pragma once

#include "notes/password.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "support/fakeprompt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tamcal::test {

// Gives each test an empty folder holding the profile path, and a fresh run: no
// password known, the offer to keep it still open, protection as the test sets it.
class NotesFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() /
                   (std::string("tamcal-notes-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        AppSettings = {};
        AppSettings.AppFolder = m_folder.string() + "/";
        AppSettings.IniPath = AppSettings.AppFolder + "tamcal.ini";
        CurrentPassword.clear();
        AskSavePassword = true;
    }

    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // A stored value as the profile holds it, in full; `missing` when the key is absent.
    static std::string stored(const std::string &section, const std::string &key,
                              const std::string &missing = "<absent>")
    {
        return ReadIni(section, key, missing, AppSettings.IniPath, SIZE_MAX);
    }

    static std::string profileText()
    {
        std::ifstream in(AppSettings.IniPath, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    static void expectMessage(const Message &actual, const Message &expected)
    {
        EXPECT_EQ(actual.text, expected.text);
        EXPECT_EQ(actual.title, expected.title);
        EXPECT_EQ(actual.buttons, expected.buttons);
        EXPECT_EQ(actual.icon, expected.icon);
        EXPECT_EQ(actual.defaultButton, expected.defaultButton);
    }

    std::filesystem::path m_folder;
    FakePrompt m_prompt;
};

inline const Message kSavePasswordOffer{"Would you like to save your password?", "Save Password?",
                                        MsgButtons::YesNo, MsgIcon::Question, 1};
inline const Message kPasswordIncorrect{"Password is Incorrect", "Password is Incorrect",
                                        MsgButtons::Ok, MsgIcon::Exclamation, 1};
inline const Message kNotSaved{"Not Saved! Do you want to Turn off Password encryption?\r\n",
                               "No Password Specified!", MsgButtons::YesNo, MsgIcon::Critical, 1};

} // namespace tamcal::test
