#include "diaryfixture.h"

#include "forms/frmsettings.h"
#include "profile/inifile.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace tamcal::test {
namespace {

class SettingsWindow : public DiaryTest
{
protected:
    frmSettings &openSettings()
    {
        // A dialog closed before is deleted once the event loop gets to it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        calendar->findChild<QAction *>("mnuCalSettings")->trigger();
        auto *dialog = calendar->findChild<frmSettings *>("frmSettings");
        EXPECT_TRUE(dialog && dialog->isVisible());
        return *dialog;
    }

    template <typename T> static T &control(frmSettings &dialog, const char *name)
    {
        return *dialog.findChild<T *>(name);
    }

    static void click(frmSettings &dialog, const char *button)
    {
        QTest::mouseClick(&control<QPushButton>(dialog, button), Qt::LeftButton);
    }

    std::string mainValue(const std::string &key) const
    {
        return ReadIni("Main", key, "<absent>", profilePath().toStdString());
    }

    QString picture(const char *name) const
    {
        QImage image(64, 40, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = folder.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
};

TEST_F(SettingsWindow, OkWritesAtOnceAndTheExitWritesTheSame)
{
    writeProfile("[Main]\r\nDoPopup=False\r\n");
    start();
    const QString chosen = picture("garden.png");
    frmSettings &dialog = openSettings();
    EXPECT_EQ(control<QSpinBox>(dialog, "spnBackups").value(), 14);
    EXPECT_FALSE(calendar->hasPicture());
    dialog.setPictureChooser([&] { return chosen; });
    control<QCheckBox>(dialog, "chkDoPopup").setChecked(true);
    click(dialog, "btnBrowse");
    EXPECT_FALSE(control<QLabel>(dialog, "imgPreview").pixmap().isNull());
    control<QLineEdit>(dialog, "txtViewTitle").setText("Diary of Zoë");
    control<QSpinBox>(dialog, "spnBackups").setValue(0);
    click(dialog, "btnOK");

    const std::map<std::string, std::string> expected{{"DoPopup", "True"},
                                                      {"Background", chosen.toStdString()},
                                                      {"ViewTitle", "Diary of Zo\xEB"},
                                                      {"Backups", "0"},
                                                      {"UsePass", "False"}};
    for (const auto &[key, value] : expected)
        EXPECT_EQ(mainValue(key), value) << key << " after OK";
    EXPECT_TRUE(calendar->hasPicture()) << "the background did not change at once";
    EXPECT_TRUE(calendar->ynDoDailyPopup());

    calendar->close();
    for (const auto &[key, value] : expected)
        EXPECT_EQ(mainValue(key), value) << key << " after the exit";

    start();
    frmSettings &again = openSettings();
    EXPECT_TRUE(control<QCheckBox>(again, "chkDoPopup").isChecked());
    EXPECT_EQ(control<QLineEdit>(again, "txtViewTitle").text(), "Diary of Zoë");
    EXPECT_EQ(control<QSpinBox>(again, "spnBackups").value(), 0);
    EXPECT_EQ(control<QLabel>(again, "lblPicture").text(), "garden.png");
}

TEST_F(SettingsWindow, CancelChangesNothingAndNoneTakesThePictureAway)
{
    picture("Background.png");
    writeProfile("[Main]\r\nBackups=3\r\nViewTitle=Mine\r\n");
    start();
    ASSERT_TRUE(calendar->hasPicture());
    const std::string before = profileText();
    frmSettings &dialog = openSettings();
    control<QCheckBox>(dialog, "chkUsePass").setChecked(true);
    control<QCheckBox>(dialog, "chkDoPopup").setChecked(true);
    click(dialog, "btnNone");
    control<QLineEdit>(dialog, "txtViewTitle").setText("Other");
    control<QSpinBox>(dialog, "spnBackups").setValue(9);
    click(dialog, "btnCancel");
    EXPECT_EQ(profileText(), before);
    EXPECT_TRUE(calendar->hasPicture());
    EXPECT_FALSE(AppSettings.UsePass);
    EXPECT_TRUE(prompt.passwordRequests.empty() && prompt.confirmations == 0);

    frmSettings &none = openSettings();
    EXPECT_EQ(control<QSpinBox>(none, "spnBackups").value(), 3);
    click(none, "btnNone");
    click(none, "btnOK");
    EXPECT_FALSE(calendar->hasPicture());
    EXPECT_EQ(mainValue("Background"), "");
}

struct WindowConversion
{
    const char *name;
    std::string before; // the notes' password; empty for the plain form
    std::vector<std::optional<std::string>> typed;
    const char *action; // the box to switch, or the button to click
    std::string after;
};

TEST_F(SettingsWindow, ProtectionSwitchedInTheWindowConvertsEveryNote)
{
    const QDate first(2004, 7, 4);
    const QDate second(2004, 7, 5);
    const std::vector<WindowConversion> cases{
        {"on", "", {"Secret", "Secret"}, "chkUsePass", "Secret"},
        {"off", "Secret", {"Secret"}, "chkUsePass", ""},
        {"change", "Secret", {"Secret", "Other", "Other"}, "btnChangePassword", "Other"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        prompt = {};
        const auto line = [&](QDate day, const std::string &note) {
            return *dayKey(displayDateOf(day)) + "=" +
                   (c.before.empty() ? HexCode(note, false)
                                     : CryptText(c.before + note, c.before)) +
                   "\r\n";
        };
        writeProfile("[Main]\r\nUsePass=" + std::string(c.before.empty() ? "False" : "True") +
                     "\r\n[Days]\r\n" + line(first, "one") + line(second, "two\r\nlines"));
        start();
        frmSettings &dialog = openSettings();
        EXPECT_EQ(control<QPushButton>(dialog, "btnChangePassword").isEnabled(), !c.before.empty());
        prompt.passwords = {c.typed.begin(), c.typed.end()};
        if (std::string(c.action) == "chkUsePass")
            control<QCheckBox>(dialog, "chkUsePass").toggle();
        else
            click(dialog, c.action);
        click(dialog, "btnOK");
        EXPECT_TRUE(prompt.messages.empty());
        EXPECT_TRUE(prompt.answers.empty() && prompt.passwords.empty());
        EXPECT_EQ(mainValue("UsePass"), c.after.empty() ? "False" : "True");
        EXPECT_EQ(AppSettings.UsePass, !c.after.empty());
        const std::string stored =
            ReadIni("Days", *dayKey(displayDateOf(first)), "", profilePath().toStdString());
        EXPECT_EQ(stored,
                  c.after.empty() ? HexCode("one", false) : CryptText(c.after + "one", c.after));
        CurrentPassword = c.after;
        EXPECT_EQ(storedNote(second), "two\r\nlines");
        calendar->close();
        EXPECT_EQ(mainValue("UsePass"), c.after.empty() ? "False" : "True") << "after the exit";
    }
}

TEST_F(SettingsWindow, ProtectionNotTurnedOnKeepsTheDialogOpen)
{
    writeProfile("[Days]\r\n" + noteLine(QDate(2004, 7, 4), "one"));
    start();
    const std::string before = profileText();
    frmSettings &dialog = openSettings();
    control<QCheckBox>(dialog, "chkUsePass").setChecked(true);
    prompt.passwords = {"Secret", std::nullopt};
    click(dialog, "btnOK");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(control<QCheckBox>(dialog, "chkUsePass").isChecked());
    EXPECT_EQ(profileText(), before);
}

} // namespace
} // namespace tamcal::test
