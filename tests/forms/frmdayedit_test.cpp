#include "diaryfixture.h"

#include "profile/inifile.h"

#include <QAccessible>
#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QToolButton>

#include <deque>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using tamcal::MsgAnswer;

QDate today()
{
    return QDate::currentDate();
}

// Two days of the current month, so both are shown in the calendar.
QDate tenth()
{
    return {today().year(), today().month(), 10};
}

QDate twentieth()
{
    return {today().year(), today().month(), 20};
}

QString displayed(QDate day)
{
    return day.toString("MM/dd/yyyy");
}

std::string saveQuestionFor(QDate day)
{
    return "The text in Day " + displayed(day).toStdString() +
           " has changed.\r\n\r\nDo you want to save the changes?";
}

class DayEditor : public tamcal::test::DiaryTest
{
protected:
    frmDayEdit &open(QDate day)
    {
        if (!calendar)
            start();
        frmDayEdit &editor = calendar->dayEditor();
        editor.setEditDay(displayed(day));
        settle(editor);
        return editor;
    }

    frmDayEdit &editor() { return calendar->dayEditor(); }
    QPlainTextEdit *text() { return editor().findChild<QPlainTextEdit *>("txtDayEdit"); }
    QToolButton *button(const char *name) { return editor().findChild<QToolButton *>(name); }
    QAction *action(const char *name) { return editor().findChild<QAction *>(name); }
    QGroupBox *picker() { return editor().findChild<QGroupBox *>("fraButtons"); }
    MonthView &mvDayEdit() { return *editor().findChild<MonthView *>("mvDayEdit"); }

    void type(const QString &keys) { QTest::keyClicks(text(), keys); }

    void pickInPicker(QDate day)
    {
        QTest::mouseClick(button("imgIcon"), Qt::LeftButton);
        ASSERT_TRUE(picker()->isVisible());
        QTest::mouseClick(&mvDayEdit(), Qt::LeftButton, {}, mvDayEdit().dayRect(day).center());
    }

    bool asked(const std::string &text) const
    {
        for (const auto &message : prompt.messages) {
            if (message.text == text)
                return true;
        }
        return false;
    }
};

TEST_F(DayEditor, DoubleClickTypeEscapeYesStoresTheNoteAndMarksTheDay)
{
    start();
    const QDate day = tenth();
    QTest::mouseDClick(&mvwShow(), Qt::LeftButton, {}, mvwShow().dayRect(day).center());
    ASSERT_TRUE(editor().isVisible());
    settle(editor());
    EXPECT_EQ(editor().windowTitle(), "Edit Day " + displayed(day));
    EXPECT_EQ(button("btnClose")->text(), "&Close");
    EXPECT_TRUE(text()->toPlainText().isEmpty());

    type("Lunch");
    EXPECT_EQ(editor().windowTitle(), "Edit Day " + displayed(day) + " *");
    EXPECT_EQ(button("btnClose")->text(), "&Cancel");

    prompt.answers = {MsgAnswer::Yes};
    QTest::keyClick(text(), Qt::Key_Escape);
    ASSERT_EQ(prompt.messages.size(), 1u);
    const tamcal::Message &question = prompt.messages[0];
    EXPECT_EQ(question.text, saveQuestionFor(day));
    EXPECT_EQ(question.title, "Save Changes?");
    EXPECT_EQ(question.buttons, tamcal::MsgButtons::YesNoCancel);
    EXPECT_EQ(question.icon, tamcal::MsgIcon::Exclamation);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_FALSE(editor().isVisible());
    EXPECT_EQ(storedNote(day), "Lunch");
    EXPECT_TRUE(mvwShow().DayBold(day));
    QSettings store("TamCal", "TamCal");
    EXPECT_TRUE(store.contains("frmDayEdit/Width"));
}

// The editor stays in front with the text ready for typing, and the next
// Escape asks again instead of reaching the calendar and ending the run.
TEST_F(DayEditor, CancelOrAFailedYesKeepsTheEditorInFrontWithItsText)
{
    const struct
    {
        const char *name;
        // A profile in a folder that does not exist can't be written.
        const char *profile;
        MsgAnswer answer;
    } cases[] = {
        {"Cancel", "tamcal.ini", MsgAnswer::Cancel},
        {"Yes, but the profile can't be written", "gone/tamcal.ini", MsgAnswer::Yes},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        tamcal::ProfileFile = folder.filePath(c.profile).toStdString();
        calendar = std::make_unique<frmCalView>(executablePath(), &prompt);
        calendar->Form_Load();
        settle(*calendar);
        open(tenth());
        type("draft");
        prompt.answers = {c.answer};
        QTest::keyClick(text(), Qt::Key_Escape);
        QTest::qWait(100);
        EXPECT_TRUE(editor().isVisible());
        EXPECT_EQ(text()->toPlainText(), "draft");
        EXPECT_TRUE(editor().Dirty());
        EXPECT_EQ(storedNote(tenth()), "");
        EXPECT_EQ(QApplication::activeWindow(), &editor());
        EXPECT_TRUE(text()->hasFocus());

        prompt.messages.clear();
        prompt.answers = {MsgAnswer::Cancel};
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(prompt.messages.size(), 1u);
        EXPECT_TRUE(calendar->isVisible());
        EXPECT_TRUE(editor().isVisible());
        editor().setDirty(false);
    }
}

TEST_F(DayEditor, NoDropsTheText)
{
    open(tenth());
    type("draft");
    prompt.answers = {MsgAnswer::No};
    action("mnuActionClose")->trigger();
    EXPECT_FALSE(editor().isVisible());
    EXPECT_EQ(storedNote(tenth()), "");
    open(tenth());
    EXPECT_TRUE(text()->toPlainText().isEmpty());
    EXPECT_FALSE(editor().Dirty());
    EXPECT_EQ(prompt.messages.size(), 1u);
}

TEST_F(DayEditor, SaveButtonF12AndActionSaveAllSave)
{
    const std::vector<std::pair<QString, std::function<void()>>> ways = {
        {"button", [this] { QTest::mouseClick(button("btnSave"), Qt::LeftButton); }},
        // An access key clicks its button after a short animation.
        {"Alt+S",
         [this] {
             QTest::keyClick(text(), Qt::Key_S, Qt::AltModifier);
             EXPECT_TRUE(QTest::qWaitFor([this] { return !editor().Dirty(); }));
         }},
        {"F12", [this] { QTest::keyClick(text(), Qt::Key_F12); }},
        {"Action > Save", [this] { action("mnuActionSave")->trigger(); }},
    };
    int dayOfMonth = 1;
    for (const auto &[name, save] : ways) {
        SCOPED_TRACE(name.toStdString());
        const QDate day(today().year(), today().month(), dayOfMonth++);
        open(day);
        type(name);
        save();
        EXPECT_FALSE(editor().Dirty());
        EXPECT_EQ(editor().windowTitle(), "Edit Day " + displayed(day));
        EXPECT_EQ(button("btnClose")->text(), "&Close");
        EXPECT_EQ(storedNote(day), name.toStdString());
        EXPECT_TRUE(mvwShow().DayBold(day));
    }
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(DayEditor, SwitchingDayWithUnsavedTextAsksFirst)
{
    struct Case
    {
        const char *name;
        MsgAnswer answer;
        std::string storedOnTenth;
        QDate shownDay;
        QString shownText;
    };
    const Case cases[] = {
        {"Yes saves and switches", MsgAnswer::Yes, "draft", twentieth(), "the 20th"},
        {"No switches without saving", MsgAnswer::No, "", twentieth(), "the 20th"},
        {"Cancel stays", MsgAnswer::Cancel, "", tenth(), "draft"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeProfile("[Days]\r\n" + noteLine(twentieth(), "the 20th"));
        prompt.messages.clear();
        open(tenth());
        type("draft");
        prompt.answers = {c.answer};
        pickInPicker(twentieth());
        EXPECT_FALSE(picker()->isVisible());
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text, saveQuestionFor(tenth()));
        EXPECT_EQ(storedNote(tenth()), c.storedOnTenth);
        EXPECT_EQ(editor().EditDay(), displayed(c.shownDay));
        EXPECT_EQ(text()->toPlainText(), c.shownText);
        EXPECT_EQ(editor().Dirty(), c.answer == MsgAnswer::Cancel);
        // Leave the editor clean for the next case.
        editor().setDirty(false);
        QFile::remove(profilePath());
    }
}

TEST_F(DayEditor, PickerClosesWhenTheTextGetsTheFocusOrTheMouseCrossesTheWindow)
{
    open(tenth());
    QTest::mouseClick(button("imgIcon"), Qt::LeftButton);
    EXPECT_TRUE(picker()->isVisible());
    EXPECT_EQ(mvDayEdit().Value(), tenth());
    QTest::mouseClick(button("imgIcon"), Qt::LeftButton);
    EXPECT_FALSE(picker()->isVisible());

    QTest::mouseClick(button("imgIcon"), Qt::LeftButton);
    button("btnSave")->setFocus();
    text()->setFocus();
    EXPECT_FALSE(picker()->isVisible());

    // The offscreen platform moves no pointer, so the moves are sent as the
    // window would receive them.
    QWidget *surface = editor().centralWidget();
    const auto moveOver = [surface](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, surface->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(surface, &move);
    };
    QTest::mouseClick(button("imgIcon"), Qt::LeftButton);
    moveOver(picker()->geometry().center());
    EXPECT_TRUE(picker()->isVisible());
    moveOver(QPoint(surface->width() - 1, 2));
    EXPECT_FALSE(picker()->isVisible());
}

// Keys go through the window, as a person's do.
TEST_F(DayEditor, TheDayPickerWorksFromTheKeyboard)
{
    frmDayEdit &window = open(tenth());
    const auto press = [&window](Qt::Key key) {
        QTest::keyClick(window.windowHandle(), key);
        QCoreApplication::processEvents();
    };
    text()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), text());
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button("imgIcon"));
    for (const Qt::Key opener : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(opener);
        press(opener);
        EXPECT_TRUE(picker()->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), &mvDayEdit());
        // Escape in the picker closes the picker only.
        press(Qt::Key_Escape);
        EXPECT_FALSE(picker()->isVisible());
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), button("imgIcon"));
    }

    // The arrows pick a day and Return loads it.
    press(Qt::Key_Return);
    for (int day = 10; day < 20; ++day)
        press(Qt::Key_Right);
    press(Qt::Key_Return);
    EXPECT_FALSE(picker()->isVisible());
    EXPECT_EQ(window.EditDay(), displayed(twentieth()));
    EXPECT_EQ(QApplication::focusWidget(), text());
    press(Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(DayEditor, ControlsAreNamedForScreenReaders)
{
    open(tenth());
    const struct
    {
        QWidget *control;
        const char *name;
    } controls[] = {
        {text(), "Note"},
        {button("imgIcon"), "Change Day to Edit"},
        {&mvDayEdit(), "Editing Day"},
        {button("btnSave"), "Save"},
        {button("btnClose"), "Close"},
    };
    for (const auto &c : controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(c.control)->text(QAccessible::Name),
                  c.name);
    }
}

TEST_F(DayEditor, UnreadableNoteIsShownLockedUntilAnotherDayIsLoaded)
{
    const std::string stored = tamcal::CryptText("pwsecret", "pw");
    writeProfile("[Main]\r\nUsePass=True\r\n[Days]\r\n" +
                 *tamcal::dayKey(displayed(tenth()).toStdString()) + "=" + stored + "\r\n");
    open(tenth());
    EXPECT_EQ(prompt.passwordRequests.size(), 1u);
    EXPECT_EQ(text()->toPlainText(), "Password Incorrect!");
    EXPECT_TRUE(text()->isReadOnly());
    EXPECT_FALSE(button("btnSave")->isEnabled());
    EXPECT_FALSE(action("mnuActionSave")->isEnabled());
    EXPECT_NE(text()->palette().color(QPalette::Base), editor().palette().color(QPalette::Base));
    EXPECT_FALSE(editor().Dirty());
    EXPECT_EQ(editor().windowTitle(), "Edit Day " + displayed(tenth()));

    open(twentieth());
    EXPECT_TRUE(text()->toPlainText().isEmpty());
    EXPECT_FALSE(text()->isReadOnly());
    EXPECT_TRUE(button("btnSave")->isEnabled());
    EXPECT_TRUE(action("mnuActionSave")->isEnabled());
    EXPECT_EQ(text()->palette().color(QPalette::Base), editor().palette().color(QPalette::Base));

    open(tenth());
    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_FALSE(editor().isVisible());
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(profileText().find(stored) != std::string::npos, true);
}

TEST_F(DayEditor, LinesAndWindows1252BytesSurviveUnchanged)
{
    const std::string note = "caf\xE9 \x80"
                             "5\r\nnon\xA0"
                             "breaking\r\n\r\n\x93quoted\x94";
    writeProfile("[Days]\r\n" + noteLine(tenth(), note));
    open(tenth());
    EXPECT_EQ(text()->toPlainText().count('\n'), 3);
    QTest::keyClick(text(), Qt::Key_F12);
    EXPECT_EQ(storedNote(tenth()), note);

    text()->moveCursor(QTextCursor::End);
    QTest::keyClick(text(), Qt::Key_Return);
    type("end");
    QTest::keyClick(text(), Qt::Key_F12);
    EXPECT_EQ(storedNote(tenth()), note + "\r\nend");
}

TEST_F(DayEditor, CharactersTheProfileCannotHoldAreNamedAndNothingIsSaved)
{
    open(tenth());
    text()->setPlainText(QString::fromUtf8("ok \u20ac\nthen \u0142\u00f3d\u017a \U0001F600"));
    QTest::keyClick(text(), Qt::Key_F12);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              "These characters cannot be stored in the profile file:\r\n"
              "U+0142, U+017A, U+1F600\r\n\r\n"
              "Please remove them (the first one is selected) and try again.");
    EXPECT_EQ(prompt.messages[0].icon, tamcal::MsgIcon::Exclamation);
    EXPECT_EQ(storedNote(tenth()), "");
    EXPECT_TRUE(editor().Dirty());
    EXPECT_EQ(text()->textCursor().selectedText(), QString::fromUtf8("\u0142"));

    // Answering Yes to the save question with such text keeps the window open.
    prompt.answers = {MsgAnswer::Yes};
    editor().close();
    EXPECT_TRUE(editor().isVisible());
    EXPECT_EQ(storedNote(tenth()), "");
}

TEST_F(DayEditor, AFailedSaveIsToldAndTheTextStaysUnsaved)
{
    // The profile's folder does not exist, so nothing can be written.
    tamcal::ProfileFile = folder.filePath("gone/tamcal.ini").toStdString();
    calendar = std::make_unique<frmCalView>(executablePath(), &prompt);
    calendar->Form_Load();
    open(tenth());
    type("important");
    QTest::mouseClick(button("btnSave"), Qt::LeftButton);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].title, "Not Saved!");
    EXPECT_EQ(prompt.messages[0].icon, tamcal::MsgIcon::Exclamation);
    EXPECT_EQ(prompt.messages[0].buttons, tamcal::MsgButtons::Ok);
    EXPECT_NE(prompt.messages[0].text.find(displayed(tenth()).toStdString()), std::string::npos);
    EXPECT_NE(prompt.messages[0].text.find(folder.filePath("gone/tamcal.ini").toStdString()),
              std::string::npos);
    EXPECT_NE(prompt.messages[0].text.find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(editor().Dirty());
    EXPECT_EQ(text()->toPlainText(), "important");

    // Closing still asks; Yes fails again and the window stays.
    prompt.answers = {MsgAnswer::Yes};
    editor().close();
    EXPECT_TRUE(editor().isVisible());
    ASSERT_EQ(prompt.messages.size(), 3u);
    EXPECT_EQ(prompt.messages[1].text, saveQuestionFor(tenth()));
    EXPECT_EQ(prompt.messages[2].title, "Not Saved!");
}

TEST_F(DayEditor, TheFirstSaveOfTheDayKeepsASafetyCopyOfTheProfile)
{
    const std::string before = "[Days]\r\n" + noteLine(tenth(), "older");
    writeProfile(before);
    open(twentieth());
    type("one");
    QTest::keyClick(text(), Qt::Key_F12);
    type(" two");
    QTest::keyClick(text(), Qt::Key_F12);

    const QString copyName = "tamcal-" + today().toString("yyyy-MM-dd") + ".ini";
    EXPECT_EQ(QDir(folder.filePath("backups")).entryList(QDir::Files), QStringList{copyName});
    QFile copy(folder.filePath("backups/" + copyName));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll().toStdString(), before);
    EXPECT_EQ(storedNote(twentieth()), "one two");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(DayEditor, ASafetyCopyThatCannotBeMadeIsToldOnceAndTheNoteIsSaved)
{
    writeProfile("[Days]\r\n" + noteLine(tenth(), "older"));
    // A file where the copies' folder should be.
    QFile blocker(folder.filePath("backups"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    open(twentieth());
    // Two saves on two days: each day's first save tries a copy.
    for (const int dayOffset : {0, 1}) {
        tamcal::SafetyCopyToday = [dayOffset] {
            return tamcal::civilDate(today().addDays(dayOffset));
        };
        type(dayOffset == 0 ? "one" : "two");
        QTest::keyClick(text(), Qt::Key_F12);
        EXPECT_FALSE(editor().Dirty());
    }
    EXPECT_EQ(storedNote(twentieth()), "onetwo");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].title, "Safety Copy Not Made");
    EXPECT_NE(
        prompt.messages[0].text.find(folder.filePath("backups").toStdString() + ": File exists."),
        std::string::npos);
}

TEST_F(DayEditor, ClosingReMarksTheDayThatLostItsNote)
{
    writeProfile("[Days]\r\n" + noteLine(tenth(), "to remove"));
    start();
    EXPECT_TRUE(mvwShow().DayBold(tenth()));
    open(tenth());
    text()->clear();
    prompt.answers = {MsgAnswer::Yes};
    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_FALSE(editor().isVisible());
    // Without protection an empty note stays as an empty value.
    EXPECT_NE(profileText().find(*tamcal::dayKey(displayed(tenth()).toStdString()) + "=\r\n"),
              std::string::npos);
    EXPECT_FALSE(mvwShow().DayBold(tenth()));
}

TEST_F(DayEditor, KeepsItsMinimumSizeAndFitsTheTextBox)
{
    open(tenth());
    resizeOuter(editor(), QSize(100, 100));
    EXPECT_EQ(editor().frameGeometry().size(), QSize(220, 264));
    resizeOuter(editor(), QSize(400, 500));
    const QWidget *surface = editor().centralWidget();
    // The box ends 50 twips (3 pixels) short of the right and bottom edges.
    EXPECT_EQ(text()->geometry(), QRect(0, 40, surface->width() - 3, surface->height() - 43));
}

TEST_F(DayEditor, HasItsCaptionsTooltipsAndKeys)
{
    open(tenth());
    EXPECT_EQ(button("btnSave")->text(), "&Save");
    EXPECT_EQ(button("btnSave")->toolTip(), "Save Text into Day (F12)");
    EXPECT_EQ(button("btnClose")->toolTip(), "Close this window (Escape Key)");
    EXPECT_EQ(button("imgIcon")->toolTip(), "Click here to change Day to Edit");
    EXPECT_EQ(picker()->title(), "Editing Day:");
    EXPECT_EQ(editor().menuBar()->actions().first()->text(), "&Action");
    EXPECT_EQ(action("mnuActionSave")->text(), "&Save");
    EXPECT_EQ(action("mnuActionSave")->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(action("mnuActionClose")->text(), "&Close");
    EXPECT_TRUE(text()->hasFocus());
    QList<QWidget *> tabOrder;
    for (QWidget *w = text()->nextInFocusChain(); w != text(); w = w->nextInFocusChain()) {
        if (w == &mvDayEdit() || w == button("btnSave") || w == button("btnClose"))
            tabOrder.append(w);
    }
    EXPECT_EQ(tabOrder, (QList<QWidget *>{&mvDayEdit(), button("btnSave"), button("btnClose")}));

    // Enter starts a new line: the window has no default button.
    type("a");
    QTest::keyClick(text(), Qt::Key_Return);
    type("b");
    EXPECT_EQ(text()->toPlainText(), "a\nb");
    EXPECT_TRUE(editor().isVisible());

    // Tab leaves the note for the buttons and types nothing into it.
    QTest::keyClick(text(), Qt::Key_Tab);
    EXPECT_EQ(text()->toPlainText(), "a\nb");
    EXPECT_FALSE(text()->hasFocus());
}

// The person's whole sequence: a wrong password twice on a protected day, close,
// another day, type, Save. The rejected password must not store that note.
TEST_F(DayEditor, ARejectedPasswordNeverStoresTheNextNote)
{
    struct Case
    {
        const char *name;
        std::deque<std::optional<std::string>> atSave;
        bool isStored;
        std::vector<std::string> titles; // after the read's "Password is Incorrect"
    };
    const std::vector<Case> cases = {
        {"the right password at the save", {"hunter2"}, true, {}},
        {"the typo twice more",
         {"hunter", "hunter"},
         false,
         {"Password is Incorrect", "Not Saved!"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        calendar.reset();
        SetUp();
        prompt = {};
        const std::string locked = tamcal::CryptText("hunter2secret", "hunter2");
        writeProfile("[Main]\r\nUsePass=True\r\n[Days]\r\n" +
                     *tamcal::dayKey(displayed(tenth()).toStdString()) + "=" + locked + "\r\n");
        prompt.passwords = {"hunter", "hunter"};
        open(tenth());
        EXPECT_EQ(text()->toPlainText(), "Password Incorrect!");
        QTest::keyClick(text(), Qt::Key_Escape);
        open(twentieth());
        type("new note");
        prompt.passwords = c.atSave;
        prompt.passwordRequests.clear();
        prompt.messages.clear();
        QTest::mouseClick(button("btnSave"), Qt::LeftButton);

        ASSERT_FALSE(prompt.passwordRequests.empty()) << "the save asks for the password again";
        EXPECT_EQ(prompt.passwordRequests[0], "hunter");
        std::vector<std::string> titles;
        for (const auto &message : prompt.messages)
            titles.push_back(message.title);
        EXPECT_EQ(titles, c.titles);
        EXPECT_EQ(editor().Dirty(), !c.isStored);
        const std::string stored =
            tamcal::ReadIni("Days", *tamcal::dayKey(displayed(twentieth()).toStdString()),
                            "<absent>", profilePath().toStdString());
        if (c.isStored) {
            EXPECT_EQ(tamcal::CryptText(stored, "hunter2"), "hunter2new note");
        } else {
            EXPECT_EQ(stored, "<absent>");
            EXPECT_NE(prompt.messages.back().text.find("does not open the notes"),
                      std::string::npos);
        }
    }
}

// Cancel at "Enter Password" and No at the offer to turn protection off: the
// one message that follows says no password was given, not that a file failed.
TEST_F(DayEditor, ACancelledPasswordIsToldAsSuch)
{
    writeProfile("[Main]\r\nUsePass=True\r\n");
    open(tenth());
    type("note");
    prompt.answers = {MsgAnswer::No};
    QTest::mouseClick(button("btnSave"), Qt::LeftButton);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].title, "No Password Specified!");
    EXPECT_EQ(prompt.messages[1].title, "Not Saved!");
    EXPECT_NE(prompt.messages[1].text.find("no password was given"), std::string::npos);
    EXPECT_EQ(prompt.messages[1].text.find("profile"), std::string::npos);
    EXPECT_TRUE(editor().Dirty());
}

TEST_F(DayEditor, EachStoredFormShowsAsWhatItIsWhateverTheSetting)
{
    struct Case
    {
        const char *name;
        const char *usePass;
        std::string value;
        QString shown;
        bool isLocked;
    };
    const std::vector<Case> cases = {
        {"enciphered, protection off", "False", tamcal::CryptText("pwsecret", "pw"),
         "Password Incorrect!", true},
        {"plain starting with 737, protection on", "True", "737472696E67", "string", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        calendar.reset();
        SetUp();
        prompt = {};
        writeProfile(std::string("[Main]\r\nUsePass=") + c.usePass + "\r\n[Days]\r\n" +
                     *tamcal::dayKey(displayed(tenth()).toStdString()) + "=" + c.value + "\r\n");
        open(tenth());
        EXPECT_EQ(text()->toPlainText(), c.shown);
        EXPECT_EQ(text()->isReadOnly(), c.isLocked);
        EXPECT_EQ(button("btnSave")->isEnabled(), !c.isLocked);
        EXPECT_TRUE(prompt.passwordRequests.empty());
        EXPECT_TRUE(prompt.messages.empty());
    }
}

// Another copy of the program holds the profile's lock and does not let go: the
// save gives up after a few seconds and says why; the text stays unsaved.
TEST_F(DayEditor, AProfileLockedByAnotherProgramIsToldAfterAWait)
{
    start();
    QProcess holder;
    holder.start("flock", {profilePath() + ".lock", "sleep", "30"});
    ASSERT_TRUE(holder.waitForStarted());
    const QString lockPath = profilePath() + ".lock";
    QDeadlineTimer deadline(5000);
    for (;;) {
        const int probe = ::open(lockPath.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
        const bool isHeld = probe >= 0 && ::flock(probe, LOCK_EX | LOCK_NB) != 0;
        if (probe >= 0)
            ::close(probe);
        if (isHeld || deadline.hasExpired())
            break;
        QThread::msleep(20);
    }
    open(tenth());
    type("important");
    QTest::mouseClick(button("btnSave"), Qt::LeftButton);
    holder.kill();
    holder.waitForFinished();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].title, "Not Saved!");
    EXPECT_NE(prompt.messages[0].text.find("another program is writing the profile"),
              std::string::npos);
    EXPECT_TRUE(editor().Dirty());
    EXPECT_EQ(storedNote(tenth()), "");
}

} // namespace
