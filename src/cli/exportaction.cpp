#include "cli/actions.h"

#include "cli/cliprompt.h"
#include "cli/output.h"
#include "forms/windows1252.h"
#include "notes/daynotes.h"
#include "notes/notedays.h"
#include "report/datetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <vector>

namespace tamcal {

namespace {

using std::chrono::year_month_day;

struct ExportedNote
{
    year_month_day day;
    std::string text; // as ReadDayNote gives it: Windows-1252, lines ending CR LF
    bool isReadable;
};

std::vector<ExportedNote> notesInRange(const ExportRequest &request, CommandLinePrompt &prompt)
{
    std::vector<ExportedNote> notes;
    for (const year_month_day day : NotedDays()) {
        if ((request.from && day < *request.from) || (request.to && day > *request.to))
            continue;
        std::string text = ReadDayNote(displayDateText(day), prompt);
        const bool isReadable = text != kUnreadableNote;
        notes.push_back({day, std::move(text), isReadable});
    }
    return notes;
}

QString isoDate(year_month_day day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(day.year()), unsigned(day.month()),
                  unsigned(day.day()));
    return QString::fromLatin1(text);
}

// A diary to read: the day's date, its note with the system's line ends, a blank line.
QByteArray asText(const std::vector<ExportedNote> &notes)
{
    QString text;
    for (const ExportedNote &note : notes) {
        text += QString::fromStdString(displayDateText(note.day)) + "\n";
        text += note.isReadable
                    ? fromWindows1252(note.text).replace("\r\n", "\n")
                    : QString("(protected by a password that was not given or does not fit)");
        text += "\n\n";
    }
    return text.toUtf8();
}

// What other programs read: the note's text exactly, line ends included.
QByteArray asJson(const std::vector<ExportedNote> &notes)
{
    QJsonArray days;
    for (const ExportedNote &note : notes) {
        QJsonObject entry{{"date", isoDate(note.day)}};
        if (note.isReadable)
            entry.insert("text", fromWindows1252(note.text));
        else
            entry.insert("unreadable", true);
        days.append(entry);
    }
    return QJsonDocument(days).toJson(QJsonDocument::Indented);
}

} // namespace

int RunExport(const ExportRequest &request, CommandLinePrompt &prompt)
{
    LoadProfileSettings();
    const std::vector<ExportedNote> notes = notesInRange(request, prompt);
    const QByteArray bytes = request.format == ExportFormat::Json ? asJson(notes) : asText(notes);
    if (const auto reason =
            WriteOutput(request.out, {bytes.constData(), std::size_t(bytes.size())}))
        return ReportNotWritten(request.out.empty() ? "standard output" : request.out, *reason);
    return kExitSucceeded;
}

} // namespace tamcal
