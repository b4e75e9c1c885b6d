#pragma once

#include "forms/frmcalview.h"
#include "forms/frmdayedit.h"
#include "forms/qtdates.h"
#include "notes/cipher.h"
#include "notes/daynotes.h"
#include "notes/password.h"
#include "printers.h"
#include "profile/settings.h"
#include "support/fakeprompt.h"
#include "widgets/monthview.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace tamcal::test {

// A program folder of its own (executable path, profile beside it), a clean
// placement store and password state, and the calendar window started on it
// with scripted answers.
class DiaryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings("TamCal", "TamCal").clear();
        CurrentPassword.clear();
        CurrentPasswordStanding = PasswordStanding::Trusted;
        AppSettings = {};
    }

    std::string executablePath() const { return folder.filePath("tamcal").toStdString(); }
    QString profilePath() const { return folder.filePath("tamcal.ini"); }

    void writeProfile(const std::string &text) const
    {
        QFile file(profilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    std::string profileText() const
    {
        QFile file(profilePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll().toStdString();
    }

    // The profile line of a day's note in the plain hex form.
    static std::string noteLine(QDate day, const std::string &note)
    {
        return *DayKey(displayDateOf(day)) + "=" + HexCode(note, false) + "\r\n";
    }

    // The note stored for the day, read as the program reads it.
    std::string storedNote(QDate day) { return ReadDayNote(displayDateOf(day), prompt); }

    frmCalView &start()
    {
        calendar = std::make_unique<frmCalView>(executablePath(), &prompt);
        calendar->Form_Load();
        settle(*calendar);
        return *calendar;
    }

    // Lets a shown window take its frame and become the active window, as a
    // person's keys go to the active window.
    static void settle(QWidget &window)
    {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        QCoreApplication::processEvents();
    }

    // Gives the window an outer size in pixels, frame included.
    static void resizeOuter(QWidget &window, QSize outer)
    {
        window.resize(outer - (window.frameGeometry().size() - window.size()));
        QCoreApplication::processEvents();
    }

    MonthView &mvwShow() const { return *calendar->findChild<MonthView *>("mvwShow"); }

    QTemporaryDir folder;
    FakePrompt prompt;
    std::unique_ptr<frmCalView> calendar;
};

} // namespace tamcal::test
