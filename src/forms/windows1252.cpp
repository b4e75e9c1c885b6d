#include "forms/windows1252.h"

#include "profile/userprompt.h"

#include <QStringView>

#include <array>
#include <optional>
#include <string>

namespace tamcal {
namespace {

// Bytes 0x80-0x9F; the unassigned ones map to the C1 control of the same code.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> byteOf(char32_t codePoint)
{
    const bool isHighControl = codePoint >= 0x80 && codePoint <= 0x9F;
    if (codePoint <= 0xFF && !isHighControl)
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// Beyond this many, the message sums up the rest.
constexpr qsizetype kNamedCharacters = 10;

std::string codeText(char32_t codePoint)
{
    return "U+" + QString::number(codePoint, 16).toUpper().rightJustified(4, '0').toStdString();
}

} // namespace

QString fromWindows1252(const std::string &bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool isHighControl = byte >= 0x80 && byte <= 0x9F;
        text.append(QChar(isHighControl ? kHighControls[byte - 0x80] : char16_t(byte)));
    }
    return text;
}

std::string toWindows1252(const QString &text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t codePoint : text.toUcs4())
        bytes.push_back(byteOf(codePoint).value_or('?'));
    return bytes;
}

QString screenTextOf(const std::string &noteText)
{
    return fromWindows1252(noteText).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

std::string noteTextOf(const QString &screenText)
{
    return toWindows1252(QString(screenText).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
}

QList<char32_t> unstorableCharacters(const QString &text)
{
    QList<char32_t> found;
    for (const char32_t codePoint : text.toUcs4()) {
        if (!byteOf(codePoint) && !found.contains(codePoint))
            found.append(codePoint);
    }
    return found;
}

TextSpan firstUnstorable(const QString &text)
{
    qsizetype position = 0;
    for (const char32_t codePoint : text.toUcs4()) {
        const qsizetype width = QChar::requiresSurrogates(codePoint) ? 2 : 1;
        if (!byteOf(codePoint))
            return {position, width};
        position += width;
    }
    return {};
}

Message unstorableMessage(const QList<char32_t> &characters)
{
    std::string names;
    for (qsizetype i = 0; i < characters.size() && i < kNamedCharacters; ++i)
        names += (i == 0 ? "" : ", ") + codeText(characters[i]);
    if (characters.size() > kNamedCharacters)
        names += " and " + std::to_string(characters.size() - kNamedCharacters) + " more";
    Message message;
    message.text = "These characters cannot be stored in the profile file:\r\n" + names +
                   "\r\n\r\nPlease remove them (the first one is selected) and try again.";
    message.title = "Characters Cannot Be Stored";
    message.icon = MsgIcon::Exclamation;
    return message;
}

} // namespace tamcal
