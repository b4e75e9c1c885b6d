#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>

namespace tamcal::test {

// The day key of the day `index` days after 1 January 2000, as "MMDDYYYYT".
std::string sampleDayKey(int index);
// Which sample day a day key names; nothing for any other key.
std::optional<int> sampleDayIndex(const std::string &key);
// A stored note of `length` hex digits that differs for every index, so a
// value cut short or written for another day shows.
std::string sampleValue(int index, std::size_t length = 300);

// The keys and values of a profile that holds only "[Days]" and key lines, as
// the profile code writes them; nothing when any line is anything else, such as
// a line cut short by an interrupted write.
std::optional<std::map<std::string, std::string>> parseDaysProfile(const std::string &bytes);

} // namespace tamcal::test
