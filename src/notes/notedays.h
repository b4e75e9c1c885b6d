#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tamcal {

// Every day that holds a note, oldest first: the days named by the keys of
// section Days ("MMDDYYYYT") whose stored value is not empty. Keys that name
// no day are passed over, as ReadDayNote would never reach them.
std::vector<std::chrono::year_month_day> NotedDays();

// The day a key of section Days ("MMDDYYYYT", any letter case) names.
std::optional<std::chrono::year_month_day> dayOfKey(const std::string &key);

} // namespace tamcal
