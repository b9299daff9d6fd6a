// platform/core/sysinfo.cpp - local time, free disk space, memory status and
// the version record, over the backend's slots; and the slots' defaults,
// which ask the real system.
//
// Local time is the backend's calendar time plus the zone's offset at that
// moment, broken down as a UTC date, so the headless backend's settable
// calendar and offset decide it completely.
//
// LIMITATIONS: the version record is a fixed NT 5.1 record on a real system
// (see platform/sysinfo.h); the memory figures of a real system are what
// sysinfo() reports, with "available" = free + buffer memory.
// DEPENDENCIES: localtime_r, gmtime_r, statvfs, sysinfo.

#include "platform/sysinfo.h"

#include "platform/backend.h"
#include "platform/core/sysinfo_internal.h"
#include "platform/timer.h"

#include <cstring>
#include <ctime>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>

namespace ovPlatform::detail {
namespace {

DWORD Clamp32(unsigned long long v) { return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(v); }

}  // namespace

long SystemLocalTimeOffset(Backend&, std::int64_t t)
{
    std::time_t when = static_cast<std::time_t>(t);
    std::tm local{};
    if (!localtime_r(&when, &local)) return 0;
    return local.tm_gmtoff;
}

bool SystemDiskSpace(Backend&, const char* folder, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                     DWORD* freeClusters, DWORD* totalClusters)
{
    struct statvfs fs;
    if (statvfs(folder ? folder : ".", &fs) != 0) return false;
    unsigned long long unit = fs.f_frsize ? fs.f_frsize : fs.f_bsize;
    if (unit == 0) return false;
    // A cluster is one fragment; sectors are 512 bytes where the fragment is
    // a whole number of them.
    if (unit % 512 == 0 && unit / 512 <= 0xFFFFFFFFull) {
        *sectorsPerCluster = static_cast<DWORD>(unit / 512);
        *bytesPerSector = 512;
    } else {
        *sectorsPerCluster = 1;
        *bytesPerSector = Clamp32(unit);
    }
    *freeClusters = Clamp32(fs.f_bavail);
    *totalClusters = Clamp32(fs.f_blocks);
    return true;
}

void SystemMemoryStatus(Backend&, MEMORYSTATUS* status)
{
    struct sysinfo info;
    if (sysinfo(&info) != 0) return;
    unsigned long long unit = info.mem_unit ? info.mem_unit : 1;
    unsigned long long total = info.totalram * unit;
    unsigned long long avail = (info.freeram + info.bufferram) * unit;
    if (avail > total) avail = total;
    status->dwMemoryLoad = total ? static_cast<DWORD>((total - avail) * 100 / total) : 0;
    status->dwTotalPhys = Clamp32(total);
    status->dwAvailPhys = Clamp32(avail);
    status->dwTotalPageFile = Clamp32(info.totalswap * unit);
    status->dwAvailPageFile = Clamp32(info.freeswap * unit);
    status->dwTotalVirtual = 0x7FFE0000u;  // the user address space of a 32-bit program
    status->dwAvailVirtual = 0x7FFE0000u;
}

void SystemVersionRecord(Backend&, OSVERSIONINFOA* info)
{
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
}

}  // namespace ovPlatform::detail

using namespace ovPlatform;

void GetLocalTime(SYSTEMTIME* time)
{
    if (!time) return;
    Backend& b = CurrentBackend();
    std::int64_t utc = b.GetCalendarTime(b);
    std::time_t local = static_cast<std::time_t>(utc + b.GetLocalTimeOffset(b, utc));
    std::tm parts{};
    if (!gmtime_r(&local, &parts)) {
        *time = SYSTEMTIME{};
        return;
    }
    time->wYear = static_cast<WORD>(parts.tm_year + 1900);
    time->wMonth = static_cast<WORD>(parts.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    time->wDay = static_cast<WORD>(parts.tm_mday);
    time->wHour = static_cast<WORD>(parts.tm_hour);
    time->wMinute = static_cast<WORD>(parts.tm_min);
    time->wSecond = static_cast<WORD>(parts.tm_sec > 59 ? 59 : parts.tm_sec);
    time->wMilliseconds = 0;
}

BOOL GetDiskFreeSpaceA(const char* root, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                       DWORD* totalClusters)
{
    DWORD spc = 0, bps = 0, freeC = 0, totalC = 0;
    const char* folder = nullptr;  // null: the current directory
    bool valid = true;
    if (root) {
        bool letter = (root[0] >= 'A' && root[0] <= 'Z') || (root[0] >= 'a' && root[0] <= 'z');
        if (letter && root[1] == ':' && (root[2] == '\0' || ((root[2] == '\\' || root[2] == '/') && root[3] == '\0'))) {
            folder = "/";  // every drive letter is the file system root
        } else if (root[0] == '/') {
            folder = root;
        } else {
            valid = false;
        }
    }
    Backend& b = CurrentBackend();
    bool ok = valid && b.GetDiskSpace(b, folder, &spc, &bps, &freeC, &totalC);
    if (!ok) spc = bps = freeC = totalC = 0;
    if (sectorsPerCluster) *sectorsPerCluster = spc;
    if (bytesPerSector) *bytesPerSector = bps;
    if (freeClusters) *freeClusters = freeC;
    if (totalClusters) *totalClusters = totalC;
    return ok ? TRUE : FALSE;
}

void GlobalMemoryStatus(MEMORYSTATUS* status)
{
    if (!status) return;
    *status = MEMORYSTATUS{};
    status->dwLength = sizeof(MEMORYSTATUS);
    CurrentBackend().GetMemoryStatus(CurrentBackend(), status);
    status->dwLength = sizeof(MEMORYSTATUS);
}

BOOL GetVersionExA(OSVERSIONINFOA* info)
{
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return FALSE;
    CurrentBackend().GetVersionRecord(CurrentBackend(), info);
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return TRUE;
}
