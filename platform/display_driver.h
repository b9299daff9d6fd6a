// platform/display_driver.h - what a backend supplies to the display device.
//
// The display device of platform/ddraw.h is shared code (platform/core/):
// surfaces are memory, blits and GDI drawing run on the processor. A backend
// only says what the desktop looks like (its depth and pixel layout, the
// device list with capability bits, which full-screen modes it accepts) and
// receives what must be seen: every change to the primary surface is handed
// to Present. The headless backend also uses StepResult to make chosen steps
// fail for tests.
//
// Installed by the backend as Backend::display; null when there is no
// display. Every slot must be filled by the backend (there are no defaults).
#pragma once

#include "platform/ddraw.h"
#include "platform/types.h"

#include <cstdint>

namespace ovPlatform {

// A pixel layout: 8 bits per pixel is palettised (all masks 0); 16 is
// 5-6-5 (0xF800, 0x07E0, 0x001F) or 5-5-5 (0x7C00, 0x03E0, 0x001F); 24 and 32
// are 0xFF0000, 0x00FF00, 0x0000FF. Pixels are little-endian in memory.
struct PixelLayout {
    int bitsPerPixel;   // 8, 16, 24 or 32
    DWORD redMask;
    DWORD greenMask;
    DWORD blueMask;
};

inline constexpr PixelLayout kLayout565{16, 0xF800, 0x07E0, 0x001F};
inline constexpr PixelLayout kLayout555{16, 0x7C00, 0x03E0, 0x001F};
inline constexpr PixelLayout kLayout24{24, 0xFF0000, 0x00FF00, 0x0000FF};
inline constexpr PixelLayout kLayout32{32, 0xFF0000, 0x00FF00, 0x0000FF};
inline constexpr PixelLayout kLayout8{8, 0, 0, 0};

// One entry of the device list DirectDrawEnumerateA walks.
struct DisplayDeviceInfo {
    bool isDefault;         // the default device: the callback gets a null GUID
    GUID guid;
    char description[64];   // ASCII
    char name[32];
    bool creatable;         // false: DirectDrawCreate fails for it
    DDCAPS hardware;        // what GetCaps reports for the device
    DDCAPS emulation;
};

// Steps a backend may refuse (StepResult); the core asks before doing each.
enum class DisplayStep {
    CreateDevice,       // DirectDrawCreate (any device)
    CooperativeLevel,   // SetCooperativeLevel
    CreatePrimary,      // CreateSurface of the primary surface
    CreateSurface,      // CreateSurface of an off-screen surface
    CreateClipper,      // CreateClipper
    ClipperWindow,      // IDirectDrawClipper::SetHWnd
    SetClipper,         // IDirectDrawSurface::SetClipper
    PixelFormat,        // IDirectDrawSurface::GetPixelFormat
    Lock,               // IDirectDrawSurface::Lock
    GetDC,              // IDirectDrawSurface::GetDC
};

// What Present receives: the primary surface's pixels.
struct PresentImage {
    const std::uint8_t* pixels;  // first row
    int width;                   // pixels
    int height;
    int pitch;                   // bytes per row
    PixelLayout layout;
};

struct DisplayDriver {
    // The desktop's pixel layout (what windowed surfaces and GetDC(window) use).
    PixelLayout (*DesktopLayout)(DisplayDriver& d);
    // The desktop's size in pixels (the primary surface when windowed).
    void (*DesktopSize)(DisplayDriver& d, int* width, int* height);
    // The device list, in enumeration order; index 0..DeviceCount-1.
    int (*DeviceCount)(DisplayDriver& d);
    void (*Device)(DisplayDriver& d, int index, DisplayDeviceInfo* info);
    // Asked once before each step runs: DD_OK to let it run; any other value
    // is what the call returns instead.
    HRESULT (*StepResult)(DisplayDriver& d, DisplayStep step);
    // Switch to a full-screen mode; true when accepted, with its layout.
    bool (*SetMode)(DisplayDriver& d, int width, int height, int bitsPerPixel, PixelLayout* layout);
    // Back to the desktop's own mode.
    void (*RestoreMode)(DisplayDriver& d);
    // window gets (exclusive true) or gives up the whole screen.
    void (*SetExclusive)(DisplayDriver& d, HWND window, bool exclusive);
    // Extra bytes at the end of each surface row (0 for tightly packed rows).
    int (*RowPadding)(DisplayDriver& d);
    // The primary surface changed. Windowed (window non-null, fullScreen
    // false): the window's client area shows the image's rectangle at the
    // window's client origin (screen coordinates). Full screen: the whole
    // image is the screen.
    void (*Present)(DisplayDriver& d, PlatformWindow* window, const PresentImage& image, bool fullScreen);
    // Return at the start of the next vertical blank.
    void (*WaitVerticalBlank)(DisplayDriver& d);
    // The desktop becomes visible over an exclusive display (message boxes).
    void (*ShowDesktop)(DisplayDriver& d);

    void* data;  // backend's own
};

}  // namespace ovPlatform
