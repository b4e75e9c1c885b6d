#pragma once

#include "notes/daynotes.h"
#include "notes/password.h"
#include "profile/settings.h"
#include "support/fakeprompt.h"
#include "support/programrun.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <string>

namespace tamcal::test {

// A profile of its own in a fresh folder, filled through the day note store as
// the windows fill it, and the built program run on it with --profile.
class CliProfile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings = {};
        AppSettings.AppFolder = folder.path().string() + "/";
        AppSettings.IniPath = profile;
        CurrentPassword.clear();
    }

    void TearDown() override
    {
        AppSettings = {};
        CurrentPassword.clear();
    }

    // Stores the note, enciphered under `password` when one is given.
    void addNote(const std::string &day, const std::string &note, const std::string &password = {})
    {
        AppSettings.UsePass = !password.empty();
        CurrentPassword = password;
        FakePrompt prompt;
        ASSERT_TRUE(WriteDayNote(day, note, prompt)) << day;
    }

    ProgramRun tamcal(QStringList arguments) const
    {
        arguments.prepend(QString::fromStdString(profile));
        arguments.prepend("--profile");
        return runProgram(TAMCAL_EXECUTABLE, arguments);
    }

    QString file(const char *name) const { return QString::fromStdString(folder.file(name)); }

    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
};

} // namespace tamcal::test
