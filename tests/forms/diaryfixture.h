#pragma once

#include "forms/frmcalview.h"
#include "forms/frmdayedit.h"
#include "forms/qtdates.h"
#include "notes/cipher.h"
#include "notes/daynotes.h"
#include "notes/password.h"
#include "profile/safetycopy.h"
#include "profile/settings.h"
#include "support/fakeprompt.h"
#include "support/printers.h"
#include "widgets/monthview.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

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
        ProfileFile.clear();
        SafetyCopyFailureReported = false;
        SafetyCopyToday = localToday;
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
        return *dayKey(displayDateOf(day)) + "=" + HexCode(note, false) + "\r\n";
    }

    // The note stored for the day, read as the program reads it.
    std::string storedNote(QDate day) { return ReadDayNote(displayDateOf(day), prompt); }

    frmCalView &start()
    {
        calendar = std::make_unique<frmCalView>(executablePath(), &prompt);
        calendar->Form_Load();
        // The daily pop-up puts the editor in front of the calendar.
        auto *editor = calendar->findChild<frmDayEdit *>("frmDayEdit");
        if (editor && editor->isVisible())
            settle(*editor);
        else
            settle(*calendar);
        return *calendar;
    }

    // Lets a shown window take its frame and become the active window, as a
    // person's keys go to the active window. An owned window counts as active
    // for Qt while its owner is, so the wait is for the window itself: a window
    // manager activates it a moment later.
    static void settle(QWidget &window)
    {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }));
        QCoreApplication::processEvents();
    }

    // Gives the window an outer size in pixels, frame included. A window
    // manager answers a resize a moment later, and may answer an earlier one
    // late, so the size has to have held for a while.
    static void resizeOuter(QWidget &window, QSize outer)
    {
        window.resize(outer - (window.frameGeometry().size() - window.size()));
        settleSize(window);
    }

    static void settleSize(QWidget &window)
    {
        QSize seen;
        EXPECT_TRUE(QTest::qWaitFor(
            [&window, &seen] {
                QTest::qWait(100);
                return std::exchange(seen, window.size()) == window.size();
            },
            3000));
    }

    MonthView &mvwShow() const { return *calendar->findChild<MonthView *>("mvwShow"); }

    QTemporaryDir folder;
    FakePrompt prompt;
    std::unique_ptr<frmCalView> calendar;
};

} // namespace tamcal::test
