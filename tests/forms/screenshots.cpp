// Not a test: puts the windows on a real (virtual) screen in the states a
// person sees and saves a picture of each, for looking at them and for the
// README. Run under Xvfb:
//   xvfb-run -s "-screen 0 1280x1024x24" forms_screenshots OUT-FOLDER BACKGROUND-PICTURE
// Pictures are taken from the screen, so they show what the X server shows.

#include "forms/frmcalview.h"
#include "forms/frmdayedit.h"
#include "forms/frmpassword.h"
#include "forms/qtdates.h"
#include "forms/qtprompt.h"
#include "notes/cipher.h"
#include "notes/daynotes.h"
#include "support/fakeprompt.h"
#include "widgets/monthview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

QString outFolder;

void shoot(const QString &name, const QRect &area)
{
    QTest::qWait(300);
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(
        0, area.x(), area.y(), area.width(), area.height());
    const QString path = QDir(outFolder).filePath(name);
    std::printf("%s %s\n", qPrintable(path), picture.save(path) ? "saved" : "NOT SAVED");
}

void shoot(const QString &name, const QWidget &window)
{
    shoot(name, window.frameGeometry());
}

std::string noteLine(QDate day, const std::string &note)
{
    const auto key = tamcal::DayKey(tamcal::displayDateOf(day));
    return *key + "=" + tamcal::HexCode(note, false) + "\r\n";
}

void writeProfile(const QString &folder, const std::string &text)
{
    QFile file(QDir(folder).filePath("tamcal.ini"));
    file.open(QIODevice::WriteOnly);
    file.write(text.data(), static_cast<qint64>(text.size()));
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
    QTest::qWaitForWindowExposed(&calendar);
    shoot(calendar.hasPicture() ? "calendar-background.png" : "calendar.png", calendar);

    auto *menu = calendar.findChild<QMenu *>("MenuCal");
    auto &mvwShow = *calendar.findChild<MonthView *>("mvwShow");
    if (!calendar.hasPicture()) {
        menu->popup(mvwShow.mapToGlobal(mvwShow.dayRect(QDate::currentDate()).center()));
        shoot("calendar-menu.png", calendar);
        menu->close();
    }

    placeEditorBeside(calendar);
    frmDayEdit &editor = calendar.dayEditor();
    editor.setEditDay(QDate::currentDate().toString("MM/dd/yyyy"));
    QTest::qWaitForWindowExposed(&editor);
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
                             *tamcal::DayKey(tamcal::displayDateOf(today)) + "=" + stored + "\r\n");
    tamcal::test::FakePrompt prompt;
    frmCalView calendar(QDir(folder).filePath("tamcal").toStdString(), &prompt);
    calendar.Form_Load();
    frmDayEdit &editor = calendar.dayEditor();
    editor.setEditDay(today.toString("MM/dd/yyyy"));
    QTest::qWaitForWindowExposed(&editor);
    shoot("editor-locked.png", editor);
    editor.setDirty(false);
    editor.hide();
    calendar.hide();
}

void shootPasswordDialog()
{
    tamcal::test::FakePrompt prompt;
    frmPassword dialog(prompt);
    dialog.show();
    QTest::qWaitForWindowExposed(&dialog);
    QTest::keyClicks(dialog.findChild<QLineEdit *>("txtPassword"), "secret");
    shoot("password.png", dialog);
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
    outFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    QTemporaryDir plain;
    writeDiary(plain.path());
    shootCalendarAndEditor(plain.path());

    QTemporaryDir pictured;
    writeDiary(pictured.path());
    if (argc > 2)
        QFile::copy(QString::fromLocal8Bit(argv[2]),
                    QDir(pictured.path()).filePath("Background.jpg"));
    shootCalendarAndEditor(pictured.path());

    QTemporaryDir locked;
    shootLockedEditor(locked.path());
    shootPasswordDialog();
    shootPasswordAgainAndNotSaved();
    return 0;
}
