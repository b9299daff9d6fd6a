// platform/headless/headless.h - the control interface of the headless backend.
//
// The headless backend has no display, no input devices and no sound card.
// Everything a test or the headless run tool needs to drive the real engine
// and application code deterministically is here, and tests use nothing else
// to steer the platform:
//
//   * the clock: a virtual millisecond counter that moves only when told
//     (Advance, SetTime, Sleep, and one refresh period per vertical-blank wait);
//   * calendar time and the local time zone offset;
//   * the screen: size, system metrics, cursor position, the cursor's
//     visibility and confinement as the program left them;
//   * input: key presses, clicks, double-clicks, pointer moves, activation and
//     the close box, turned into the window messages a desktop would queue;
//   * a per-frame script: a hook called once before each frame of a message
//     loop (the moment PeekMessageA finds the queue empty while the
//     application is active), which may post input or stop the program;
//   * message boxes: a queue of answers and a record of every box shown;
//   * another running instance, for the single-instance guard;
//   * the executable's path and the per-user system directory;
//   * the system queries: the local time zone, free disk space, the memory
//     record and the version record (the real system is never asked);
//   * the display: desktop depth and layout, the device list and its
//     capability bits, refused full-screen depths, failures of any creation
//     step, of Lock and of GetDC, losing every surface, surfaces whose pitch
//     is wider than the row, and read-back of any surface and of what the
//     window shows.
//
// Call ovPlatform::Start("headless") first; Start resets everything below to
// the defaults given here. Each Start also makes a fresh instance name, so
// named locks never collide between tests, even tests that run in parallel
// in one process or many.
#pragma once

#include "platform/ddraw.h"
#include "platform/display_driver.h"
#include "platform/sysinfo.h"
#include "platform/types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ovPlatform::headless {

// * * * Clock and calendar * * *
// A program that busy-waits on timeGetTime sees the clock move by 1 ms every
// 64 readings in a row that found it unchanged within one frame; nothing
// else moves it.

void SetTime(std::uint32_t ms);             // timeGetTime's next reading (default 0)
void Advance(std::uint32_t ms);             // move the clock forward (wraps at 2^32)
std::uint32_t Now();
void SetCalendarTime(std::int64_t seconds); // seconds since 1970 UTC (default 1700000000)
std::int64_t GetCalendarTime();
void SetLocalTimeOffset(int seconds);       // local time = UTC + offset (default 0)
int GetLocalTimeOffset();

// * * * Screen and cursor * * *

void SetScreenSize(int width, int height);  // default 1024 x 768
void SetSystemMetric(int index, int value); // defaults: border 1, edge 2, dialog frame 3, caption 23
void SetCursorPosition(int x, int y);       // screen coordinates; sends no message
POINT CursorPosition();
bool IsCursorVisible();                     // display count >= 0 and a cursor shape set
int CursorDisplayCount();
bool IsCursorConfined(RECT* rect = nullptr);  // the ClipCursor rectangle in force
bool IsImeEnabled();

// * * * The program's window * * *

struct WindowInfo {
    bool exists;
    std::string title;  // Shift-JIS bytes
    std::string className;
    int outerX, outerY, outerWidth, outerHeight;
    int clientX, clientY, clientWidth, clientHeight;
    bool visible, topmost, minimized;
    int raiseCount;     // times it was brought to the front
};
WindowInfo MainWindowInfo();

// * * * Input * * *
// Positions are client coordinates of the program's window. Each call queues
// the messages at once; they are delivered by the program's next
// PeekMessageA. A press is WM_KEYDOWN (or WM_SYSKEYDOWN with Alt held),
// then WM_KEYUP.

void KeyDown(int virtualKey);
void KeyUp(int virtualKey);
void PressKey(int virtualKey);          // down, then up
void MoveMouse(int x, int y);           // also moves the cursor on the screen
void ButtonDown(int button, int x, int y);  // button 1 left, 2 right
void ButtonUp(int button, int x, int y);
void Click(int button, int x, int y);   // down, up
void DoubleClick(int button, int x, int y);  // down, up, double-click, up
void MoveWindow(int clientX, int clientY);   // the client origin moves: WM_MOVE
void Activate(bool active);             // WM_ACTIVATEAPP
void CloseBox();                        // the window's close box

// * * * Frames * * *

// Called with the frame's number (from 1) just before each frame runs. The
// hook may post input, advance the clock, inspect engine state, or call
// CloseBox() to end the program the way a user would.
void SetFrameHook(std::function<void(unsigned frame)> hook);
unsigned FrameCount();  // frames begun so far
// When a message loop waits (WaitMessage) with nothing queued and nothing a
// hook could post, the program could never go on; after this many such waits
// in a row the backend posts WM_QUIT with exit code 125 (default 1000).
void SetIdleLimit(unsigned waits);

// * * * Message boxes * * *

struct BoxRecord {
    std::string caption;  // Shift-JIS bytes
    std::string text;     // Shift-JIS bytes
    UINT style;
    int answer;           // what MessageBoxA returned
};
void QueueBoxAnswer(int answer);  // IDOK, IDYES, IDNO, IDCANCEL, or 0 (box failed)
// Called while each box is open (the program's modal wait), after it was recorded.
void SetBoxHook(std::function<void(const BoxRecord&)> hook);
const std::vector<BoxRecord>& Boxes();
void ClearBoxes();
unsigned BeepCount();
UINT LastBeepType();

// * * * Other instances * * *

// Pretend another instance holds the named lock name (as CreateMutexA sees
// it), with a window of this class and title that FindWindowA can find.
void SimulateOtherInstance(const char* lockName, const char* className, const char* title);
unsigned OtherInstanceRaiseCount();  // SetForegroundWindow calls on that window
std::string InstanceName();          // this Start's unique prefix for lock names

// * * * Files * * *

void SetExecutablePath(const std::string& path);  // default: the test program's own path
void SetSystemDirectory(const std::string& path); // the "Windows directory" (default /tmp)

// * * * System queries * * *
// The local time zone is SetLocalTimeOffset above (GetLocalTime reads it).

// What GetDiskFreeSpaceA reports for every drive and folder (defaults: 8
// sectors of 512 bytes a cluster, 262144 clusters free of 1048576: 1 GiB
// free of 4 GiB). With available false it fails instead (default true).
void SetDiskSpace(DWORD sectorsPerCluster, DWORD bytesPerSector, DWORD freeClusters, DWORD totalClusters,
                  bool available = true);
// The folder GetDiskFreeSpaceA asked about last ("/" for a drive letter; "" for
// none yet or the current directory).
std::string LastDiskSpaceFolder();
// What GlobalMemoryStatus reports (dwLength is always set to 32). Defaults:
// 268435456 bytes physical (256 MiB), 134217728 available, load 50,
// 536870912 page file of which 402653184 available, 2147352576 virtual of
// which 2000000000 available.
void SetMemoryStatus(const MEMORYSTATUS& status);
// What GetVersionExA reports (its size field is ignored). Default: NT family,
// 5.1, build 2600, no service pack text.
void SetVersionRecord(DWORD platformId, DWORD major, DWORD minor, DWORD build = 0, const char* servicePack = "");

// * * * Display * * *
// The desktop is 16 bits per pixel, 5-6-5, unless a test says otherwise;
// full-screen modes of 15, 16, 24 and 32 bits are accepted unless refused.

// 8 (palettised), 15 (16-bit 5-5-5), 16 (5-6-5, default), 24 or 32.
void SetDesktopDepth(int bits);
PixelLayout DesktopLayout();

struct DisplayDevice {
    std::string description = "Display";  // ASCII
    bool creatable = true;            // false: DirectDrawCreate fails for it
    DWORD hardwareCaps = 0;           // DDCAPS_* of the hardware
    DWORD hardwareSurfaceCaps = 0;    // DDSCAPS_* of the hardware
    DWORD emulationCaps = DDCAPS_BLT | DDCAPS_BLTSTRETCH | DDCAPS_BLTCOLORFILL | DDCAPS_COLORKEY;
    DWORD emulationSurfaceCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
};
// The device list DirectDrawEnumerateA walks, in order; the first entry is
// the default device (null GUID). Default: one device with the values above.
// An empty list makes every DirectDrawCreate fail.
void SetDisplayDevices(const std::vector<DisplayDevice>& devices);
// Devices released so far, by list index (DirectDraw objects whose count reached 0).
std::vector<int> ReleasedDevices();

// SetDisplayMode fails (DDERR_INVALIDMODE) for this depth.
void RefuseDepth(int bits);
// The depths SetDisplayMode was asked for, in order.
const std::vector<int>& ModeRequests();
bool IsDisplayModeSet();          // a full-screen mode is in force (not restored)
bool IsExclusive();               // the window holds the screen (DDSCL_EXCLUSIVE)

// The serial-th call (from 1; 0 = every call) of a step returns result.
void FailDisplayStep(DisplayStep step, int serial = 0, HRESULT result = DDERR_GENERIC);

// Extra bytes at the end of each surface row (default 8, so pitch > row).
void SetRowPadding(int bytes);
// Every live surface reports DDERR_SURFACELOST until restored.
void LoseAllSurfaces();

// A copy of pixels at a surface's layout.
struct Image {
    int width = 0;
    int height = 0;
    PixelLayout layout{};
    std::vector<std::uint32_t> pixels;     // raw values, row by row
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    COLORREF Colour(int x, int y) const;   // the raw value as 8-bit channels (top bits repeated)
};
Image SurfaceImage(IDirectDrawSurface* surface);  // its current contents, without locking
// What the window showed after the last presentation (the primary surface's
// pixels under the window's client area; full screen: the whole display).
Image WindowImage();
unsigned PresentCount();          // presentations so far
unsigned DesktopShownCount();     // FlipToGDISurface calls

// Each WaitForVerticalBlank advances the clock by one refresh period of this
// rate, in whole milliseconds that add up (60 Hz: 16 or 17 ms, 60 waits = 1000 ms).
void SetRefreshRate(int hertz);   // default 60
unsigned VerticalBlankCount();

}  // namespace ovPlatform::headless
