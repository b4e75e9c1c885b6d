#include "profile/datafolder.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <optional>

namespace tamcal {
namespace {

// Sets an environment variable for one scope; nothing unsets it.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const char *value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        set(value);
    }
    ~ScopedVariable() { set(m_old ? m_old->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    void set(const char *value)
    {
        if (value)
            ::setenv(m_name, value, 1);
        else
            ::unsetenv(m_name);
    }

    const char *m_name;
    std::optional<std::string> m_old;
};

struct DataFolderCase
{
    const char *name;
    const char *dataHome;
    const char *expected;
};

TEST(UserDataFolder, TheXdgDataHomeWhenAbsoluteElseTheOneInHome)
{
    const DataFolderCase cases[] = {
        {"set", "/srv/data", "/srv/data/TamCal/"},
        {"trailing slash", "/srv/data/", "/srv/data/TamCal/"},
        {"unset", nullptr, "/home/ann/.local/share/TamCal/"},
        {"empty", "", "/home/ann/.local/share/TamCal/"},
        {"relative, which does not count", "data", "/home/ann/.local/share/TamCal/"},
    };
    const ScopedVariable home("HOME", "/home/ann");
    for (const DataFolderCase &c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedVariable dataHome("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(UserDataFolder(), c.expected);
    }
}

TEST(MakePrivateFolder, MakesTheMissingFoldersForTheUserAlone)
{
    test::TempFolder root;
    const std::string folder = root.file("share/TamCal/");
    ASSERT_TRUE(MakePrivateFolder(folder));
    for (const std::string &made : {root.file("share"), folder}) {
        struct stat status;
        ASSERT_EQ(::stat(made.c_str(), &status), 0) << made;
        EXPECT_TRUE(S_ISDIR(status.st_mode));
        EXPECT_EQ(status.st_mode & 0777, 0700u) << made;
    }
    EXPECT_TRUE(MakePrivateFolder(folder));
    test::writeBytes(root.file("file"), "");
    EXPECT_FALSE(MakePrivateFolder(root.file("file/TamCal/")));
}

} // namespace
} // namespace tamcal
