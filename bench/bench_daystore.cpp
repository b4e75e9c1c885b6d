#include "tenyearprofile.h"

#include "notes/daynotes.h"
#include "profile/settings.h"
#include "profile/userprompt.h"
#include "report/datetext.h"

#include "support/fakeprompt.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace {

using tamcal::bench::TenYearProfile;

std::string dayText(int index)
{
    const std::chrono::sys_days first{TenYearProfile::kFirstDay};
    return tamcal::shortDateText(first + std::chrono::days{index});
}

// The calendar marks twelve months: 372 day cells, all of them days with notes.
void BM_MarkTwelveMonths(benchmark::State &state)
{
    TenYearProfile::inUse();
    std::vector<std::string> days;
    for (int index = 1800; index < 1800 + 372; ++index)
        days.push_back(dayText(index));
    for (auto _ : state) {
        int marked = 0;
        for (const auto &day : days)
            marked += tamcal::DayHasNote(day);
        if (marked != 372)
            state.SkipWithError("a day with a note was not marked");
        benchmark::DoNotOptimize(marked);
    }
}
BENCHMARK(BM_MarkTwelveMonths)->Unit(benchmark::kMillisecond);

void BM_ReadDayNote(benchmark::State &state)
{
    TenYearProfile::inUse();
    tamcal::test::FakePrompt prompt; // plain hex notes never ask anything
    const std::string day = dayText(1826);
    const std::string expected = TenYearProfile::noteOfDay(1826);
    for (auto _ : state) {
        const std::string note = tamcal::ReadDayNote(day, prompt);
        if (note != expected)
            state.SkipWithError("the note read is not the note stored");
        benchmark::DoNotOptimize(note.data());
    }
}
BENCHMARK(BM_ReadDayNote)->Unit(benchmark::kMicrosecond);

void BM_WriteDayNote(benchmark::State &state)
{
    TenYearProfile::inUse();
    tamcal::test::FakePrompt prompt; // plain hex notes never ask anything
    const std::string day = dayText(1826);
    const std::string notes[2] = {TenYearProfile::noteOfDay(1826), TenYearProfile::noteOfDay(7)};
    int turn = 0;
    for (auto _ : state) {
        if (!tamcal::WriteDayNote(day, notes[turn ^= 1], prompt))
            state.SkipWithError("the note was not written");
    }
}
BENCHMARK(BM_WriteDayNote)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
