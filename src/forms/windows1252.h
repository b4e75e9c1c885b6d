#pragma once

#include <QList>
#include <QString>

#include <string>

namespace tamcal {

struct Message;

// Note text, messages and passwords are Windows-1252 bytes in the core and
// QString on screen; this is the one place that converts between the two.
// Every byte maps to a character and back, so bytes survive a round trip
// unchanged (the five unassigned bytes travel as the C1 control of that code).

QString fromWindows1252(const std::string &bytes);

// Characters that Windows-1252 cannot hold become "?"; callers that must not
// lose any check unstorableCharacters first.
std::string toWindows1252(const QString &text);

// Note text and message text separate lines by CR LF; text boxes and labels
// separate them by LF. These two convert between the stored bytes and the text
// on screen, line breaks included.
QString screenTextOf(const std::string &noteText);
std::string noteTextOf(const QString &screenText);

// The distinct characters of `text` that Windows-1252 cannot hold, as code
// points in the order they first appear.
QList<char32_t> unstorableCharacters(const QString &text);

// Where the first character that can't be stored sits in `text`, in UTF-16
// units; start is -1 when every character can be stored.
struct TextSpan
{
    qsizetype start = -1;
    qsizetype length = 0;
};
TextSpan firstUnstorable(const QString &text);

// Tells the person which characters can't be stored, as U+ codes since the
// message itself is Windows-1252.
Message unstorableMessage(const QList<char32_t> &characters);

} // namespace tamcal
