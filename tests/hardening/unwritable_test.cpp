// A profile that must not be written: read-only, or in a folder that takes no
// new files. Writes say they failed, reads go on, nothing changes. The writes
// happen in a child without root's power to ignore permissions.
#include "support/childprocess.h"
#include "support/tempfolder.h"

#include "profile/inifile.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tamcal::test {
namespace {

namespace fs = std::filesystem;

constexpr const char *kProfile = "[Main]\r\nUsePass=False\r\n[Days]\r\n07042004T=4142\r\n";

struct UnwritableCase
{
    const char *name;
    fs::perms folder;
    std::optional<fs::perms> profile; // nothing: there is no profile yet
    std::optional<std::string> value; // nothing: remove the key
};

void PrintTo(const UnwritableCase &c, std::ostream *out)
{
    *out << c.name;
}

class Unwritable : public testing::TestWithParam<UnwritableCase>
{
};

TEST_P(Unwritable, WriteFailsAndReadsGoOn)
{
    const UnwritableCase &c = GetParam();
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    if (c.profile) {
        writeBytes(profile, kProfile);
        fs::permissions(profile, *c.profile);
    }
    fs::permissions(folder.path(), c.folder);

    const ChildEnd end = runInChild([&] {
        dropPermissionOverride();
        const bool isStored = WriteIni("Days", "07042004T", c.value, profile);
        const bool isReadable =
            ReadIni("Days", "07042004T", "none", profile) == (c.profile ? "4142" : "none");
        return (isStored ? 1 : 0) | (isReadable ? 2 : 0);
    });

    EXPECT_EQ(end.exitCode, 2) << "1: the write said it stored, 2: the read worked";
    fs::permissions(folder.path(), fs::perms::owner_all);
    if (c.profile) {
        EXPECT_EQ(readBytes(profile), kProfile);
    }
    EXPECT_EQ(folder.listing(), c.profile ? "tamcal.ini\n" : "");
}

constexpr auto kOpenFolder = fs::perms::all;
constexpr auto kClosedFolder = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec;
constexpr auto kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr auto kWritable =
    kReadOnly | fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

INSTANTIATE_TEST_SUITE_P(
    Cases, Unwritable,
    testing::Values(UnwritableCase{"read_only_profile", kOpenFolder, kReadOnly, "4344"},
                    UnwritableCase{"read_only_profile_remove", kOpenFolder, kReadOnly, {}},
                    UnwritableCase{"closed_folder", kClosedFolder, kWritable, "4344"},
                    UnwritableCase{"closed_folder_remove", kClosedFolder, kWritable, {}},
                    UnwritableCase{"closed_folder_no_profile", kClosedFolder, {}, "4344"}),
    [](const auto &testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace tamcal::test
