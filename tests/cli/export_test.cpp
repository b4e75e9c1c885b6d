// The export is the way out of the program: every note, as other tools read it.
#include "cliprofile.h"

#include "forms/windows1252.h"
#include "profile/inifile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <map>

namespace tamcal::test {
namespace {

class Export : public CliProfile
{
protected:
    QJsonArray exportJson(QStringList arguments)
    {
        arguments << "--export"
                  << "--format"
                  << "json";
        const ProgramRun run = tamcal(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        EXPECT_TRUE(document.isArray());
        return document.array();
    }
};

// Notes that a careless writer of JSON or of the character set would spoil.
const std::map<std::string, std::string> kNotes = {
    {"02/29/2004", "leap day\r\nsecond line\r\n"},
    {"12/31/1999", "quote \" backslash \\ slash / tab\t<b>markup</b>"},
    {"01/01/2000", "\x80 euro, \x81 unassigned, \xE9t\xE9, \xFF, \x9F"},
    {"07/04/2004", "x"},
};

TEST_F(Export, JsonRoundTripsEveryNoteOldestFirst)
{
    for (const auto &[day, note] : kNotes)
        addNote(day, note);
    // What no note is: an empty value, and keys that name no day.
    IniAccess("Days", "03012004T", "", true);
    IniAccess("Days", "13012004T", "41", true);
    IniAccess("Days", "Garbage", "41", true);

    const QJsonArray days = exportJson({});
    ASSERT_EQ(days.size(), qsizetype(kNotes.size()));
    const char *const order[] = {"12/31/1999", "01/01/2000", "02/29/2004", "07/04/2004"};
    const char *const iso[] = {"1999-12-31", "2000-01-01", "2004-02-29", "2004-07-04"};
    FakePrompt prompt;
    for (qsizetype i = 0; i < days.size(); ++i) {
        SCOPED_TRACE(order[i]);
        const QJsonObject entry = days[i].toObject();
        EXPECT_EQ(entry.value("date").toString(), iso[i]);
        EXPECT_EQ(entry.keys(), QStringList({"date", "text"}));
        const QString text = entry.value("text").toString();
        EXPECT_EQ(text, fromWindows1252(ReadDayNote(order[i], prompt)));
        EXPECT_EQ(toWindows1252(text), kNotes.at(order[i]));
    }
}

TEST_F(Export, RangeKeepsTheDaysWithinBothEnds)
{
    for (const auto &[day, note] : kNotes)
        addNote(day, note);
    struct RangeCase
    {
        const char *name;
        QStringList arguments;
        QStringList dates;
    };
    const RangeCase cases[] = {
        {"both ends included",
         {"--from", "1/1/2000", "--to", "2/29/2004"},
         {"2000-01-01", "2004-02-29"}},
        {"from only", {"--from", "03/01/2004"}, {"2004-07-04"}},
        {"to only", {"--to", "12/31/1999"}, {"1999-12-31"}},
        {"empty range", {"--from", "7/5/2004"}, {}},
        {"ends crossed", {"--from", "7/4/2004", "--to", "1/1/2000"}, {}},
    };
    for (const RangeCase &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList dates;
        for (const QJsonValue &entry : exportJson(c.arguments))
            dates << entry.toObject().value("date").toString();
        EXPECT_EQ(dates, c.dates);
    }
}

TEST_F(Export, ProtectedNotesNeedThePasswordElseTheyAreMarkedUnreadable)
{
    addNote("3/14/2004", "Pi day", "secret");
    addNote("3/15/2004", "Ides", "secret");
    IniAccess("Main", "UsePass", "True", true);
    writeBytes(folder.file("password.txt"), "secret\n");

    const QJsonArray read = exportJson({"--password-file", file("password.txt")});
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[0].toObject().value("text").toString(), "Pi day");
    EXPECT_EQ(read[1].toObject().value("text").toString(), "Ides");

    const QJsonArray locked = exportJson({});
    ASSERT_EQ(locked.size(), 2);
    EXPECT_EQ(locked[0].toObject(), QJsonObject({{"date", "2004-03-14"}, {"unreadable", true}}));
    EXPECT_EQ(locked[1].toObject().value("unreadable"), QJsonValue(true));
}

TEST_F(Export, TextIsADiaryToReadInTheSystemsCharacters)
{
    addNote("7/4/2004", "Fireworks\r\nat nine");
    addNote("7/5/2004", "Caf\xE9");

    const ProgramRun run = tamcal({"--export", "--out", file("diary.txt")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readBytes(folder.file("diary.txt")),
              "07/04/2004\nFireworks\nat nine\n\n07/05/2004\nCaf\xC3\xA9\n\n");
    EXPECT_TRUE(run.out.isEmpty());
}

} // namespace
} // namespace tamcal::test
