// platform/backend.h - the driver contract between the platform core and a backend.
//
// The platform core (platform/core/) implements the services of the platform
// headers once: the window table, the message queue and the default window
// procedure, the cursor's display count, the key-state table, surfaces, GDI,
// the mixer. What differs between a real desktop and a test process goes
// through one Backend record of function pointers, filled by each backend's
// create function. After create(), every slot a backend left empty gets a
// Default* no-op (see FillDefaults in platform/core/backend.cpp), so the core
// calls slots without checking them.
//
// Only platform/ includes this header; the engine includes the service headers.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <cstdint>

struct MEMORYSTATUS;     // platform/sysinfo.h
struct OSVERSIONINFOA;  // platform/sysinfo.h

namespace ovPlatform {

struct DisplayDriver;  // platform/display_driver.h
struct AudioDriver;    // platform/audio_driver.h

struct Backend {
    const char* name;

    // * * * Life cycle * * *

    // Reverse the effects of create(): called once by Stop().
    void (*Quit)(Backend& b);

    // * * * Time * * *

    // Milliseconds, unsigned 32-bit, wrapping.
    std::uint32_t (*GetTicks)(Backend& b);
    // Sleep at least ms milliseconds (headless: advance the virtual clock).
    void (*Delay)(Backend& b, std::uint32_t ms);
    // Seconds since the epoch, UTC.
    std::int64_t (*GetCalendarTime)(Backend& b);

    // * * * Windows * * *
    // The core owns the PlatformWindow record; a backend keeps its native
    // window in window.native. Sizes are client sizes, positions client
    // origins in screen coordinates.

    // Make the native window (hidden). False when there is none to be had.
    bool (*CreateNativeWindow)(Backend& b, PlatformWindow& window);
    void (*DestroyNativeWindow)(Backend& b, PlatformWindow& window);
    void (*ShowNativeWindow)(Backend& b, PlatformWindow& window, bool visible);
    void (*SetNativeWindowTopmost)(Backend& b, PlatformWindow& window, bool topmost);
    void (*MinimizeNativeWindow)(Backend& b, PlatformWindow& window);
    // Bring the window to the front and give it the focus.
    void (*RaiseNativeWindow)(Backend& b, PlatformWindow& window);

    // * * * Events * * *

    // Turn pending native events into messages (ovPlatform::detail::Report*).
    void (*PumpEvents)(Backend& b);
    // Block until at least one native event is pending; PumpEvents follows.
    void (*WaitEvents)(Backend& b);
    // The queue is empty and PeekMessageA is about to report so (a message
    // loop runs a frame now). The headless backend counts frames here and
    // runs a test's per-frame script, which may post messages.
    void (*QueueEmpty)(Backend& b);

    // * * * Screen, cursor, keys * * *

    int (*GetSystemMetric)(Backend& b, int index);
    bool (*GetCursorPos)(Backend& b, int* x, int* y);  // screen coordinates
    bool (*SetCursorPos)(Backend& b, int x, int y);
    // Whether the pointer is drawn (display count >= 0 and a cursor shape set).
    void (*SetCursorVisible)(Backend& b, bool visible);
    // Confine the pointer to rect (screen coordinates), or free it (null).
    bool (*ClipCursor)(Backend& b, const RECT* rect);
    bool (*EnableIME)(Backend& b, bool enable);

    // * * * Boxes * * *

    // Show a modal box; Shift-JIS text and caption. Returns IDOK, IDYES, IDNO,
    // IDCANCEL, or 0 when it could not be shown.
    int (*MessageBox)(Backend& b, PlatformWindow* owner, const char* text, const char* caption, UINT style);
    void (*Beep)(Backend& b, UINT type);

    // * * * Instances * * *

    // Take the per-user lock called name. Returns 0 when taken now, 1 when
    // another instance holds it, -1 on failure. *token identifies the lock.
    int (*AcquireNamedLock)(Backend& b, const char* name, void** token);
    void (*ReleaseNamedLock)(Backend& b, void* token);
    // Make a shown window findable by other instances (FindWindowA).
    void (*PublishWindow)(Backend& b, PlatformWindow& window);
    // Ask another instance's window of this class and title to come to the
    // front. With probeOnly, only tell whether such a window exists.
    bool (*RaiseRemoteWindow)(Backend& b, const char* className, const char* title, bool probeOnly);

    // * * * Files and system * * *

    // The executable's absolute native path ('/' separators).
    bool (*GetExecutablePath)(Backend& b, char* buffer, std::size_t size);
    // The per-user system directory the engine calls the Windows directory.
    bool (*GetSystemDirectory)(Backend& b, char* buffer, std::size_t size);
    // Seconds east of UTC of the local time zone at calendar time t.
    // Default: the system's zone (localtime_r).
    long (*GetLocalTimeOffset)(Backend& b, std::int64_t t);
    // Space on the file system that holds the native folder (null: the current
    // directory), as the desktop counts it. False when it cannot be told.
    // Default: statvfs.
    bool (*GetDiskSpace)(Backend& b, const char* folder, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                         DWORD* freeClusters, DWORD* totalClusters);
    // Fill the memory record (dwLength is set by the caller). Default:
    // sysinfo, clamped to 32 bits.
    void (*GetMemoryStatus)(Backend& b, MEMORYSTATUS* status);
    // Fill the version record (its size is already checked). Default: NT 5.1.2600.
    void (*GetVersionRecord)(Backend& b, OSVERSIONINFOA* info);

    // * * * Devices * * *
    // Null when the backend has no such device.

    DisplayDriver* display;
    AudioDriver* audio;

    void* driverData;
};

// A backend the program can start by name.
struct Bootstrap {
    const char* name;
    const char* description;
    bool (*create)(Backend& b);  // fill the slots; false when unavailable
};

extern const Bootstrap sdlBootstrap;
extern const Bootstrap headlessBootstrap;

// The backend in use; only valid between ovPlatform::Start and Stop.
Backend& CurrentBackend();

}  // namespace ovPlatform
