#pragma once

#include "support/tempfolder.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace tamcal::bench {

// A profile as a long-time user has it: one note of about 300 characters, in the plain
// hex form, for every day of ten years (about 2.2 MB). Made in its own temporary folder
// and removed with this object.
class TenYearProfile
{
public:
    static constexpr std::chrono::year_month_day kFirstDay{
        std::chrono::year{2000}, std::chrono::January, std::chrono::day{1}};
    static constexpr int kDayCount = 3653;

    TenYearProfile();
    TenYearProfile(const TenYearProfile &) = delete;
    TenYearProfile &operator=(const TenYearProfile &) = delete;

    const std::filesystem::path &folder() const { return m_folder.path(); }
    const std::string &iniPath() const { return m_iniPath; }

    // One profile for the whole benchmark program, made on first use, made the
    // running program's profile (its folder too) with protection off at every call.
    static const TenYearProfile &inUse();

    // The note stored for the day `index` days after kFirstDay.
    static std::string noteOfDay(int index);

private:
    test::TempFolder m_folder;
    std::string m_iniPath;
};

} // namespace tamcal::bench
