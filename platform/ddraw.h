// platform/ddraw.h - the display device, its surfaces and the window clipper.
//
// The engine draws into surfaces: rectangles of pixel memory at the
// display's layout (16-bit 5-6-5 or 5-5-5, 24-bit, 32-bit), with a row pitch
// in bytes that may be wider than the row. Every surface lives in memory in
// the platform core; the primary surface is the desktop (windowed) or the
// full-screen display, and a blit to it presents the pixels through the
// backend. The calls, records, flags and result codes below are exactly the
// ones the engine uses; values not named here do not exist.
//
// Objects are reference-counted from 1; Release() frees the object when the
// count reaches 0 and returns the new count. A surface keeps its device alive.
#pragma once

#include "platform/types.h"

#include <cstdint>

// * * * Result codes * * *

inline constexpr HRESULT DD_OK = 0;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DDERR_INVALIDOBJECT = static_cast<HRESULT>(0x88760082u);
inline constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
inline constexpr HRESULT DDERR_INVALIDMODE = static_cast<HRESULT>(0x88760078u);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = static_cast<HRESULT>(0x88760091u);
inline constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT DDERR_NOCOLORKEY = static_cast<HRESULT>(0x887600D7u);
inline constexpr HRESULT DDERR_NODIRECTDRAWHW = static_cast<HRESULT>(0x887600FFu);
inline constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = static_cast<HRESULT>(0x887600D4u);
inline constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
inline constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887601CCu);  // a DC or lock is out
inline constexpr HRESULT DDERR_WASSTILLDRAWING = static_cast<HRESULT>(0x8876021Cu);
inline constexpr HRESULT DDERR_NOTLOCKED = static_cast<HRESULT>(0x88760248u);
inline constexpr HRESULT DDERR_DCALREADYCREATED = static_cast<HRESULT>(0x8876026Cu);
inline constexpr HRESULT DDERR_NODC = static_cast<HRESULT>(0x8876025Cu);

// * * * Flags * * *

// Capability bits (DDCAPS::dwCaps and DDSCAPS::dwCaps).
inline constexpr DWORD DDCAPS_3D = 0x00000001;
inline constexpr DWORD DDCAPS_BLT = 0x00000040;
inline constexpr DWORD DDCAPS_BLTCOLORFILL = 0x04000000;
inline constexpr DWORD DDCAPS_BLTSTRETCH = 0x00000200;
inline constexpr DWORD DDCAPS_COLORKEY = 0x00400000;

inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;

// DDSURFACEDESC::dwFlags: which fields are valid.
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_PITCH = 0x00000008;
inline constexpr DWORD DDSD_CKSRCBLT = 0x00010000;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
inline constexpr DWORD DDSD_LPSURFACE = 0x00000800;

// DDPIXELFORMAT::dwFlags.
inline constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
inline constexpr DWORD DDPF_RGB = 0x00000040;

// SetCooperativeLevel.
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;

// Blt.
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;  // fill the destination with DDBLTFX::dwFillColor
inline constexpr DWORD DDBLT_KEYSRC = 0x00008000;     // skip source pixels equal to the source's key
inline constexpr DWORD DDBLT_WAIT = 0x01000000;

// BltFast.
inline constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
inline constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
inline constexpr DWORD DDBLTFAST_WAIT = 0x00000010;

// Lock.
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;
inline constexpr DWORD DDLOCK_READONLY = 0x00000010;
inline constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;

// Colour keys.
inline constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

// WaitForVerticalBlank.
inline constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x00000001;

// Device enumeration callback results.
inline constexpr BOOL DDENUMRET_CANCEL = 0;
inline constexpr BOOL DDENUMRET_OK = 1;

// * * * Records * * *
// Callers set dwSize to sizeof the record; the device does not insist on it.

struct GUID {
    DWORD data1;
    WORD data2;
    WORD data3;
    BYTE data4[8];
};

struct DDSCAPS {
    DWORD dwCaps;  // DDSCAPS_*
};

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;   // raw pixel value at the surface's layout
    DWORD dwColorSpaceHighValue;  // equal to the low value for every key the engine sets
};

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;        // DDPF_RGB, or DDPF_PALETTEINDEXED8 on an 8-bit display
    DWORD dwFourCC;       // always 0
    DWORD dwRGBBitCount;  // 8, 16, 24 or 32
    DWORD dwRBitMask;     // 0xF800 for 5-6-5, 0x7C00 for 5-5-5, 0xFF0000 for 24/32; 0 when palettised
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;  // always 0
};

struct DDSURFACEDESC {
    DWORD dwSize;
    DWORD dwFlags;        // DDSD_* fields set by the caller, or valid on return
    DWORD dwHeight;       // pixels
    DWORD dwWidth;        // pixels
    LONG lPitch;          // bytes from one row to the next (>= width * bytes per pixel)
    void* lpSurface;      // first pixel of the locked rectangle (Lock only)
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS ddsCaps;
};

struct DDCAPS {
    DWORD dwSize;
    DWORD dwCaps;         // DDCAPS_*
    DWORD dwCaps2;
    DWORD dwCKeyCaps;
    DWORD dwVidMemTotal;  // bytes
    DWORD dwVidMemFree;
    DDSCAPS ddsCaps;      // DDSCAPS_* the device can create
};

struct DDBLTFX {
    DWORD dwSize;
    DWORD dwFillColor;    // raw pixel value for DDBLT_COLORFILL
};

// * * * Objects * * *

class IDirectDrawClipper;
class IDirectDrawSurface;

class IDirectDraw {
public:
    virtual DWORD Release() = 0;
    // Hardware and emulation capabilities; either pointer may be null.
    virtual HRESULT GetCaps(DDCAPS* hardware, DDCAPS* emulation) = 0;
    // DDSCL_NORMAL (windowed) or DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN [| DDSCL_ALLOWREBOOT].
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    // Exclusive mode only; DDERR_INVALIDMODE for a refused size or depth.
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    // desc: DDSD_CAPS with DDSCAPS_PRIMARYSURFACE, or DDSD_CAPS | DDSD_WIDTH |
    // DDSD_HEIGHT with DDSCAPS_OFFSCREENPLAIN [| DDSCAPS_SYSTEMMEMORY]. Surfaces
    // take the display's pixel layout. outer must be null.
    virtual HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** surface, void* outer) = 0;
    virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, void* outer) = 0;
    // Returns at the start of the next vertical blank (DDWAITVB_BLOCKBEGIN).
    virtual HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
    // Make the desktop visible so that a message box can be seen.
    virtual HRESULT FlipToGDISurface() = 0;

protected:
    virtual ~IDirectDraw() = default;
};

class IDirectDrawClipper {
public:
    virtual DWORD Release() = 0;
    // Presentation through this clipper goes to the window's client area.
    virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;

protected:
    virtual ~IDirectDrawClipper() = default;
};

class IDirectDrawSurface {
public:
    virtual DWORD Release() = 0;
    // Copy src's srcRect (null: all of src) onto destRect (null: all of this
    // surface), scaling by nearest pixel when the sizes differ; rectangles are
    // clipped to both surfaces. DDBLT_KEYSRC skips source pixels equal to src's
    // key. DDBLT_COLORFILL fills destRect with fx->dwFillColor (src unused).
    // DDERR_SURFACELOST when either surface is lost, DDERR_SURFACEBUSY while
    // either has its DC out.
    virtual HRESULT Blt(RECT* destRect, IDirectDrawSurface* src, RECT* srcRect, DWORD flags, DDBLTFX* fx) = 0;
    // Unscaled copy of src's srcRect (null: all of it) to (x, y); clipped to
    // this surface. DDBLTFAST_SRCCOLORKEY skips pixels equal to src's key.
    virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* src, RECT* srcRect, DWORD transfer) = 0;
    // The whole surface (rect must be null); desc gets lpSurface, lPitch,
    // width, height and the pixel format. One lock at a time.
    virtual HRESULT Lock(RECT* rect, DDSURFACEDESC* desc, DWORD flags, HANDLE event) = 0;
    virtual HRESULT Unlock(void* pointer) = 0;
    // Lend a GDI device context drawing into this surface. Until ReleaseDC,
    // blits to or from the surface fail with DDERR_SURFACEBUSY.
    virtual HRESULT GetDC(HDC* dc) = 0;
    virtual HRESULT ReleaseDC(HDC dc) = 0;
    // DDCKEY_SRCBLT only; key null removes the key.
    virtual HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
    // DDERR_NOCOLORKEY when none is set.
    virtual HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
    // Width, height, pitch, caps, pixel format (lpSurface stays null).
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) = 0;
    virtual HRESULT GetPixelFormat(DDPIXELFORMAT* format) = 0;
    // DD_OK, or DDERR_SURFACELOST.
    virtual HRESULT IsLost() = 0;
    // A lost surface gets its memory back, contents undefined (cleared to 0).
    virtual HRESULT Restore() = 0;
    virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;

protected:
    virtual ~IDirectDrawSurface() = default;
};

// * * * Device enumeration and creation * * *

// Called once per display device; return DDENUMRET_OK to go on, DDENUMRET_CANCEL to stop.
// guid is null for the default device.
using LPDDENUMCALLBACKA = BOOL (*)(GUID* guid, char* description, char* name, void* context);

HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA callback, void* context);
// guid null: the default display device. outer must be null.
HRESULT DirectDrawCreate(GUID* guid, IDirectDraw** device, void* outer);
