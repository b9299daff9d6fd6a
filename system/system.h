// system/system.h - ovSystem: the shell's state, wait slots, frame timing,
// random numbers, message boxes, paths, one-integer files, system queries.
//
// All state is engine-wide plain data; applications read it directly (the
// scene number, the frame delta, the blink flag). Texts are Shift-JIS.
// Operations that fail show an error box and return 0.
#pragma once

#include "platform/types.h"
#include "system/config.h"

#include <cstdint>

namespace ovSystem {

// * * * Shell state (the entry point, the frame loop and the quit sequence) * * *

extern HWND WindowHandle;        // the one window; owner of every box
extern HINSTANCE InstanceHandle; // stored after the window is shown
extern HANDLE MutexHandle;       // the single-instance mutex, owned from start to quit
extern int ClientWidth;          // 180: the window's client size and the cursor test's area
extern int ClientHeight;         // 360
extern int Options;              // bit 0: not topmost; bit 1: run frames while inactive; bit 2: start hidden
extern int CursorClipOption;     // 1: confine the cursor to the client area while active
extern int CursorShown;          // 1 while the shell last made the cursor visible
extern int MessageBoxOpen;       // 1 while an information or question box is open
extern int Active;               // 1 while the application is the active one
extern int SceneNumber;          // which scene function the loop calls
extern int PreviousScene;        // scene number at the end of the previous frame; 0 = none yet
extern int SceneChanged;         // 1 during the first frame of a scene
extern int PendingScene;         // taken over when a fade-out finishes
extern DWORD FrameStartTime;     // clock reading taken just before each scene call
extern int BlinkFlag;            // 1 for 1000 ms, then 0 for 200 ms, alternately
extern DWORD NextBlinkToggle;    // when the blink flag flips next
extern int CloseState;           // 0 running; 1 the window asked to close; 2 quit sequence done
extern int QuitDone;             // set by the first ovSystem::Quit
extern int ImeEnabled;           // the last value given to ovSystem::EnableIME
extern double TwoPi;             // pi + pi, for the wave line effects

int Quit();                       // runs the quit sequence once; always 1
char* CommandLine();              // the 256-byte copy of the command line
int EnableIME(int on);            // the input method for the whole process; the system's result
int IsWindowed();                 // 1 when the full-screen flag is 0

// * * * Wait slots, frame timing, random numbers * * *

inline constexpr DWORD DISARMED = 999999999;  // a wait slot that is not armed

extern float FrameDelta;          // seconds between the last two frames; 0.0 after ResetFrameTime
extern DWORD PreviousFrameTime;   // clock reading the next frame delta is measured from
extern DWORD WaitSlots[ov::WAIT_SLOTS + 1];  // deadlines; index 1..10 application, 11 Wait
extern std::uint32_t RandomState; // 1 until seeded

int SetWait(int slot, DWORD milliseconds);  // slot 1..10; 1, or 0 after an error box
int InitWait(int slot);                     // disarm slot 1..10; 1, or 0 after an error box
int CheckWait(int slot);                    // 1 once the clock reached the slot's deadline
DWORD Wait(DWORD milliseconds);             // busy wait, then ResetFrameTime; its clock reading
DWORD ResetFrameTime();                     // FrameDelta = 0; the clock reading
DWORD UpdateFrameTime();                    // FrameDelta from the previous reading; the second reading
int Reset();                                // disarm every slot, reset input modes; 1
void SeedRandom(std::uint32_t seed);
int Random();                               // 0..32767

// * * * Error reporting and message boxes * * *

// Shows "context : message" in a warning box captioned "エラー発生"; code is the
// failing system result (not shown). Always returns 0, so a failing operation
// reads: return ovSystem::Error("ovDraw::LoadObject", kBmpUnreadable, 0);
int Error(const char* context, const char* message, int code);
void Message(const char* format, ...);      // printf-style; the text gets "\r\n" appended
int Question(const char* format, ...);      // 1 for Yes, 0 otherwise

// * * * Paths, one-integer files, system queries * * *

char* BasePath(int flag);                   // 0: the executable's directory; 1: the save location
int ReadSaveDirectory(const char* fileName);  // non-zero when read; 0 when the file could not be opened
void SaveInt(const char* fileName, int value);
int LoadInt(const char* fileName);          // 0 when the file is missing or holds no integer
void Date(int* year, int* month, int* day, char* weekday);  // weekday: at least 3 bytes
void Time(int* hour, int* minute, int* second);
int DiskFree(char driveLetter);             // free bytes, as a wrapping 32-bit product
int MemoryFree();                           // free physical memory in bytes, 32-bit
int WindowsVersion();                       // 310, 950, 980, 4000, 2000, ...; -1 unknown
int CheckColorDepth(const char* settingsName);  // 1 to go on; 0 after the user declined and quit

}  // namespace ovSystem

// * * * The application the shell runs * * *
// The program (the toy, the run tool, a test) installs its hooks before the
// entry point runs; the shell calls them as the frame loop goes.

namespace ovSystem::detail {

struct Application {
    void (*startup)();            // once, after the window exists: ovDraw::Screen and the first scene
    void (*activate)(int);        // 0 at start, 1 on every re-activation
    void (*keyHandler)(int);      // every key press that reaches the application
    void (*scenes[ov::MAX_SCENES])();  // scene functions by scene number; null calls nothing
};

void InstallApplication(const Application* application);
const Application& CurrentApplication();
// What runs before the entry point: the 2-pi constant, the previous-frame
// time, the next blink toggle, the start of the frames-per-second window.
void StaticInitialise();

}  // namespace ovSystem::detail

// The process entry point of the engine's program.
int WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);
