#include "forms/windows1252.h"

#include "profile/userprompt.h"
#include "support/printers.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows1252, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    const QString text = tamcal::fromWindows1252(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_TRUE(tamcal::unstorableCharacters(text).isEmpty());
    EXPECT_EQ(tamcal::toWindows1252(text), all);
}

TEST(Windows1252, MapsTheCharactersBetweenLatin1AndUnicode)
{
    struct Case
    {
        const char *name;
        std::string bytes;
        QString text;
    };
    const Case cases[] = {
        {"euro", "\x80", QString(QChar(0x20AC))},
        {"quotes", "\x93hi\x94", QString(QChar(0x201C)) + "hi" + QChar(0x201D)},
        {"z caron", "\x9E", QString(QChar(0x017E))},
        {"unassigned byte", "\x81", QString(QChar(0x0081))},
        {"latin-1", "caf\xE9 \xA0", QString::fromUtf8("caf\u00e9 \u00a0")},
        {"line break", "a\r\nb", "a\r\nb"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tamcal::fromWindows1252(c.bytes), c.text);
        EXPECT_EQ(tamcal::toWindows1252(c.text), c.bytes);
    }
}

TEST(Windows1252, NamesTheCharactersItCannotHold)
{
    // U+0080 is a control that Windows-1252 does not assign; U+1F600 needs two
    // UTF-16 units.
    const QString text = QString::fromUtf8("a\u0142b\u4e2d\u0142\U0001F600") + QChar(0x80);
    EXPECT_EQ(tamcal::unstorableCharacters(text), (QList<char32_t>{0x0142, 0x4E2D, 0x1F600, 0x80}));
    EXPECT_EQ(tamcal::toWindows1252(text), "a?b???\?");
    const auto first = tamcal::firstUnstorable(QString::fromUtf8("ab\U0001F600"));
    EXPECT_EQ(first.start, 2);
    EXPECT_EQ(first.length, 2);
    EXPECT_EQ(tamcal::firstUnstorable("plain").start, -1);

    const tamcal::Message message = tamcal::unstorableMessage(tamcal::unstorableCharacters(text));
    EXPECT_EQ(message.text, "These characters cannot be stored in the profile file:\r\n"
                            "U+0142, U+4E2D, U+1F600, U+0080\r\n\r\n"
                            "Please remove them (the first one is selected) and try again.");
    EXPECT_EQ(message.icon, tamcal::MsgIcon::Exclamation);
    EXPECT_EQ(message.buttons, tamcal::MsgButtons::Ok);
}

TEST(Windows1252, SumsUpALongListOfCharacters)
{
    QList<char32_t> many;
    for (char32_t c = 0x400; c < 0x40C; ++c)
        many.append(c);
    const std::string text = tamcal::unstorableMessage(many).text;
    EXPECT_NE(text.find("U+0408, U+0409 and 2 more\r\n"), std::string::npos);
    EXPECT_EQ(text.find("U+040A"), std::string::npos);
}

} // namespace
