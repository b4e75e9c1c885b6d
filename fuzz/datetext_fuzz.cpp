// Arbitrary text through the date-text reader. A text it accepts must name a
// moment that the program's own date forms write back and read as the same day.
#include "report/datetext.h"

#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace std::chrono;
using tamcal::fuzz::check;

void checkWrittenFormsReadBack(const tamcal::DateValue &value)
{
    check(value.timeOfDay >= seconds(0) && value.timeOfDay < days(1), "time of day in range");
    const year_month_day date{value.day};
    for (const std::string &text : {tamcal::DisplayDate(date), tamcal::ShortDateText(date)}) {
        const auto again = tamcal::ParseDateText(text);
        check(again && again->day == value.day && again->timeOfDay == seconds(0),
              "written date reads back: " + text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    if (const auto value = tamcal::ParseDateText(text))
        checkWrittenFormsReadBack(*value);
    return 0;
}
