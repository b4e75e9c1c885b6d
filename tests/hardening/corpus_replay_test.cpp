// Runs a fuzz target over every file of its committed corpus, so that the seeds
// and the crash inputs kept there as regressions are checked in every build.
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

TEST(CorpusReplay, EveryInputKeepsTheInvariants)
{
    std::size_t count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(TAMCAL_CORPUS_DIR)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = tamcal::test::readBytes(entry.path());
        try {
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()),
                                   bytes.size());
        } catch (const std::exception &broken) {
            ADD_FAILURE() << broken.what();
        }
        ++count;
    }
    EXPECT_GT(count, 0u);
}
