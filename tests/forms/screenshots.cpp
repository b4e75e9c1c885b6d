// Not a test: puts the windows on a real (virtual) screen in the states a
// person sees and saves a picture of each, for looking at them and for the
// README. Run on a screen with a window manager, so the frames show:
//   scripts/desktop.sh forms_screenshots OUT-FOLDER BACKGROUND-PICTURE
// Pictures are taken from the screen, so they show what the X server shows.

#include "forms/frmcalview.h"
#include "forms/frmdayedit.h"
#include "forms/frmfind.h"
#include "forms/frmpassword.h"
#include "forms/frmsettings.h"
#include "forms/qtdates.h"
#include "forms/qtprompt.h"
#include "notes/cipher.h"
#include "notes/daynotes.h"
#include "support/fakeprompt.h"
#include "support/windowpictures.h"
#include "widgets/monthview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cerrno>
#include <cstdio>

namespace {

using tamcal::test::noteLine;
using tamcal::test::writeProfile;

const tamcal::test::WindowPictures *screenshots = nullptr;

// Lets the windows settle on the screen before the picture is taken.
void shoot(const QString &name, const QRect &area)
{
    QTest::qWait(300);
    screenshots->shoot(name, area);
}

// A window manager frames a window a moment after it shows, and the window is
// then fitted to its outer size: the frame is measured once that is done.
void settleFrame()
{
    QTest::qWait(500);
}

void shoot(const QString &name, const QWidget &window)
{
    settleFrame();
    shoot(name, window.frameGeometry());
}

void waitUntilShown(QWidget &window)
{
    if (!QTest::qWaitForWindowExposed(&window))
        std::printf("%s did not show in time\n", qPrintable(window.objectName()));
}

// A program folder with a diary of a few weeks around today.
void writeDiary(const QString &folder)
{
    const QDate today = QDate::currentDate();
    std::string text = "[Days]\r\n";
    const int offsets[] = {-40, -33, -20, -9, -8, -3, -1, 0, 2, 5, 12, 19, 26, 33, 47, 61, 75};
    for (const int offset : offsets)
        text += noteLine(today.addDays(offset), "Met Anna for coffee.\r\nBought stamps.");
    writeProfile(folder, text);
}

void placeEditorBeside(const QWidget &calendar)
{
    QSettings store("TamCal", "TamCal");
    store.setValue("frmDayEdit/Left",
                   QString::number((calendar.frameGeometry().right() + 16) * 15));
    store.setValue("frmDayEdit/Top", "600");
    store.setValue("frmDayEdit/Width", "5400");
    store.setValue("frmDayEdit/Height", "5400");
}

void shootCalendarAndEditor(const QString &folder)
{
    tamcal::test::FakePrompt prompt;
    frmCalView calendar(QDir(folder).filePath("tamcal").toStdString(), &prompt);
    QSettings("TamCal", "TamCal").setValue("frmCalView/Top", "600");
    calendar.Form_Load();
    waitUntilShown(calendar);
    shoot(calendar.hasPicture() ? "calendar-background.png" : "calendar.png", calendar);

    auto *menu = calendar.findChild<QMenu *>("MenuCal");
    auto &mvwShow = *calendar.findChild<MonthView *>("mvwShow");
    if (!calendar.hasPicture()) {
        menu->popup(mvwShow.mapToGlobal(mvwShow.dayRect(QDate::currentDate()).center()));
        shoot("calendar-menu.png", calendar);
        menu->close();
        // Hovering today, which holds a note.
        const QPoint onToday = mvwShow.dayRect(QDate::currentDate()).center();
        QHelpEvent hover(QEvent::ToolTip, onToday, mvwShow.mapToGlobal(onToday));
        QApplication::sendEvent(&mvwShow, &hover);
        shoot("calendar-tooltip.png", calendar);
    }

    placeEditorBeside(calendar);
    frmDayEdit &editor = calendar.dayEditor();
    editor.setEditDay(QDate::currentDate().toString("MM/dd/yyyy"));
    waitUntilShown(editor);
    settleFrame();
    const QRect both = calendar.frameGeometry().united(editor.frameGeometry());
    if (calendar.hasPicture()) {
        shoot("diary.png", both.adjusted(-8, -8, 8, 8));
    } else {
        shoot("editor-clean.png", editor);
        auto *text = editor.findChild<QPlainTextEdit *>("txtDayEdit");
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, " Rain all afternoon.");
        shoot("editor-dirty.png", editor);
        QTest::mouseClick(editor.findChild<QToolButton *>("imgIcon"), Qt::LeftButton);
        shoot("editor-picker.png", editor);
        editor.setDirty(false);
    }
    editor.hide();

    calendar.showMaximized();
    QTest::qWait(300);
    shoot(calendar.hasPicture() ? "calendar-maximized-background.png" : "calendar-maximized.png",
          calendar);
    calendar.hide();
}

void shootLockedEditor(const QString &folder)
{
    const QDate today = QDate::currentDate();
    const std::string stored = tamcal::CryptText("pwsecret", "pw");
    writeProfile(folder, "[Main]\r\nUsePass=True\r\n[Days]\r\n" +
                             *tamcal::dayKey(tamcal::displayDateOf(today)) + "=" + stored + "\r\n");
    tamcal::test::FakePrompt prompt;
    frmCalView calendar(QDir(folder).filePath("tamcal").toStdString(), &prompt);
    calendar.Form_Load();
    frmDayEdit &editor = calendar.dayEditor();
    editor.setEditDay(today.toString("MM/dd/yyyy"));
    waitUntilShown(editor);
    shoot("editor-locked.png", editor);
    editor.setDirty(false);
    editor.hide();
    calendar.hide();
}

// The search window beside the calendar, with a word typed that several notes hold.
void shootFindWindow(const QString &folder)
{
    const QDate today = QDate::currentDate();
    const char *const notes[] = {
        "Rain all morning.\r\nCoffee with Anna at the Caf\xE9 Central, then the library.",
        "Bought stamps and a new notebook.",
        "Long walk by the river.\r\nAnna says the CAF\xC9 on the corner closes for good.",
        "Dentist at nine.\r\nFixed the bicycle's brakes.",
        "Letter from Tom.\r\nTook the caf\xE9's chairs back to the garden shop.",
        "Finished the book about the lighthouse keepers.",
        "Market day: pears, cheese, bread.\r\nEvening at the caf\xE9 with the chess club.",
    };
    std::string text = "[Days]\r\n";
    int offset = 0;
    for (const char *note : notes)
        text += noteLine(today.addDays(offset -= 9), note);
    writeProfile(folder, text);
    QSettings store("TamCal", "TamCal");
    store.setValue("frmFind/Left", "6900");
    store.setValue("frmFind/Top", "600");
    store.setValue("frmFind/Width", "8400");
    store.setValue("frmFind/Height", "5400");

    tamcal::test::FakePrompt prompt;
    frmCalView calendar(QDir(folder).filePath("tamcal").toStdString(), &prompt);
    calendar.Form_Load();
    waitUntilShown(calendar);
    calendar.findChild<QAction *>("mnuCalFind")->trigger();
    auto &find = *calendar.findChild<frmFind *>("frmFind");
    waitUntilShown(find);
    QTest::keyClicks(find.findChild<QLineEdit *>("txtFind"), "caf\u00C9");
    shoot("find.png", find);
    find.hide();
    calendar.hide();
}

void shootPasswordDialog()
{
    tamcal::test::FakePrompt prompt;
    frmPassword dialog(prompt);
    dialog.show();
    waitUntilShown(dialog);
    QTest::keyClicks(dialog.findChild<QLineEdit *>("txtPassword"), "secret");
    shoot("password.png", dialog);
}

// The settings dialog over the calendar, its background picture in the preview.
void shootSettings(const QString &folder)
{
    tamcal::test::FakePrompt prompt;
    frmCalView calendar(QDir(folder).filePath("tamcal").toStdString(), &prompt);
    calendar.Form_Load();
    waitUntilShown(calendar);
    frmSettings *dialog = calendar.mnuCalSettings_Click();
    waitUntilShown(*dialog);
    shoot("settings.png", *dialog);
    dialog->close();
    calendar.hide();
}

// The calendar alone, in the desktop's palette or in a dark one under Fusion.
void shootCalendar(const QString &folder, const QString &name, bool isDark)
{
    const QPalette light = QApplication::palette();
    if (isDark) {
        QApplication::setStyle("Fusion");
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 45, 48));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        dark.setColor(QPalette::Base, QColor(30, 30, 32));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        dark.setColor(QPalette::PlaceholderText, QColor(130, 130, 135));
        dark.setColor(QPalette::Button, QColor(58, 58, 62));
        dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        dark.setColor(QPalette::Mid, QColor(90, 90, 95));
        dark.setColor(QPalette::Highlight, QColor(61, 142, 240));
        dark.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
        QApplication::setPalette(dark);
    }
    tamcal::test::FakePrompt prompt;
    frmCalView calendar(QDir(folder).filePath("tamcal").toStdString(), &prompt);
    calendar.Form_Load();
    if (!QTest::qWaitForWindowExposed(&calendar))
        std::printf("%s: the calendar did not show\n", qPrintable(name));
    // Today framed, another day selected.
    auto &mvwShow = *calendar.findChild<MonthView *>("mvwShow");
    mvwShow.setValue(QDate::currentDate().addDays(2));
    mvwShow.setFocus();
    shoot(name, calendar);
    calendar.hide();
    QApplication::setPalette(light);
}

// The second ask for the first password of a diary, and the message when a
// save finds the profile locked by another copy of the program.
void shootPasswordAgainAndNotSaved()
{
    QtPrompt prompt(nullptr);
    QTimer::singleShot(500, [] {
        auto *dialog = qobject_cast<frmPassword *>(QApplication::activeModalWidget());
        QTest::keyClicks(dialog->findChild<QLineEdit *>("txtPassword"), "secret");
        shoot("password-again.png", *dialog);
        dialog->reject();
    });
    prompt.confirmPassword();

    tamcal::SaveResult locked(tamcal::WriteResult(
        tamcal::WriteFailure{tamcal::WriteStep::Lock, EWOULDBLOCK, "/home/me/diary/tamcal.ini",
                             "/home/me/diary/tamcal.ini.lock"}));
    QTimer::singleShot(500, [] {
        QWidget *box = QApplication::activeModalWidget();
        shoot("editor-not-saved.png", *box);
        box->close();
    });
    tamcal::Message message;
    message.text = "The note of Day 03/14/2004 was not saved.\r\n\r\n" + tamcal::describe(locked) +
                   "\r\n\r\nThe note is still in the editor.";
    message.title = "Not Saved!";
    message.icon = tamcal::MsgIcon::Exclamation;
    prompt.showMessage(message);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The calendar has no caption; window managers show the program's name.
    QApplication::setApplicationName("TamCal");
    const tamcal::test::WindowPictures pictures(argc, argv);
    screenshots = &pictures;

    QTemporaryDir plain;
    writeDiary(plain.path());
    // Under QT_SCALE_FACTOR only the calendar's looks are taken, named for the scale.
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR");
    if (!scale.isEmpty()) {
        shootCalendar(plain.path(), "calendar-scale" + scale + ".png", false);
        return 0;
    }
    shootCalendarAndEditor(plain.path());
    shootCalendar(plain.path(), "calendar-light.png", false);
    shootCalendar(plain.path(), "calendar-dark.png", true);

    QTemporaryDir pictured;
    writeDiary(pictured.path());
    if (argc > 2)
        QFile::copy(QString::fromLocal8Bit(argv[2]),
                    QDir(pictured.path()).filePath("Background.jpg"));
    shootCalendarAndEditor(pictured.path());
    shootSettings(pictured.path());

    QTemporaryDir searched;
    shootFindWindow(searched.path());

    QTemporaryDir locked;
    shootLockedEditor(locked.path());
    shootPasswordDialog();
    shootPasswordAgainAndNotSaved();
    return 0;
}
