#include "diaryfixture.h"

#include "forms/founddaysmodel.h"
#include "forms/frmfind.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QToolButton>

namespace {

using tamcal::test::DiaryTest;

const QDate kLunch(2004, 3, 14);
const QDate kParty(2003, 12, 31);
const QDate kSecret(2004, 7, 4);

class FindWindowTest : public DiaryTest
{
protected:
    // Ctrl+F in the calendar, as a person opens the search.
    frmFind &openFind()
    {
        QTest::keyClick(calendar.get(), Qt::Key_F, Qt::ControlModifier);
        auto *find = calendar->findChild<frmFind *>("frmFind");
        EXPECT_TRUE(find && find->isVisible());
        settle(*find);
        return *find;
    }

    QLineEdit &txtFind() const { return *calendar->findChild<QLineEdit *>("txtFind"); }
    QListView &lstFound() const { return *calendar->findChild<QListView *>("lstFound"); }

    QStringList rows() const
    {
        QStringList shown;
        const QAbstractItemModel &model = *lstFound().model();
        for (int row = 0; row < model.rowCount(); ++row)
            shown << model.index(row, 0).data().toString();
        return shown;
    }

    void expectEditorOn(QDate day)
    {
        frmDayEdit &editor = calendar->dayEditor();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.EditDay(), day.toString("MM/dd/yyyy"));
        EXPECT_EQ(mvwShow().Value(), day);
        EXPECT_LE(mvwShow().firstShownMonth(), day);
        EXPECT_GE(mvwShow().lastShownDay(), day);
    }
};

TEST_F(FindWindowTest, TypingUpdatesTheListAndReturnOpensTheDay)
{
    writeProfile("[Main]\r\nUsePass=False\r\n[Days]\r\n" +
                 noteLine(kLunch, "Errands\r\nLunch with Anna at the caf\xE9") +
                 noteLine(kParty, "ANNA's party\r\nCAF\xC9 closed") +
                 noteLine(QDate(2004, 1, 5), "Rain all day"));
    start();
    openFind();
    QTest::keyClicks(&txtFind(), "caf");
    EXPECT_EQ(rows(), QStringList({"03/14/2004: Lunch with Anna at the caf\u00E9",
                                   "12/31/2003: CAF\u00C9 closed"}));
    QTest::keyClicks(&txtFind(), "\u00C9");
    EXPECT_EQ(rows().size(), 2) << "\u00C9 finds \u00E9 too";
    EXPECT_EQ(calendar->findChild<QLabel *>("lblCount")->text(), "2 days");
    txtFind().clear();
    QTest::keyClicks(&txtFind(), "anna's");
    EXPECT_EQ(rows(), QStringList({"12/31/2003: ANNA's party"}));
    txtFind().clear();
    QTest::keyClicks(&txtFind(), "snow");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(calendar->findChild<QLabel *>("lblCount")->text(), "No day found");

    // The arrows walk the list from the text box; Return opens the day.
    txtFind().clear();
    QTest::keyClicks(&txtFind(), "ANNA");
    ASSERT_EQ(rows().size(), 2);
    QTest::keyClick(&txtFind(), Qt::Key_Down);
    QTest::keyClick(&txtFind(), Qt::Key_Return);
    expectEditorOn(kParty);
}

TEST_F(FindWindowTest, DoubleClickOpensTheDayAndItsMonthShows)
{
    writeProfile("[Main]\r\nUsePass=False\r\n[Days]\r\n" + noteLine(kLunch, "Lunch with Anna"));
    start();
    openFind();
    QTest::keyClicks(&txtFind(), "lunch");
    ASSERT_EQ(rows().size(), 1);
    const QRect row = lstFound().visualRect(lstFound().model()->index(0, 0));
    // A double-click begins with a click, which the list takes as the press.
    QTest::mouseClick(lstFound().viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(lstFound().viewport(), Qt::LeftButton, {}, row.center());
    expectEditorOn(kLunch);
}

TEST_F(FindWindowTest, ANoteSavedWhileTheWindowIsOpenIsFound)
{
    writeProfile("[Main]\r\nUsePass=False\r\n[Days]\r\n" + noteLine(kLunch, "Lunch with Anna"));
    start();
    openFind();
    QTest::keyClicks(&txtFind(), "picnic");
    EXPECT_TRUE(rows().isEmpty());
    frmDayEdit &editor = calendar->dayEditor();
    editor.setEditDay(kParty.toString("MM/dd/yyyy"));
    editor.findChild<QPlainTextEdit *>("txtDayEdit")->setPlainText("Picnic in the snow");
    QTest::mouseClick(editor.findChild<QToolButton *>("btnSave"), Qt::LeftButton);
    EXPECT_EQ(rows(), QStringList({"12/31/2003: Picnic in the snow"}));
}

// The password is asked for once, when the search starts; typing never asks.
TEST_F(FindWindowTest, ProtectedNotesAskThePasswordOnceWhenTheSearchStarts)
{
    const std::string stored = tamcal::CryptText("pwsecret garden", "pw");
    writeProfile("[Main]\r\nUsePass=True\r\n[Days]\r\n" + noteLine(kLunch, "Lunch") +
                 *tamcal::dayKey(tamcal::displayDateOf(kSecret)) + "=" + stored + "\r\n");
    prompt.passwords = {"pw"};
    start();
    frmFind &find = openFind();
    EXPECT_EQ(prompt.passwordRequests.size(), 1u);
    QTest::keyClicks(&txtFind(), "Secret");
    EXPECT_EQ(rows(), QStringList({"07/04/2004: secret garden"}));
    txtFind().clear();
    QTest::keyClicks(&txtFind(), "2004");
    EXPECT_EQ(prompt.passwordRequests.size(), 1u);
    EXPECT_TRUE(prompt.messages.empty());

    QTest::keyClick(&txtFind(), Qt::Key_Escape);
    EXPECT_FALSE(find.isVisible());
    EXPECT_TRUE(calendar->isVisible());
}

} // namespace
