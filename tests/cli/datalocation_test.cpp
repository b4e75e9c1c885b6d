// Where a copy of the program keeps its data: beside itself when it may, in the
// user's data folder when it is installed. Each copy runs without root's power
// to ignore permissions, as a person's programs run.
#include "support/programrun.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/stat.h>

#include <linux/capability.h>

namespace tamcal::test {
namespace {

namespace fs = std::filesystem;

struct LocationCase
{
    const char *name;
    bool isFolderWritable;
    bool hasProfileBeside;
    bool hasDesktopEntry; // the copy sits in a prefix that holds its desktop entry
    bool isInstalled;
};

// Dropped from the bounding set, these stay gone in the program started next.
void dropPermissionOverride()
{
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        ::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0);
}

mode_t modeOf(const fs::path &path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST(DataLocation, PortableBesideTheProgramInstalledInTheUsersDataFolder)
{
    const LocationCase cases[] = {
        {"writable folder", true, false, false, false},
        {"read-only folder", false, false, false, true},
        {"read-only folder holding the profile", false, true, false, false},
        {"installed prefix, writable by its owner", true, false, true, true},
    };
    for (const LocationCase &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        const fs::path bin = root.path() / "prefix" / "bin";
        const fs::path data = root.path() / "data";
        fs::create_directories(bin);
        fs::copy_file(TAMCAL_EXECUTABLE, bin / "tamcal");
        if (c.hasProfileBeside)
            writeBytes(bin / "tamcal.ini", "[Main]\r\n");
        if (c.hasDesktopEntry) {
            fs::create_directories(root.path() / "prefix/share/applications");
            writeBytes(root.path() / "prefix/share/applications/" TAMCAL_APP_ID ".desktop", "");
        }
        if (!c.isFolderWritable)
            fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", QString::fromStdString(data.string()));
        const ProgramRun run =
            runProgram(QString::fromStdString((bin / "tamcal").string()),
                       {"--report", "7/4/2004", "7/4/2004"}, environment, dropPermissionOverride);
        fs::permissions(bin, fs::perms::owner_all);

        const fs::path appFolder = c.isInstalled ? data / "TamCal" : bin;
        const bool isWritten = c.isInstalled || c.isFolderWritable;
        EXPECT_EQ(run.exitCode, isWritten ? 0 : 1) << run.err.toStdString();
        EXPECT_EQ(fs::exists(appFolder / "TamCalendar.htm"), isWritten);
        EXPECT_EQ(fs::exists(appFolder / "tamcal.ini"), isWritten || c.hasProfileBeside);
        EXPECT_EQ(fs::exists(data), c.isInstalled);
        if (c.isInstalled) {
            EXPECT_EQ(modeOf(data / "TamCal"), 0700u);
            EXPECT_FALSE(fs::exists(bin / "tamcal.ini"));
            EXPECT_FALSE(fs::exists(bin / "TamCalendar.htm"));
        }
        if (!isWritten) {
            EXPECT_TRUE(run.err.contains("cannot write " +
                                         QByteArray::fromStdString(bin / "TamCalendar.htm") +
                                         ": Permission denied"))
                << run.err.toStdString();
        }
    }
}

} // namespace
} // namespace tamcal::test
