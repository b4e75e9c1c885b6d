#include "profile/safetycopy.h"

#include "profile/inifile.h"
#include "profile/settings.h"
#include "profile/userprompt.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tamcal {

namespace fs = std::filesystem;

namespace {

constexpr const char *kFolderName = "backups";
// "-YYYY-MM-DD.ini" after the profile's own name.
constexpr std::size_t kDatedSuffixLength = 15;

std::string isoDate(std::chrono::year_month_day date)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

// Whether the file name is one of this profile's daily copies: NAME-YYYY-MM-DD.ini.
bool isDatedCopy(const std::string &fileName, const std::string &stem)
{
    if (fileName.size() != stem.size() + kDatedSuffixLength || fileName.rfind(stem, 0) != 0)
        return false;
    const std::string suffix = fileName.substr(stem.size());
    const std::string pattern = "-0000-00-00.ini";
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool digit = suffix[i] >= '0' && suffix[i] <= '9';
        if (pattern[i] == '0' ? !digit : suffix[i] != pattern[i])
            return false;
    }
    return true;
}

SafetyCopyFailure failure(const fs::path &file, const std::error_code &error)
{
    return {file.string(), error.message()};
}

// Copies through a file of another name, so that a copy cut short never passes
// for the day's copy.
std::optional<SafetyCopyFailure> copyProfile(const fs::path &profile, const fs::path &target)
{
    std::error_code error;
    const fs::path folder = target.parent_path();
    if (fs::create_directory(folder, error))
        fs::permissions(folder, fs::perms::owner_all, error);
    if (error)
        return failure(folder, error);
    fs::path partial = target;
    partial += ".part";
    fs::copy_file(profile, partial, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::rename(partial, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        return failure(target, error);
    }
    return std::nullopt;
}

// Removes the oldest of the profile's dated copies until `keep` are left; the
// dates in the names sort as the days do.
std::optional<SafetyCopyFailure> removeOldCopies(const fs::path &folder, const std::string &stem,
                                                 int keep)
{
    std::error_code error;
    std::vector<std::string> names;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (isDatedCopy(name, stem))
            names.push_back(name);
    }
    if (error)
        return failure(folder, error);
    std::sort(names.begin(), names.end(), std::greater<>());
    for (std::size_t i = static_cast<std::size_t>(keep); i < names.size(); ++i) {
        if (!fs::remove(folder / names[i], error) && error)
            return failure(folder / names[i], error);
    }
    return std::nullopt;
}

} // namespace

int safetyCopyCount(const std::string &profile)
{
    const std::string text = ReadIni("Main", "Backups", std::string(), profile);
    int count = 0;
    const char *end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, count);
    if (text.empty() || text.front() == '-' || last != end)
        return kDefaultSafetyCopies;
    if (error == std::errc::result_out_of_range)
        return INT_MAX;
    return error == std::errc() ? count : kDefaultSafetyCopies;
}

std::optional<SafetyCopyFailure> keepSafetyCopy(const std::string &profile,
                                                std::chrono::year_month_day today, int keep)
{
    std::error_code error;
    const fs::path source(profile);
    if (keep <= 0 || !fs::exists(source, error))
        return std::nullopt;
    const std::string stem = source.stem().string();
    const fs::path folder = source.parent_path() / kFolderName;
    const fs::path target = folder / (stem + "-" + isoDate(today) + ".ini");
    if (fs::exists(target, error))
        return std::nullopt;
    if (auto failed = copyProfile(source, target))
        return failed;
    return removeOldCopies(folder, stem, keep);
}

std::chrono::year_month_day localToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {std::chrono::year(local.tm_year + 1900),
            std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)),
            std::chrono::day(static_cast<unsigned>(local.tm_mday))};
}

void keepDailySafetyCopy(UserPrompt &prompt)
{
    const std::string &profile = AppSettings.IniPath;
    const auto failed = keepSafetyCopy(profile, SafetyCopyToday(), safetyCopyCount(profile));
    if (!failed || SafetyCopyFailureReported)
        return;
    SafetyCopyFailureReported = true;
    Message message;
    message.text = "Today's safety copy of the diary could not be made: " + failed->file + ": " +
                   failed->reason +
                   ".\r\n\r\nYour note is saved all the same. Until the program starts "
                   "again, no other failed copy is reported.";
    message.title = "Safety Copy Not Made";
    message.icon = MsgIcon::Exclamation;
    prompt.showMessage(message);
}

} // namespace tamcal
