#include "forms/notepreview.h"

#include "forms/qtdates.h"
#include "forms/windows1252.h"
#include "notes/daynotes.h"
#include "profile/userprompt.h"

#include <QDate>
#include <QStringList>

namespace {

constexpr int kPreviewLines = 3;
constexpr int kPreviewCharacters = 300;

// Declines every question, so reading a note never opens a dialog: without the
// password of this run a protected note reads as unreadable.
class SilentPrompt : public tamcal::UserPrompt
{
public:
    tamcal::MsgAnswer showMessage(const tamcal::Message &) override
    {
        return tamcal::MsgAnswer::Cancel;
    }
    std::optional<std::string> askPassword(const std::string &) override { return std::nullopt; }
};

} // namespace

QString notePreview(const QDate &day)
{
    SilentPrompt silent;
    const std::string note = tamcal::ReadDayNote(tamcal::displayDateOf(day), silent);
    if (note.empty())
        return {};
    if (note == tamcal::kUnreadableNote)
        return QStringLiteral("Protected note");
    const QStringList lines = tamcal::fromWindows1252(note).split(QLatin1String("\r\n"));
    return lines.mid(0, kPreviewLines).join(QLatin1Char('\n')).left(kPreviewCharacters);
}
