#include "forms/qtprompt.h"

#include "forms/frmpassword.h"
#include "modal.h"
#include "support/printers.h"

#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using tamcal::Message;
using tamcal::MsgAnswer;
using tamcal::MsgButtons;
using tamcal::MsgIcon;
using tamcal::test::whenModal;

TEST(QtPrompt, ShowsTheMessageExactlyAndReturnsTheAnswer)
{
    struct Case
    {
        const char *name;
        Message message;
        QString shownText;
        QString shownTitle;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::StandardButton clicked;
        MsgAnswer answer;
    };
    const Case cases[] = {
        {"save question",
         {"The text in Day 03/14/2004 has changed.\r\n\r\nDo you want to save the changes?",
          "Save Changes?", MsgButtons::YesNoCancel, MsgIcon::Exclamation, 1},
         "The text in Day 03/14/2004 has changed.\n\nDo you want to save the changes?",
         "Save Changes?",
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
         QMessageBox::Warning,
         QMessageBox::Yes,
         QMessageBox::Cancel,
         MsgAnswer::Cancel},
        {"question with the second button as default",
         {"Would you like to save your password?", "Save Password?", MsgButtons::YesNo,
          MsgIcon::Question, 2},
         "Would you like to save your password?",
         "Save Password?",
         QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Question,
         QMessageBox::No,
         QMessageBox::Yes,
         MsgAnswer::Yes},
        {"critical, Windows-1252 text, default title",
         {"an error occured! \x80", "", MsgButtons::Ok, MsgIcon::Critical, 1},
         QString::fromUtf8("an error occured! \u20ac"),
         "TamCal",
         QMessageBox::Ok,
         QMessageBox::Critical,
         QMessageBox::Ok,
         QMessageBox::Ok,
         MsgAnswer::Ok},
        {"abort, retry, ignore",
         {"Cannot write", "Write", MsgButtons::AbortRetryIgnore, MsgIcon::Critical, 1},
         "Cannot write",
         "Write",
         QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
         QMessageBox::Critical,
         QMessageBox::Abort,
         QMessageBox::Retry,
         MsgAnswer::Retry},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        QtPrompt prompt(&owner);
        whenModal([&c](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), c.shownText);
            EXPECT_EQ(box->windowTitle(), c.shownTitle);
            EXPECT_EQ(box->standardButtons(), c.buttons);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton));
            box->button(c.clicked)->click();
        });
        EXPECT_EQ(prompt.showMessage(c.message), c.answer);
    }
}

TEST(QtPrompt, AsksForThePasswordInItsDialog)
{
    QWidget owner;
    QtPrompt prompt(&owner);
    whenModal([](QWidget *dialog) {
        auto *password = dialog->findChild<QLineEdit *>("txtPassword");
        ASSERT_NE(password, nullptr);
        EXPECT_EQ(password->text(), QString::fromUtf8("caf\u00e9"));
        password->clear();
        password->insert(QString::fromUtf8("s\u00e9same"));
        QTest::keyClick(password, Qt::Key_Return);
    });
    EXPECT_EQ(prompt.askPassword("caf\xE9"), std::optional<std::string>("s\xE9same"));

    whenModal([](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(prompt.askPassword(""), std::nullopt);
}

// A message asked from inside a dialog (the password dialog's "blank" warning)
// opens over that dialog, not over the prompt's far-away owner.
TEST(QtPrompt, AMessageFromADialogOpensOverThatDialog)
{
    QWidget owner;
    owner.setGeometry(0, 0, 200, 200);
    owner.show();
    QtPrompt prompt(&owner);
    QDialog asking;
    asking.setGeometry(700, 500, 300, 200);
    QWidget *boxParent = nullptr;
    whenModal([&](QWidget *) {
        whenModal([&](QWidget *box) {
            boxParent = box->parentWidget();
            QTest::keyClick(box, Qt::Key_Return);
        });
        prompt.showMessage(
            {"Password cannot be blank!", "1D10T Error!", MsgButtons::Ok, MsgIcon::Exclamation, 1});
        asking.accept();
    });
    asking.exec();
    EXPECT_EQ(boxParent, &asking);
}

} // namespace
