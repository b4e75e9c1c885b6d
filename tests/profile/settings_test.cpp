#include "profile/settings.h"

#include "profile/inifile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <utility>
#include <vector>

namespace tamcal {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

struct PathCase
{
    const char *executable;
    const char *appFolder;
    const char *iniPath;
};

const PathCase kPathCases[] = {
    {"/tamcal", "/", "/tamcal.ini"},
    {"/opt/apps/diary/tamcal", "/opt/apps/diary/", "/opt/apps/diary/tamcal.ini"},
    {"/opt/TamCal.exe", "/opt/", "/opt/TamCal.ini"},
    {"/opt/my.diary.bin", "/opt/", "/opt/my.diary.ini"},
    {"/opt/.tamcal", "/opt/", "/opt/.tamcal.ini"},
    {"/opt//tamcal", "/opt/", "/opt/tamcal.ini"},
    {"tamcal", "./", "./tamcal.ini"},
};

TEST(FormPaths, FolderWithOneSlashAndNameWithoutExtension)
{
    for (const PathCase &c : kPathCases) {
        SCOPED_TRACE(c.executable);
        formPaths(c.executable);
        EXPECT_EQ(AppSettings.AppFolder, c.appFolder);
        EXPECT_EQ(AppSettings.IniPath, c.iniPath);
    }
    AppSettings = {};
}

TEST(LocateProfile, NamedProfileFileGivesItsFolderAsAppFolder)
{
    const std::string current = std::filesystem::current_path().string();
    const PathCase cases[] = {
        {"/srv/diary/my.ini", "/srv/diary/", "/srv/diary/my.ini"},
        {"/srv//diary/./old/../2004", "/srv/diary/", "/srv/diary/2004"},
    };
    for (const PathCase &c : cases) {
        SCOPED_TRACE(c.executable);
        ProfileFile = c.executable;
        LocateProfile("/usr/bin/tamcal");
        EXPECT_EQ(AppSettings.AppFolder, c.appFolder);
        EXPECT_EQ(AppSettings.IniPath, c.iniPath);
    }
    ProfileFile = "diary.ini";
    LocateProfile("/usr/bin/tamcal");
    EXPECT_EQ(AppSettings.IniPath, current + "/diary.ini");
    EXPECT_EQ(AppSettings.AppFolder, current + "/");
    ProfileFile.clear();
    AppSettings = {};
}

TEST(ExecutablePath, IsTheRunningProgram)
{
    const std::string path = runningExecutablePath();
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(path.ends_with("/test_profile")) << path;
}

struct BooleanCase
{
    const char *text;
    std::optional<bool> expected;
};

const BooleanCase kBooleanCases[] = {
    {"True", true},  {"False", false}, {"tRUE", true}, {" false\t", false}, {"1", true},
    {"-1", true},    {" 2 ", true},    {"+7", true},   {"0", false},        {"00", false},
    {"-0.0", false}, {"0.5", true},    {".5", true},   {"5.", true},        {"1e3", true},
    {"0E+9", false}, {"yes", {}},      {"", {}},       {"1x", {}},          {".", {}},
    {"-", {}},       {"e5", {}},       {"1e", {}},     {"1 2", {}},         {"Truee", {}},
    {"&H10", {}},    {"1,5", {}},      {"on", {}},
};

TEST(ReadBoolean, WordsInAnyCaseAndDecimalNumbers)
{
    for (const BooleanCase &c : kBooleanCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readBoolean(c.text), c.expected);
    }
}

// Stands for the calendar window: its daily pop-up flag and picture holder.
class FakeHost : public SettingsHost
{
public:
    bool popup = false;
    std::vector<std::string> pictures;

    bool ynDoDailyPopup() const override { return popup; }
    void setYnDoDailyPopup(bool vNewValue) override { popup = vNewValue; }
    void loadPicture(const std::string &path) override { pictures.push_back(path); }
};

class SettingsRun : public ::testing::Test
{
protected:
    TempFolder folder;
    const std::string executable = folder.file("tamcal");
    const std::string ini = folder.file("tamcal.ini");
    FakeHost host;

    void SetUp() override { AppSettings = {}; }
    void TearDown() override { AppSettings = {}; }

    void addFile(const std::string &name) { writeBytes(folder.file(name), "not a picture"); }
};

TEST_F(SettingsRun, FirstRunFindsThePictureAndSavesEverything)
{
    addFile("Background.jpg");
    LoadSettings(host, executable);
    EXPECT_EQ(AppSettings.AppFolder, folder.path().string() + "/");
    EXPECT_EQ(AppSettings.IniPath, ini);
    EXPECT_FALSE(AppSettings.UsePass);
    EXPECT_FALSE(host.popup);
    EXPECT_EQ(AppSettings.BackgroundPath, folder.file("Background.jpg"));
    EXPECT_EQ(host.pictures, std::vector{folder.file("Background.jpg")});
    EXPECT_FALSE(test::exists(ini));

    SaveSettings(host);
    EXPECT_EQ(readBytes(ini), "[Main]\r\nUsePass=False\r\nDoPopup=False\r\nBackground=" +
                                  folder.file("Background.jpg") + "\r\n");
}

TEST_F(SettingsRun, NoPictureSavesAnEmptyBackground)
{
    LoadSettings(host, executable);
    EXPECT_EQ(AppSettings.BackgroundPath, "");
    EXPECT_TRUE(host.pictures.empty());
    SaveSettings(host);
    EXPECT_EQ(readBytes(ini), "[Main]\r\nUsePass=False\r\nDoPopup=False\r\nBackground=\r\n");
}

TEST_F(SettingsRun, AFailedSaveTellsWhy)
{
    LoadSettings(host, executable);
    std::filesystem::create_directory(ini);
    const WriteResult result = SaveSettings(host);
    ASSERT_FALSE(result);
    EXPECT_EQ(describe(*result.failure()),
              "The profile " + ini + " could not be written (reading it): Is a directory.");
}

struct BackgroundCase
{
    const char *name;
    std::vector<std::string> files;
    std::optional<std::string> stored;
    std::string expected; // in the executable's folder; empty for none
};

const BackgroundCase kBackgroundCases[] = {
    {"search ignores letter case", {"background.GIF"}, std::nullopt, "background.GIF"},
    {"several matches: first in name order",
     {"background.bmp", "Background.png", "BACKGROUND.jpg"},
     std::nullopt,
     "BACKGROUND.jpg"},
    {"folders and other names are no match",
     {"BACKGROUND.a/", "Backgroundx.jpg", "my.Background.jpg", "Background.png"},
     std::nullopt,
     "Background.png"},
    {"stored path used as stored",
     {"Background.jpg", "pics/Sky.png"},
     "pics/Sky.png",
     "pics/Sky.png"},
    {"stored path missing: search", {"Background.png"}, "pics/Gone.png", "Background.png"},
    {"stored folder: search", {"pics/", "Background.png"}, "pics", "Background.png"},
    {"stored hidden file: search", {".Sky.png", "Background.png"}, ".Sky.png", "Background.png"},
    {"stored empty: a picture added meanwhile is found", {"Background.gif"}, "", "Background.gif"},
    {"stored empty and no picture", {}, "", ""},
};

// "a/" makes a folder, "a/b" a file in a folder.
void createEntries(const TempFolder &place, const std::vector<std::string> &files)
{
    for (const std::string &file : files) {
        const std::size_t slash = file.find('/');
        if (slash != std::string::npos)
            ::mkdir(place.file(file.substr(0, slash)).c_str(), 0755);
        if (!file.ends_with('/'))
            writeBytes(place.file(file), "x");
    }
}

TEST_F(SettingsRun, BackgroundIsTheStoredPictureElseTheFirstFoundBesideTheProgram)
{
    for (const BackgroundCase &c : kBackgroundCases) {
        SCOPED_TRACE(c.name);
        TempFolder place;
        createEntries(place, c.files);
        if (c.stored)
            writeBytes(place.file("tamcal.ini"),
                       "[Main]\nBackground=" + place.file(*c.stored) + "\n");
        FakeHost fresh;
        LoadSettings(fresh, place.file("tamcal"));
        const std::string expected = c.expected.empty() ? "" : place.file(c.expected);
        EXPECT_EQ(AppSettings.BackgroundPath, expected);
        EXPECT_EQ(fresh.pictures,
                  expected.empty() ? std::vector<std::string>{} : std::vector{expected});
    }
}

struct FlagCase
{
    const char *stored;
    bool before; // the flag's value before the settings are read
    bool expected;
    const char *saved;
};

const FlagCase kFlagCases[] = {
    {"1", false, true, "True"},      {"yes", false, false, "False"}, {"yes", true, true, "True"},
    {"fALSE", true, false, "False"}, {" -1 ", false, true, "True"},  {"0", true, false, "False"},
};

TEST_F(SettingsRun, FlagsReadAsBooleansAndSavedAsWords)
{
    for (const FlagCase &c : kFlagCases) {
        SCOPED_TRACE(c.stored);
        writeBytes(ini, std::string("[Main]\r\nUsePass=") + c.stored + "\r\nDoPopup=" + c.stored +
                            "\r\n");
        AppSettings.UsePass = c.before;
        host.popup = c.before;
        LoadSettings(host, executable);
        EXPECT_EQ(AppSettings.UsePass, c.expected);
        EXPECT_EQ(host.popup, c.expected);
        SaveSettings(host);
        EXPECT_EQ(IniAccess("Main", "UsePass", "", false), c.saved);
        EXPECT_EQ(IniAccess("Main", "DoPopup", "", false), c.saved);
    }
}

TEST_F(SettingsRun, SaveOverwritesItsOwnKeysAndNothingElse)
{
    addFile("Background.jpg");
    const std::string before = "; my diary\n[Main]\nViewTitle=Log\nping=414243\nUsePass=True\n"
                               "DoPopup=True\n\n[Days]\n01012004T=41\n";
    writeBytes(ini, before);
    LoadSettings(host, executable);
    writeBytes(ini, before + "[Extra]\nk=v\n"); // edited while the program runs
    AppSettings.UsePass = false;
    SaveSettings(host);
    EXPECT_EQ(readBytes(ini), "; my diary\n[Main]\nViewTitle=Log\nping=414243\nUsePass=False\n"
                              "DoPopup=True\nBackground=" +
                                  folder.file("Background.jpg") +
                                  "\n\n[Days]\n01012004T=41\n[Extra]\nk=v\n");
}

TEST_F(SettingsRun, EditsMadeWhileTheProgramRunsAreKeptUnlessTheProgramChangedTheSetting)
{
    writeBytes(ini, "[Main]\nUsePass=False\nDoPopup=False\nBackground=\n");
    LoadSettings(host, executable);
    writeBytes(ini, "[Main]\nUsePass=True\nDoPopup=0\nBackground=/pictures/sea.jpg\n");
    host.popup = true; // changed in the program after the hand edit
    ASSERT_TRUE(SaveSettings(host));
    EXPECT_EQ(readBytes(ini), "[Main]\nUsePass=True\nDoPopup=True\nBackground=/pictures/sea.jpg\n");
}

// Counts the temporary files made and the renames over the profile while it
// lives. The creations keep two renames from reaching the reader as one event.
class ReplacementWatch
{
public:
    explicit ReplacementWatch(const std::filesystem::path &folder)
        : m_watch(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        ::inotify_add_watch(m_watch, folder.c_str(), IN_CREATE | IN_MOVED_TO);
    }
    ~ReplacementWatch() { ::close(m_watch); }
    ReplacementWatch(const ReplacementWatch &) = delete;
    ReplacementWatch &operator=(const ReplacementWatch &) = delete;

    // Temporary files created and renames over `name` since the last call.
    std::pair<int, int> count(const std::string &name) const
    {
        alignas(inotify_event) char events[8192];
        const ssize_t size = ::read(m_watch, events, sizeof events);
        std::pair<int, int> counts;
        for (ssize_t at = 0; at < size;) {
            const auto *event = reinterpret_cast<const inotify_event *>(events + at);
            if (event->mask & IN_CREATE && std::string(event->name).starts_with(name + ".tmp"))
                ++counts.first;
            if (event->mask & IN_MOVED_TO && std::string(event->name) == name)
                ++counts.second;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
        return counts;
    }

private:
    int m_watch;
};

// Each replacement of the profile flushes the file and its folder, which can
// take seconds on a busy disk: shutdown replaces it once, not once per key.
TEST_F(SettingsRun, SaveReplacesTheProfileOnce)
{
    for (const char *before : {"", "[Main]\r\nUsePass=True\r\nDoPopup=1\r\nBackground=\r\n"}) {
        SCOPED_TRACE(before);
        if (*before)
            writeBytes(ini, before);
        AppSettings.UsePass = false;
        LoadSettings(host, executable);
        AppSettings.UsePass = !AppSettings.UsePass;
        host.popup = !host.popup;
        const ReplacementWatch watch(folder.path());
        SaveSettings(host);
        EXPECT_EQ(watch.count("tamcal.ini"), std::make_pair(1, 1));
        EXPECT_EQ(IniAccess("Main", "DoPopup", "", false), *before ? "False" : "True");
    }
}

} // namespace
} // namespace tamcal
