// platform/sysinfo.h - system queries: local time, free disk space, memory,
// the version record.
//
// The records have the layout and sizes the engine was written for (a
// 32-byte memory record of 32-bit fields, a 148-byte version record), so
// sizes the engine writes into them are checked as the desktop checks them.
// On the headless backend every figure is set by the test (platform/headless/
// headless.h); on the SDL backend they come from the system.
#pragma once

#include "platform/types.h"

// * * * Local time * * *

struct SYSTEMTIME {
    WORD wYear;          // four digits
    WORD wMonth;         // 1..12
    WORD wDayOfWeek;     // 0 Sunday .. 6 Saturday
    WORD wDay;           // 1..31
    WORD wHour;          // 0..23
    WORD wMinute;        // 0..59
    WORD wSecond;        // 0..59 (60 never occurs)
    WORD wMilliseconds;  // always 0: calendar time has whole seconds
};

// The local date and time: the backend's calendar time (ovPlatform::CalendarTime)
// moved by the local time zone's offset at that moment (SDL: the system's zone
// via localtime_r; headless: headless::SetLocalTimeOffset).
void GetLocalTime(SYSTEMTIME* time);

// * * * Free disk space * * *

// Space on the drive of root, as clusters. root is a drive root such as
// "C:\\" (any letter A..Z, either case, with ":" and an optional separator):
// every letter stands for the file system that holds "/", as paths with
// drive letters do in the file layer (platform/files.h). A native folder
// ("/home/me") asks about the file system that holds it. Null asks about the
// current directory's. Counts wider than 32 bits are clamped to 0xFFFFFFFF.
// FALSE (and the outputs 0) when the root is not one of these or the system
// cannot tell.
BOOL GetDiskFreeSpaceA(const char* root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                       DWORD* freeClusters, DWORD* totalClusters);

// * * * Memory * * *

struct MEMORYSTATUS {
    DWORD dwLength;         // sizeof(MEMORYSTATUS), 32; set by GlobalMemoryStatus
    DWORD dwMemoryLoad;     // percent of physical memory in use, 0..100
    DWORD dwTotalPhys;      // bytes of physical memory
    DWORD dwAvailPhys;      // bytes of physical memory free for programs
    DWORD dwTotalPageFile;  // bytes of swap space
    DWORD dwAvailPageFile;  // bytes of swap space free
    DWORD dwTotalVirtual;   // bytes of address space a 32-bit program has (2 GB)
    DWORD dwAvailVirtual;   // of which free
};
static_assert(sizeof(MEMORYSTATUS) == 32);

// Fills the record; byte counts above 4 GB read as 0xFFFFFFFF, as the desktop
// reports them to a 32-bit program.
void GlobalMemoryStatus(MEMORYSTATUS* status);

// * * * The system's version * * *

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;  // the 95 family
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;  // the caller sets sizeof(OSVERSIONINFOA), 148
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;         // VER_PLATFORM_*
    char szCSDVersion[128];     // service pack text, NUL-terminated
};
static_assert(sizeof(OSVERSIONINFOA) == 148);

// Fills the record the system reports. This layer reports itself as an NT
// family system, version 5.1, build 2600, no service pack text: the newest
// record the engine's version table knows (it maps it to 2000). The headless
// backend reports what the test set (headless::SetVersionRecord).
// FALSE, with the record untouched, when dwOSVersionInfoSize is not 148.
BOOL GetVersionExA(OSVERSIONINFOA* info);
