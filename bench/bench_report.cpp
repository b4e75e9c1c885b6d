#include "tenyearprofile.h"

#include "profile/settings.h"
#include "report/datetext.h"
#include "report/reportdocument.h"
#include "report/reporthost.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <optional>
#include <string>
#include <vector>

// Heap accounting for the whole program: the bytes live now and the most live
// since the last reset, both in usable bytes as the allocator hands them out.
namespace {

std::atomic<long long> liveHeap{0};
std::atomic<long long> peakHeap{0};

void *allocate(std::size_t size)
{
    void *block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    const long long live = liveHeap += static_cast<long long>(malloc_usable_size(block));
    long long peak = peakHeap;
    while (live > peak && !peakHeap.compare_exchange_weak(peak, live)) {
    }
    return block;
}

void release(void *block) noexcept
{
    if (!block)
        return;
    liveHeap -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}

} // namespace

void *operator new(std::size_t size)
{
    return allocate(size);
}
void *operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void *block) noexcept
{
    release(block);
}
void operator delete[](void *block) noexcept
{
    release(block);
}
void operator delete(void *block, std::size_t) noexcept
{
    release(block);
}
void operator delete[](void *block, std::size_t) noexcept
{
    release(block);
}

namespace {

using tamcal::bench::TenYearProfile;

// Plain hex notes never ask anything, and the benchmark has no window to repaint.
class SilentHost : public tamcal::ReportHost
{
public:
    tamcal::MsgAnswer showMessage(const tamcal::Message &) override
    {
        return tamcal::MsgAnswer::Ok;
    }
    std::optional<std::string> askPassword(const std::string &) override { return {}; }
    void SetProgress(float, float) override {}
    void processPendingEvents() override {}
};

std::string displayDate(int index)
{
    const std::chrono::sys_days first{TenYearProfile::kFirstDay};
    return tamcal::displayDateText(first + std::chrono::days{index});
}

long long kilobytes(long long bytes)
{
    return bytes / 1024;
}

// One report as the report window makes it: list the days, then build the file.
// The range is the first state.range(0) days of the profile, every one with a note.
// Counters, in KiB: peak_KB, the peak heap of the whole report above what was
// live before it; lists_KB, the heap the day lists keep (every note of the
// range); build_peak_KB, the peak heap of BuildReport alone above what was
// live when it started, which stays flat because the file is written day by day.
void BM_Report(benchmark::State &state)
{
    TenYearProfile::inUse();
    SilentHost host;
    const std::string begin = displayDate(0);
    const std::string last = displayDate(int(state.range(0)) - 1);
    long long peakKB = 0;
    long long listsKB = 0;
    long long buildPeakKB = 0;
    for (auto _ : state) {
        // Fresh lists, so the heap they take is counted in full every time.
        std::vector<std::string>(1).swap(tamcal::ReportDates);
        std::vector<std::string>(1).swap(tamcal::ReportNotes);
        std::string end = last;
        short size = 12;
        const long long beforeLists = liveHeap;
        peakHeap = beforeLists;
        tamcal::LoadReportDays(begin, end, host);
        const long long listsPeak = peakHeap;
        const long long beforeBuild = liveHeap;
        peakHeap = beforeBuild;
        const std::string path = tamcal::BuildReport(begin, end, true, size, host);
        peakKB = kilobytes(std::max<long long>(listsPeak, peakHeap) - beforeLists);
        listsKB = kilobytes(beforeBuild - beforeLists);
        buildPeakKB = kilobytes(peakHeap - beforeBuild);
        if (tamcal::ReportDates.size() != std::size_t(state.range(0)) || path.empty())
            state.SkipWithError("the report did not list every day");
    }
    state.counters["peak_KB"] = double(peakKB);
    state.counters["lists_KB"] = double(listsKB);
    state.counters["build_peak_KB"] = double(buildPeakKB);
    state.counters["file_KB"] = double(kilobytes(
        std::filesystem::file_size(TenYearProfile::inUse().folder() / "TamCalendar.htm")));
}
BENCHMARK(BM_Report)
    ->Arg(366)
    ->Arg(TenYearProfile::kDayCount)
    ->Unit(benchmark::kMillisecond)
    ->MinWarmUpTime(0.2);

} // namespace

BENCHMARK_MAIN();
