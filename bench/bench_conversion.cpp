// Turning protection on and off for a diary of ten years: every note rewritten
// in one replacement of the profile.
#include "tenyearprofile.h"

#include "notes/protection.h"
#include "profile/settings.h"

#include <benchmark/benchmark.h>

#include <cstddef>

namespace {

void expectAllConverted(benchmark::State &state, const tamcal::Conversion &done)
{
    if (!done.written || done.converted != std::size_t(tamcal::bench::TenYearProfile::kDayCount))
        state.SkipWithError("not every note was converted");
}

// One iteration enciphers every note under a password, the next deciphers them again.
void BM_ConvertTenYears(benchmark::State &state)
{
    const tamcal::bench::TenYearProfile profile;
    tamcal::AppSettings.IniPath = profile.iniPath();
    bool isOn = false;
    for (auto _ : state) {
        expectAllConverted(state, isOn ? tamcal::convertNotes("Secret", {})
                                       : tamcal::convertNotes({}, "Secret"));
        isOn = !isOn;
    }
}
BENCHMARK(BM_ConvertTenYears)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
