// system/timing.cpp - wait slots, frame timing and the random generator.
//
// Every time value is a reading of the unsigned 32-bit millisecond clock, or
// a reading plus an offset, and compares unsigned, so deadlines that pass the
// clock's wrap are stored wrapped.

#include "system/system.h"
#include "system/texts.h"

#include "input/input.h"
#include "draw/draw.h"
#include "platform/timer.h"

namespace ovSystem {

float FrameDelta = 0.0f;
DWORD PreviousFrameTime = 0;
DWORD WaitSlots[ov::WAIT_SLOTS + 1] = {};
std::uint32_t RandomState = 1;

using texts::kWaitOutOfRange;

int SetWait(int slot, DWORD milliseconds)
{
    if (slot < 1 || slot > 10) return Error("ovSystem::SetWait", kWaitOutOfRange, 0);
    WaitSlots[slot] = timeGetTime() + milliseconds;
    return 1;
}

int InitWait(int slot)
{
    if (slot < 1 || slot > 10) return Error("ovSystem::InitWait", kWaitOutOfRange, 0);
    WaitSlots[slot] = DISARMED;
    return 1;
}

// The caller's word is taken for the slot number (1..10), as designed; a
// number outside the table reads as expired rather than outside the array.
int CheckWait(int slot)
{
    if (slot < 0 || slot > ov::WAIT_SLOTS) return 1;
    return timeGetTime() >= WaitSlots[slot] ? 1 : 0;
}

DWORD Wait(DWORD milliseconds)
{
    WaitSlots[11] = timeGetTime() + milliseconds;
    // Spins on the clock: short waits only. Neither sleeps nor handles messages.
    while (!(timeGetTime() > WaitSlots[11])) {
    }
    return ResetFrameTime();
}

DWORD ResetFrameTime()
{
    FrameDelta = 0.0f;
    PreviousFrameTime = timeGetTime();
    return PreviousFrameTime;
}

DWORD UpdateFrameTime()
{
    DWORD now = timeGetTime();
    FrameDelta = static_cast<float>(static_cast<DWORD>(now - PreviousFrameTime)) / 1000.0f;
    PreviousFrameTime = timeGetTime();
    return PreviousFrameTime;
}

int Reset()
{
    for (DWORD& slot : WaitSlots) slot = DISARMED;
    ovInput::EndCapture();
    ovInput::SetAltMode(0);
    if (ovDraw::FullScreen) ovInput::ConfineCursorToWindow();
    return 1;
}

void SeedRandom(std::uint32_t seed) { RandomState = seed; }

int Random()
{
    RandomState = RandomState * 214013u + 2531011u;
    return static_cast<int>((RandomState >> 16) & 0x7FFF);
}

}  // namespace ovSystem
