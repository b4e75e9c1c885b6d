// Arbitrary note bytes through the report's day cell and the whole report.
// Nothing crashes; each note stands in its cell as it was, only its CR LF pairs
// turned into "<BR>" and CR LF; the report file holds every listed day's cell.
//
// Input: byte 0 holds the scripts flag and the range's length, byte 1 the
// range's first day, bytes 2 and 3 an item number; the rest holds the notes,
// one for each listed day, separated by byte 0x1F.
#include "report/datetext.h"
#include "report/daycells.h"
#include "report/reportdocument.h"

#include "profile/settings.h"
#include "report/fakereporthost.h"
#include "support/tempfolder.h"

#include "fuzzcheck.h"
#include "fuzzfolder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace std::chrono;
using tamcal::fuzz::check;

constexpr sys_days kFirstDay{2004y / February / 20};

// The report is written beside a profile that does not exist: no notes are
// stored, the fuzzer's notes are put in the loaded report days instead.
class ReportFolder
{
public:
    ReportFolder() : m_folder("report")
    {
        tamcal::AppSettings.AppFolder = m_folder.prefix();
        tamcal::AppSettings.IniPath = m_folder.prefix() + "tamcal.ini";
    }

private:
    tamcal::fuzz::FuzzFolder m_folder;
};

std::vector<std::string> splitNotes(const std::string &bytes)
{
    std::vector<std::string> notes(1);
    for (char c : bytes) {
        if (c == '\x1F')
            notes.emplace_back();
        else
            notes.back() += c;
    }
    return notes;
}

std::string noteAsHtml(const std::string &note)
{
    std::string html;
    for (std::size_t i = 0; i < note.size(); ++i) {
        if (note.compare(i, 2, "\r\n") == 0)
            html += "<BR>";
        html += note[i];
    }
    return html;
}

void checkDayItem(short item, const std::string &dayText, const std::string &note, bool scripts)
{
    const std::string cell = tamcal::BuildDayItem(item, dayText, note, scripts);
    const std::string noteLine = "\r\n" + std::string(28, ' ') + noteAsHtml(note) + "\r\n" +
                                 std::string(24, ' ') + "</SPAN>";
    check(cell.find(noteLine) != std::string::npos, "the note stands in its cell unchanged");
    // A day text that is no date still gives a cell.
    tamcal::BuildDayItem(item, note, note, scripts);
}

void checkReport(const std::string &begin, std::string end, const std::vector<std::string> &notes,
                 bool scripts)
{
    tamcal::test::FakeReportHost host;
    tamcal::LoadReportDays(begin, end, host);
    for (std::size_t k = 0; k < tamcal::ReportNotes.size(); ++k)
        tamcal::ReportNotes[k] = notes[k % notes.size()];
    short size = 0;
    const std::string path = tamcal::BuildReport(begin, end, scripts, size, host);
    check(!path.empty(), "a report of a valid range is written");
    const std::string report = tamcal::test::readBytes(path);
    for (std::size_t k = 0; k < tamcal::ReportDates.size(); ++k) {
        const std::string cell =
            tamcal::BuildDayItem(short(k), tamcal::ReportDates[k], tamcal::ReportNotes[k], scripts);
        check(report.find(cell) != std::string::npos, "the report holds every day's cell");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static ReportFolder folder;
    if (size < 4)
        return 0;
    const bool scripts = data[0] & 1;
    const sys_days first = kFirstDay + days(data[1] % 60);
    const sys_days lastDay = first + days((data[0] >> 1) % 8);
    const short item = short(data[2] | (data[3] << 8));
    const auto notes = splitNotes(std::string(reinterpret_cast<const char *>(data) + 4, size - 4));

    for (const std::string &note : notes)
        checkDayItem(item, tamcal::shortDateText(first), note, scripts);
    checkReport(tamcal::displayDateText(first), tamcal::displayDateText(lastDay), notes, scripts);
    return 0;
}
