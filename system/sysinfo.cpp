// system/sysinfo.cpp - the small system queries: local date and time, free
// disk space, free memory, the system's version number.
//
// Byte counts are returned as 32-bit ints, as callers have always read them;
// a count beyond what an int holds reads as 2147483647 (INT_MAX) instead of
// wrapping into a small or negative number.
//
// LIMITATIONS: every drive letter stands for the file system root
// (platform/sysinfo.h); the version number of a real system is always 2000
// (the platform layer reports an NT 5.1 record).
// DEPENDENCIES: platform/sysinfo.h.

#include "system/sjis_text.h"
#include "system/system.h"
#include "system/texts.h"

#include "platform/sysinfo.h"

#include <climits>
#include <cstdint>

namespace ovSystem {

namespace {

const char* const kWeekdays[7] = {texts::kSunday,   texts::kMonday, texts::kTuesday, texts::kWednesday,
                                  texts::kThursday, texts::kFriday, texts::kSaturday};

int ClampToInt(std::uint64_t v) { return v > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(v); }

}  // namespace

void Date(int* year, int* month, int* day, char* weekday)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (year) *year = now.wYear;
    if (month) *month = now.wMonth;
    if (day) *day = now.wDay;
    if (weekday) ov::CopyText(weekday, 3, kWeekdays[now.wDayOfWeek % 7]);
}

void Time(int* hour, int* minute, int* second)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (hour) *hour = now.wHour;
    if (minute) *minute = now.wMinute;
    if (second) *second = now.wSecond;
}

int DiskFree(char driveLetter)
{
    char root[] = "?:\\";
    root[0] = driveLetter;
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) return 0;
    // Each factor is 32 bits, so the product needs at most 96: stop at INT_MAX.
    std::uint64_t clusterBytes = static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector;
    if (clusterBytes == 0 || freeClusters == 0) return 0;
    if (clusterBytes > static_cast<std::uint64_t>(INT_MAX) / freeClusters) return INT_MAX;
    return ClampToInt(clusterBytes * freeClusters);
}

int MemoryFree()
{
    MEMORYSTATUS status;
    GlobalMemoryStatus(&status);
    return ClampToInt(status.dwAvailPhys);
}

int WindowsVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) return -1;
    int major = static_cast<int>(info.dwMajorVersion);
    int minor = static_cast<int>(info.dwMinorVersion);
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 310;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major == 4) return minor == 0 ? 950 : 980;
        return major * 100 + minor;
    case VER_PLATFORM_WIN32_NT:
        if (major == 5) return 2000;
        return major * 1000 + minor * 10;
    default:
        return -1;
    }
}

}  // namespace ovSystem
