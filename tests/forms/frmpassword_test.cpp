#include "forms/frmpassword.h"

#include "support/fakeprompt.h"
#include "support/printers.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PasswordDialog : public ::testing::Test
{
protected:
    void SetUp() override { dialog.show(); }

    QLineEdit *box() { return dialog.findChild<QLineEdit *>("txtPassword"); }
    QPushButton *button(const char *name) { return dialog.findChild<QPushButton *>(name); }

    tamcal::test::FakePrompt prompt;
    frmPassword dialog{prompt};
};

TEST_F(PasswordDialog, HasItsCaptionsSizeAndTabOrder)
{
    EXPECT_EQ(dialog.windowTitle(), "Enter Password");
    // 3720 x 1095 twips, taller when the warning needs more lines in this font.
    const auto *label = dialog.findChild<QLabel *>("Label1");
    EXPECT_EQ(label->text(), "If you forget your password, You are Plum out of luck!");
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_EQ(dialog.width(), 248);
    EXPECT_EQ(dialog.height(), 73 + label->height() - 25);
    EXPECT_EQ(box()->y(), 40 + label->height() - 25);
    EXPECT_EQ(button("btnOK")->text(), "Ok");
    EXPECT_TRUE(button("btnOK")->isDefault());
    EXPECT_EQ(button("btnClose")->text(), "Cancel");
    EXPECT_EQ(box()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(box()->nextInFocusChain(), button("btnOK"));
    EXPECT_EQ(button("btnOK")->nextInFocusChain(), button("btnClose"));
}

TEST_F(PasswordDialog, BlankPasswordIsRefusedAndTheDialogStays)
{
    QTest::mouseClick(button("btnOK"), Qt::LeftButton);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Password cannot be blank!");
    EXPECT_EQ(prompt.messages[0].title, "1D10T Error!");
    EXPECT_EQ(prompt.messages[0].buttons, tamcal::MsgButtons::Ok);
    EXPECT_EQ(prompt.messages[0].icon, tamcal::MsgIcon::Exclamation);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(PasswordDialog, OkTakesTheTextExactly)
{
    dialog.setPassword("old");
    box()->setText(" Secret ");
    QTest::mouseClick(button("btnOK"), Qt::LeftButton);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.password(), " Secret ");
}

TEST_F(PasswordDialog, CharactersTheProfileCannotHoldAreNamed)
{
    box()->setText(QString::fromUtf8("ab\u0142c"));
    QTest::mouseClick(button("btnOK"), Qt::LeftButton);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].text.find("U+0142"), std::string::npos);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(box()->selectedText(), QString::fromUtf8("\u0142"));
}

TEST_F(PasswordDialog, TheBoxIsNamedForScreenReaders)
{
    EXPECT_EQ(QAccessible::queryAccessibleInterface(box())->text(QAccessible::Name), "Password");
}

// Such a password could never encipher a note; the person is told at once and
// can type another, instead of every later save failing.
TEST_F(PasswordDialog, PasswordBeginningWithTheCipherMarkerIsRefused)
{
    struct Case
    {
        const char *typed;
        bool isTaken;
    };
    for (const auto &c : {Case{"737", false}, Case{"737secret", false}, Case{"7370", false},
                          Case{"73", true}, Case{"x737", true}}) {
        SCOPED_TRACE(c.typed);
        prompt.messages.clear();
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        box()->setText(c.typed);
        QTest::keyClick(box(), Qt::Key_Return);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.isTaken);
        EXPECT_EQ(dialog.isVisible(), !c.isTaken);
        if (c.isTaken)
            continue;
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].title, "Password Not Usable");
        EXPECT_NE(prompt.messages[0].text.find("\"737\""), std::string::npos);
        EXPECT_EQ(box()->selectedText(), c.typed) << "ready to be typed over";
    }
}

TEST_F(PasswordDialog, ConfirmingStartsEmptyAndSaysSo)
{
    dialog.setPassword("first");
    dialog.setConfirming();
    EXPECT_EQ(dialog.windowTitle(), "Enter Password Again");
    EXPECT_EQ(box()->text(), "");
}

TEST_F(PasswordDialog, CancelAndEscapeLeaveWithoutAPassword)
{
    QTest::mouseClick(button("btnClose"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    QTest::keyClick(box(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
