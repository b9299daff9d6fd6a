// platform/timer.h - the millisecond clock and calendar time.
//
// timeGetTime is an unsigned 32-bit millisecond count that wraps after about
// 49.7 days; compare its readings unsigned. On the headless backend it is a
// virtual clock that moves only when a test (or the refresh wait) advances it.
#pragma once

#include "platform/types.h"

#include <cstdint>

DWORD timeGetTime();
void Sleep(DWORD milliseconds);  // headless: advances the virtual clock instead

namespace ovPlatform {

// Seconds since 1970-01-01 00:00:00 UTC (settable on the headless backend).
std::int64_t CalendarTime();

}  // namespace ovPlatform
