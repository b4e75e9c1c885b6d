#include "tenyearprofile.h"

#include "notes/cipher.h"
#include "notes/daynotes.h"
#include "profile/settings.h"
#include "report/datetext.h"

#include <fstream>
#include <stdexcept>

namespace tamcal::bench {

TenYearProfile::TenYearProfile() : m_iniPath(m_folder.file("tamcal.ini"))
{
    std::ofstream out(m_iniPath, std::ios::binary);
    out << "[Main]\r\nUsePass=False\r\nDoPopup=False\r\nViewTitle=Ten years\r\n[Days]\r\n";
    const std::chrono::sys_days first{kFirstDay};
    for (int index = 0; index < kDayCount; ++index) {
        const std::string dayText = shortDateText(first + std::chrono::days{index});
        out << *dayKey(dayText) << '=' << HexCode(noteOfDay(index), false) << "\r\n";
    }
    if (!out.flush())
        throw std::runtime_error("cannot write the ten-year profile");
}

const TenYearProfile &TenYearProfile::inUse()
{
    static const TenYearProfile instance;
    AppSettings.AppFolder = instance.folder().string() + "/";
    AppSettings.IniPath = instance.iniPath();
    AppSettings.UsePass = false;
    return instance;
}

std::string TenYearProfile::noteOfDay(int index)
{
    std::string note = "Day " + std::to_string(index) + " of the diary.\r\n";
    static const std::string kLine = "Walked to the market, wrote letters, read in the garden "
                                     "until the light went; an ordinary, quiet day.\r\n";
    while (note.size() + kLine.size() <= 300)
        note += kLine;
    note.resize(300, '.');
    return note;
}

} // namespace tamcal::bench
