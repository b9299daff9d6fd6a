// platform/core/sysinfo_internal.h - the system queries as the real system
// answers them: the default backend slots (platform/core/backend.cpp).
// Not for the engine.
#pragma once

#include "platform/backend.h"

namespace ovPlatform::detail {

long SystemLocalTimeOffset(Backend& b, std::int64_t t);
bool SystemDiskSpace(Backend& b, const char* folder, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                     DWORD* freeClusters, DWORD* totalClusters);
void SystemMemoryStatus(Backend& b, MEMORYSTATUS* status);
void SystemVersionRecord(Backend& b, OSVERSIONINFOA* info);

}  // namespace ovPlatform::detail
