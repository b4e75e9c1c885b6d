// The search on the ten-year profile: reading every note when a search starts,
// then one search per key the person types, in the core alone and in the find
// window with its list redrawn. A key must cost under 30 ms.

#include "tenyearprofile.h"

#include "forms/frmfind.h"
#include "notes/notesearch.h"
#include "profile/settings.h"

#include "support/fakeprompt.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <string>

namespace {

using tamcal::bench::TenYearProfile;

void BM_StartSearch(benchmark::State &state)
{
    TenYearProfile::inUse();
    tamcal::test::FakePrompt prompt; // plain hex notes never ask anything
    for (auto _ : state) {
        const tamcal::NoteSearch search(prompt);
        if (search.noteCount() != TenYearProfile::kDayCount)
            state.SkipWithError("a note was not read");
    }
}
BENCHMARK(BM_StartSearch)->Unit(benchmark::kMillisecond);

// The texts a person has typed after each key: "g" is in every note, "garden"
// in every note's lines, "Day 1826 " in one, "gardens" in none; "7/2004" is a month.
const char *const kTyped[] = {"g", "garden", "Day 1826 ", "gardens", "7/2004"};

void BM_FindKeystroke(benchmark::State &state)
{
    TenYearProfile::inUse();
    tamcal::test::FakePrompt prompt;
    const tamcal::NoteSearch search(prompt);
    const std::string typed = kTyped[state.range(0)];
    state.SetLabel(typed);
    for (auto _ : state) {
        auto found = search.find(typed);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_FindKeystroke)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// One key in the window: the search, the list's new rows and their painting.
void BM_FindWindowKeystroke(benchmark::State &state)
{
    TenYearProfile::inUse();
    tamcal::test::FakePrompt prompt;
    frmFind window(prompt);
    window.startSearch();
    auto &txtFind = *window.findChild<QLineEdit *>("txtFind");
    const std::string typed = kTyped[state.range(0)];
    state.SetLabel(typed);
    const QString texts[2] = {QString::fromLatin1(typed), QString::fromLatin1(typed).chopped(1)};
    int turn = 0;
    for (auto _ : state) {
        txtFind.setText(texts[turn ^= 1]);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_FindWindowKeystroke)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
