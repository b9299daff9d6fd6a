// The base path, the save directory, the one-integer files and the system
// queries, on the headless backend with the executable and the system
// directory in a private temporary folder.

#include "system/paths.h"
#include "system/system.h"
#include "system/texts.h"

#include "platform/headless/headless.h"
#include "platform/platform.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
namespace headless = ovPlatform::headless;

class SystemFiles : public ovtest::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        if (HasFatalFailure()) return;
        fs::create_directories(dir + "/apps/toy");
        fs::create_directories(dir + "/win");
        headless::SetExecutablePath(dir + "/apps/toy/toy");
        headless::SetSystemDirectory(dir + "/win");
    }
    void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Points the save directory at line (as read from the file).
    int UseSaveFile(const std::string& line)
    {
        Write(dir + "/win/savedir.txt", line);
        return ovSystem::ReadSaveDirectory("SAVEDIR.TXT");
    }
};

TEST_F(SystemFiles, BasePathIsTheExecutablesFolderOrTheSaveLocation)
{
    EXPECT_EQ(std::string(ovSystem::BasePath(0)), dir + "/apps/toy/");
    EXPECT_EQ(std::string(ovSystem::BasePath(1)), dir + "/apps/toy/");  // no save directory yet

    ASSERT_NE(UseSaveFile(dir + "/save\n"), 0);
    EXPECT_EQ(std::string(ovSystem::BasePath(1)), dir + "/save/toy/");
    EXPECT_EQ(std::string(ovSystem::BasePath(0)), dir + "/apps/toy/");
    EXPECT_STREQ(ovSystem::ProgramFolder, "toy/");

    // A save directory written with backslashes gets a backslash before the folder.
    ASSERT_NE(UseSaveFile("D:\\SAVE\\\r\n"), 0);
    EXPECT_STREQ(ovSystem::BasePath(1), "D:\\SAVE\\toy/");

    // Each call rewrites the one buffer.
    char* first = ovSystem::BasePath(0);
    EXPECT_EQ(first, ovSystem::BasePath(1));
}

TEST_F(SystemFiles, BasePathOfAnExecutableInTheRootIsTheRoot)
{
    headless::SetExecutablePath("/toy");
    EXPECT_STREQ(ovSystem::BasePath(0), "/");
    ASSERT_NE(UseSaveFile(dir + "/save"), 0);
    // No folder above the root: the save location is the save directory itself.
    EXPECT_EQ(std::string(ovSystem::BasePath(1)), dir + "/save/");
    headless::SetExecutablePath("C:\\TOY.EXE");
    EXPECT_STREQ(ovSystem::BasePath(0), "C:\\");
}

TEST_F(SystemFiles, PathsThatWouldNotFitAreNotCutShort)
{
    // An executable path of 256 bytes or more: no base path rather than a wrong one.
    std::string deep = dir + "/" + std::string(250, 'd') + "/toy";
    headless::SetExecutablePath(deep);
    EXPECT_STREQ(ovSystem::BasePath(0), "");
    ovSystem::SaveInt("score.txt", 5);
    EXPECT_EQ(ovSystem::LoadInt("score.txt"), 0);

    // A name that does not fit after the base path: nothing is written anywhere.
    headless::SetExecutablePath(dir + "/apps/toy/toy");
    std::string base = ovSystem::BasePath(0);
    std::string longName(256 - base.size(), 'n');
    ovSystem::SaveInt(longName.c_str(), 7);
    EXPECT_TRUE(fs::is_empty(dir + "/apps/toy"));
    EXPECT_EQ(ovSystem::LoadInt(longName.c_str()), 0);
    longName.pop_back();  // now it just fits
    ovSystem::SaveInt(longName.c_str(), 7);
    EXPECT_EQ(ovSystem::LoadInt(longName.c_str()), 7);
    fs::remove(dir + "/apps/toy/" + longName);

    // A save location longer than the buffer: the one-integer files are skipped.
    ASSERT_NE(UseSaveFile(std::string(252, 's') + "\n"), 0);  // 252 + "/" + "toy/" > 255
    EXPECT_STREQ(ovSystem::BasePath(1), "");
    ovSystem::SaveInt("score.txt", 5);
    EXPECT_TRUE(fs::is_empty(dir + "/apps/toy"));
}

TEST_F(SystemFiles, ReadSaveDirectoryTakesTheFirstLineWithoutBreakOrSeparator)
{
    struct Case {
        std::string content;  // null-free bytes of the file
        int result;
        std::string saveDirectory;
    } cases[] = {
        {"D:\\SAVE\\\n", 1, "D:\\SAVE"},
        {"D:\\SAVE\\\r\n", 1, "D:\\SAVE"},
        {"D:\\SAVE", 1, "D:\\SAVE"},
        {"/srv/save/\nsecond line\n", 1, "/srv/save"},
        {"C:\\\n", 1, "C:"},
        {"D:\\\x95\x5C\n", 1, "D:\\\x95\x5C"},  // 表: its second byte is no separator
        {"\n", 1, ""},
        {"", 0, ""},                              // empty: as if missing
        {std::string(300, 'x') + "\n", 0, ""},   // a cut line would name the wrong folder
    };
    for (const Case& c : cases) {
        ovSystem::SaveDirectory[0] = 'q';
        EXPECT_EQ(UseSaveFile(c.content) != 0, c.result != 0) << c.content;
        EXPECT_EQ(std::string(ovSystem::SaveDirectory), c.saveDirectory) << c.content;
    }
    fs::remove(dir + "/win/savedir.txt");
    ovSystem::SaveDirectory[0] = 'q';
    EXPECT_EQ(ovSystem::ReadSaveDirectory("savedir.txt"), 0);
    EXPECT_STREQ(ovSystem::SaveDirectory, "");
}

TEST_F(SystemFiles, TheSystemDirectoryGetsOneSeparatorBeforeTheName)
{
    // A short folder name is not mistaken for a drive root.
    ASSERT_EQ(chdir(dir.c_str()), 0);
    headless::SetSystemDirectory("w");
    fs::create_directory(dir + "/w");
    Write(dir + "/w/dir.txt", "/from/w\n");
    Write(dir + "/wdir.txt", "/wrong\n");
    EXPECT_NE(ovSystem::ReadSaveDirectory("dir.txt"), 0);
    EXPECT_STREQ(ovSystem::SaveDirectory, "/from/w");

    // A root is followed by the name directly.
    headless::SetSystemDirectory("C:\\");
    std::string relative = dir.substr(1) + "\\w\\dir.txt";
    EXPECT_NE(ovSystem::ReadSaveDirectory(relative.c_str()), 0);
    EXPECT_STREQ(ovSystem::SaveDirectory, "/from/w");
}

TEST_F(SystemFiles, OneIntegerFilesRoundTrip)
{
    for (int value : {0, 7, -1, -250, 123456789, INT_MIN, INT_MAX}) {
        ovSystem::SaveInt("Score.txt", value);
        EXPECT_EQ(Read(dir + "/apps/toy/Score.txt"), std::to_string(value));
        EXPECT_EQ(ovSystem::LoadInt("SCORE.TXT"), value);
    }
    EXPECT_EQ(ovSystem::LoadInt("missing.txt"), 0);

    // With a save directory they go to its folder for this program, when it exists.
    ASSERT_NE(UseSaveFile(dir + "/save\n"), 0);
    ovSystem::SaveInt("opt.txt", 3);  // the folder is not made: nothing is written
    EXPECT_FALSE(fs::exists(dir + "/save"));
    fs::create_directories(dir + "/save/toy");
    ovSystem::SaveInt("opt.txt", -3);
    EXPECT_EQ(Read(dir + "/save/toy/opt.txt"), "-3");
    EXPECT_EQ(ovSystem::LoadInt("opt.txt"), -3);
    EXPECT_FALSE(fs::exists(dir + "/apps/toy/opt.txt"));
}

TEST_F(SystemFiles, LoadIntReadsOneIntegerOrGivesZero)
{
    struct Case {
        const char* content;
        int value;
    } cases[] = {
        {"42", 42}, {"  -17\r\n", -17}, {"+5", 5}, {"12abc", 12}, {"abc", 0}, {"", 0},
        {"-", 0}, {"- 3", 0}, {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        Write(dir + "/apps/toy/value.txt", c.content);
        EXPECT_EQ(ovSystem::LoadInt("value.txt"), c.value) << c.content;
    }
}

TEST_F(SystemFiles, DateAndTimeFollowTheLocalCalendar)
{
    struct Case {
        std::int64_t utc;
        int offset;
        int year, month, day;
        const char* weekday;
        int hour, minute, second;
    } cases[] = {
        {1700000000, 9 * 3600, 2023, 11, 15, ovSystem::texts::kWednesday, 7, 13, 20},
        {1700000000, -5 * 3600, 2023, 11, 14, ovSystem::texts::kTuesday, 17, 13, 20},
        {946684799, 3600, 2000, 1, 1, ovSystem::texts::kSaturday, 0, 59, 59},
        {951782400, 0, 2000, 2, 29, ovSystem::texts::kTuesday, 0, 0, 0},
        {0, 0, 1970, 1, 1, ovSystem::texts::kThursday, 0, 0, 0},
    };
    for (const Case& c : cases) {
        headless::SetCalendarTime(c.utc);
        headless::SetLocalTimeOffset(c.offset);
        int year = 0, month = 0, day = 0, hour = -1, minute = -1, second = -1;
        char weekday[4] = {'x', 'x', 'x', 'x'};
        ovSystem::Date(&year, &month, &day, weekday);
        ovSystem::Time(&hour, &minute, &second);
        EXPECT_EQ(year, c.year) << c.utc;
        EXPECT_EQ(month, c.month) << c.utc;
        EXPECT_EQ(day, c.day) << c.utc;
        EXPECT_STREQ(weekday, c.weekday) << c.utc;
        EXPECT_EQ(weekday[3], 'x');  // three bytes with the terminator, no more
        EXPECT_EQ(hour, c.hour) << c.utc;
        EXPECT_EQ(minute, c.minute) << c.utc;
        EXPECT_EQ(second, c.second) << c.utc;
    }
}

TEST_F(SystemFiles, WindowsVersionNumbersFromVersionRecords)
{
    struct Case {
        DWORD platform, major, minor;
        int expected;
    } cases[] = {
        {0, 3, 10, 310}, {1, 4, 0, 950}, {1, 4, 10, 980}, {1, 4, 90, 980}, {1, 3, 95, 395},
        {2, 4, 0, 4000}, {2, 3, 51, 3510}, {2, 5, 0, 2000}, {2, 5, 1, 2000}, {2, 6, 1, 6010},
        {3, 5, 1, -1},
    };
    for (const Case& c : cases) {
        headless::SetVersionRecord(c.platform, c.major, c.minor);
        EXPECT_EQ(ovSystem::WindowsVersion(), c.expected) << c.platform << " " << c.major << "." << c.minor;
    }
}

TEST_F(SystemFiles, DiskAndMemoryFiguresStayWithinAnInt)
{
    headless::SetDiskSpace(8, 512, 1000, 5000);
    EXPECT_EQ(ovSystem::DiskFree('C'), 4096000);
    EXPECT_EQ(headless::LastDiskSpaceFolder(), "/");
    EXPECT_EQ(ovSystem::DiskFree('d'), 4096000);
    headless::SetDiskSpace(64, 512, 65535, 65536);  // one cluster short of 2 GiB
    EXPECT_EQ(ovSystem::DiskFree('C'), 2147450880);
    headless::SetDiskSpace(64, 512, 65536, 65536);  // 2 GiB: would wrap to INT_MIN
    EXPECT_EQ(ovSystem::DiskFree('C'), INT_MAX);
    headless::SetDiskSpace(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(ovSystem::DiskFree('C'), INT_MAX);
    headless::SetDiskSpace(8, 512, 1000, 5000, false);
    EXPECT_EQ(ovSystem::DiskFree('C'), 0);
    headless::SetDiskSpace(8, 512, 1000, 5000);
    EXPECT_EQ(ovSystem::DiskFree('1'), 0);  // no such drive

    MEMORYSTATUS status{};
    status.dwAvailPhys = 123456789;
    headless::SetMemoryStatus(status);
    EXPECT_EQ(ovSystem::MemoryFree(), 123456789);
    status.dwAvailPhys = 0xFFFFFFFFu;  // 4 GB or more
    headless::SetMemoryStatus(status);
    EXPECT_EQ(ovSystem::MemoryFree(), INT_MAX);
}

}  // namespace
