#include "forms/notepreview.h"

#include "forms/qtdates.h"
#include "forms/silentprompt.h"
#include "forms/windows1252.h"
#include "notes/daynotes.h"

#include <QDate>
#include <QStringList>

namespace {

constexpr int kPreviewLines = 3;
constexpr int kPreviewCharacters = 300;

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
