// The file layer: case-insensitive names, both separators, drive letters,
// Shift-JIS names over UTF-8 files, folder searches, deletion, and the
// system queries' mapping of drives and record sizes.

#include "platform/files.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/sysinfo.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace headless = ovPlatform::headless;

class FileLayer : public ovtest::TempDirTest {
protected:
    void Write(const std::string& relative, const std::string& bytes)
    {
        fs::path p = fs::path(dir) / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::string Read(std::FILE* f)
    {
        std::string out;
        char buffer[256];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) out.append(buffer, n);
        std::fclose(f);
        return out;
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> Search(const std::string& pattern)
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA(pattern.c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) return names;
        do names.push_back(data.cFileName);
        while (FindNextFileA(h, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(h));
        return names;
    }
};

TEST_F(FileLayer, OpensNamesThatDifferInCaseAndSeparators)
{
    Write("fuurin.BMP", "strip");
    Write("Data/Sub/Wave.wav", "wave");
    // Drive letters stand for the root, so the temporary folder can be named from C:.
    std::string winDir = dir;
    for (char& c : winDir) c = c == '/' ? '\\' : c;
    struct Case {
        std::string path;
        const char* expected;  // null: must not open
    } cases[] = {
        {dir + "/fuurin.BMP", "strip"},
        {dir + "/FUURIN.bmp", "strip"},
        {dir + "\\Fuurin.Bmp", "strip"},
        {dir + "/data\\SUB\\wave.WAV", "wave"},
        {dir + "/DATA//sub/./WAVE.wav", "wave"},
        {"C:" + winDir + "\\DATA\\SUB\\WAVE.WAV", "wave"},
        {"d:/" + dir.substr(1) + "/fuurin.bmp", "strip"},
        {dir + "/fuurin.bm", nullptr},
        {dir + "/Data/Wave.wav", nullptr},
        {dir + "/nothing/fuurin.bmp", nullptr},
    };
    for (const Case& c : cases) {
        std::FILE* f = ovPlatform::OpenFile(c.path.c_str(), "rb");
        if (!c.expected) {
            EXPECT_EQ(f, nullptr) << c.path;
            if (f) std::fclose(f);
            continue;
        }
        ASSERT_NE(f, nullptr) << c.path;
        EXPECT_EQ(Read(f), c.expected) << c.path;
    }
}

TEST_F(FileLayer, PrefersTheExactNameAndWritesIntoAnExistingFileOfAnotherCase)
{
    Write("score.txt", "lower");
    Write("SCORE.TXT", "upper");
    Write("Other.Txt", "old");
    ASSERT_NE(ovPlatform::OpenFile((dir + "/SCORE.TXT").c_str(), "rt"), nullptr);
    EXPECT_EQ(Read(ovPlatform::OpenFile((dir + "/SCORE.TXT").c_str(), "rt")), "upper");
    EXPECT_EQ(Read(ovPlatform::OpenFile((dir + "/score.txt").c_str(), "rt")), "lower");
    // Neither exact: the first in upper-cased byte order, the same every time.
    EXPECT_EQ(Read(ovPlatform::OpenFile((dir + "/Score.txt").c_str(), "rt")), "upper");

    std::FILE* f = ovPlatform::OpenFile((dir + "/OTHER.TXT").c_str(), "wt");
    ASSERT_NE(f, nullptr);
    std::fputs("new", f);
    std::fclose(f);
    f = ovPlatform::OpenFile((dir + "/Fresh.Txt").c_str(), "ab");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Fresh.Txt", "Other.Txt", "SCORE.TXT", "score.txt"}));
    EXPECT_EQ(Read(ovPlatform::OpenFile((dir + "/other.txt").c_str(), "rb")), "new");
}

TEST_F(FileLayer, ShiftJisNamesMeetUtf8Files)
{
    Write("\xE9\xA2\xA8\xE9\x88\xB4.bmp", "bell");  // 風鈴.bmp on disk
    Write("\xE8\xA1\xA8/a.txt", "table");           // 表/a.txt: 表 ends in the byte 0x5C in Shift-JIS
    EXPECT_EQ(Read(ovPlatform::OpenFile((dir + "/\x95\x97\x97\xE9.BMP").c_str(), "rb")), "bell");
    EXPECT_EQ(Read(ovPlatform::OpenFile((dir + "\\\x95\x5C\\A.TXT").c_str(), "rb")), "table");

    // A file created under a Shift-JIS name gets the UTF-8 spelling, and a
    // search gives the Shift-JIS name back.
    std::FILE* f = ovPlatform::OpenFile((dir + "/\x83\x5C.txt").c_str(), "wb");  // ソ.txt
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(fs::exists(fs::path(dir) / "\xE3\x82\xBD.txt"));
    EXPECT_EQ(Search(dir + "/*.BMP"), std::vector<std::string>{"\x95\x97\x97\xE9.bmp"});
    EXPECT_EQ(Search(dir + "\\\x95\x5C\\*"), std::vector<std::string>{"a.txt"});
}

TEST_F(FileLayer, SearchesMatchWildcardsWithoutCaseInAFixedOrder)
{
    for (const char* name : {"b.bmp", "a.BMP", "C.Bmp", "d.wav", "e.bmpx", "noext", "ab.bmp"}) Write(name, "12345");
    Write("Pics/x.BMP", "1");
    Write("Pics/Y.bmp", "22");
    fs::create_directory(fs::path(dir) / "folder.bmp");
    using V = std::vector<std::string>;
    struct Case {
        std::string pattern;
        V expected;
    } cases[] = {
        {"*.BMP", {"a.BMP", "ab.bmp", "b.bmp", "C.Bmp", "folder.bmp"}},
        {"?.bmp", {"a.BMP", "b.bmp", "C.Bmp"}},
        {"A*", {"a.BMP", "ab.bmp"}},
        {"*.*", {"a.BMP", "ab.bmp", "b.bmp", "C.Bmp", "d.wav", "e.bmpx", "folder.bmp", "noext", "Pics"}},
        {"*X*", {"e.bmpx", "noext"}},
        {"NOEXT", {"noext"}},
        {"pics\\*.bmp", {"x.BMP", "Y.bmp"}},
        {"PICS/?.BMP", {"x.BMP", "Y.bmp"}},
        {"*.mid", {}},
        {"missing\\*.bmp", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Search(dir + "/" + c.pattern), c.expected) << c.pattern;

    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((dir + "/F*").c_str(), &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    FindClose(h);
    h = FindFirstFileA((dir + "/pics/y.BMP").c_str(), &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeLow, 2u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(FindNextFileA(h, &data));
    EXPECT_TRUE(FindClose(h));
    EXPECT_FALSE(FindClose(h));  // already closed
    EXPECT_EQ(FindFirstFileA((dir + "/*.mid").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileLayer, PatternsCountShiftJisCharactersAsOne)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"?.wav", "\x95\x5C.wav", true},   // 表 is one character
        {"??.wav", "\x95\x5C.wav", false},
        {"*\x5C*", "\x95\x5C.wav", false},  // its second byte is not a backslash to match
        {"a?c", "ABC", true},
        {"*.b*p", "x.BMP", true},
        {"*.*", "noext", true},
        {"*.", "noext", false},
        {"", "", true},
    };
    for (const Case& c : cases) EXPECT_EQ(ovPlatform::MatchPattern(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST_F(FileLayer, DeletesFilesOnlyAndResolvesWithinItsBuffer)
{
    Write("Old.Pak", "x");
    fs::create_directory(fs::path(dir) / "sub");
    EXPECT_TRUE(DeleteFileA((dir + "\\OLD.PAK").c_str()));
    EXPECT_FALSE(fs::exists(fs::path(dir) / "Old.Pak"));
    EXPECT_FALSE(DeleteFileA((dir + "\\OLD.PAK").c_str()));
    EXPECT_FALSE(DeleteFileA((dir + "/SUB").c_str()));
    EXPECT_TRUE(fs::exists(fs::path(dir) / "sub"));

    char native[64];
    std::string longName = dir + "/" + std::string(80, 'n');
    EXPECT_FALSE(ovPlatform::ResolvePath(longName.c_str(), native, sizeof(native)));
    EXPECT_STREQ(native, "");
    EXPECT_TRUE(ovPlatform::ResolvePath((dir + "\\SUB\\new.txt").c_str(), native, sizeof(native)));
    EXPECT_EQ(std::string(native), dir + "/sub/new.txt");
}

TEST_F(FileLayer, WindowsDirectoryIsTheSystemDirectoryWithoutItsSeparator)
{
    char buffer[256];
    headless::SetSystemDirectory(dir + "/win/");
    EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof(buffer)), dir.size() + 4);
    EXPECT_EQ(std::string(buffer), dir + "/win");
    headless::SetSystemDirectory("/");
    EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof(buffer)), 1u);
    EXPECT_STREQ(buffer, "/");
    // Too small: the size needed, nothing copied.
    headless::SetSystemDirectory("/abcdef");
    buffer[0] = 'z';
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 4), 8u);
    EXPECT_EQ(buffer[0], 'z');
}

TEST_F(FileLayer, DiskQueriesMapEveryDriveToTheRoot)
{
    DWORD spc, bps, freeC, totalC;
    struct Case {
        const char* root;
        bool ok;
        const char* folder;  // what the backend was asked about
    } cases[] = {
        {"C:\\", true, "/"}, {"c:", true, "/"}, {"Z:/", true, "/"}, {"/home", true, "/home"},
        {"1:\\", false, ""}, {"CC:\\", false, ""}, {"C:\\WINDOWS", false, ""},
    };
    for (const Case& c : cases) {
        headless::SetDiskSpace(8, 512, 100, 200);
        EXPECT_EQ(GetDiskFreeSpaceA("Q:\\", &spc, &bps, &freeC, &totalC), TRUE);
        BOOL ok = GetDiskFreeSpaceA(c.root, &spc, &bps, &freeC, &totalC);
        EXPECT_EQ(ok != FALSE, c.ok) << c.root;
        if (c.ok) {
            EXPECT_EQ(headless::LastDiskSpaceFolder(), c.folder) << c.root;
            EXPECT_EQ(spc * bps * freeC, 409600u);
            EXPECT_EQ(totalC, 200u);
        } else {
            EXPECT_EQ(spc | bps | freeC | totalC, 0u) << c.root;
        }
    }
    headless::SetDiskSpace(8, 512, 100, 200, false);
    EXPECT_FALSE(GetDiskFreeSpaceA("C:\\", &spc, &bps, &freeC, &totalC));
    EXPECT_EQ(freeC, 0u);
}

TEST_F(FileLayer, VersionAndMemoryRecordsKeepTheirSizes)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 156;  // a larger record the layer does not know
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, 0u);
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 1u);

    MEMORYSTATUS status{};
    headless::SetMemoryStatus(MEMORYSTATUS{0, 10, 1000, 900, 0, 0, 0, 0});
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwLength, 32u);
    EXPECT_EQ(status.dwAvailPhys, 900u);
}

}  // namespace
