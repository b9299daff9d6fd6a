// draw/objects.h - the display device, the pixel format and lookup tables,
// and the graphic object table.
//
// ovDraw::Screen creates the device, the primary surface, the back buffer,
// the clipper and the four internal objects (slots 0..3), analyses the back
// buffer's pixel layout into PixelFormat and builds the lookup tables. The
// object calls hand out slots 4..1023; 0 is the failure result. Everything
// here is engine-wide plain data; drawing code reads it directly.
#pragma once

#include "platform/ddraw.h"
#include "platform/gdi.h"
#include "platform/types.h"
#include "system/config.h"

#include <cstdint>

namespace ovDraw {

// * * * The device (valid between Screen and ReleaseScreen; null otherwise) * * *

extern IDirectDraw* DirectDraw;           // the device
extern IDirectDrawSurface* PrimarySurface; // the visible surface: the desktop, or the full-screen display
extern IDirectDrawSurface* BackBuffer;    // DisplayWidth x DisplayHeight; every drawing call writes here
extern IDirectDrawClipper* Clipper;       // windowed only: binds the primary surface to the window
extern int AcceleratedDevice;             // 1 when enumeration chose a device with 3D and texture caps
extern int StretchCapable;                // 1 when the device stretches in a blit (DDCAPS_BLTSTRETCH)
extern RECT BackBufferRect;               // 0, 0, DisplayWidth, DisplayHeight: presentation's source
extern int ScrollerPicture;               // object number of the scroller's picture; 0 = not loaded
extern int ScrollerTile;                  // object number of the scroller's tile; 0 = not loaded
extern int FallbackDepth1;                // tried when DisplayDepth is refused; 0 = none
extern int FallbackDepth2;                // tried when FallbackDepth1 is refused too; 0 = none

// * * * Pixel format of the back buffer * * *
// Channel order red, green, blue is also channel index 0, 1, 2 of the tables.

struct PixelFormatInfo {
    std::uint16_t redShift, greenShift, blueShift;    // lowest set bit of each mask
    std::uint32_t redMax, greenMax, blueMax;          // mask >> shift: 31 for 5 bits, 63 for 6
    std::uint16_t redShift5, greenShift5, blueShift5; // puts a 5-bit value in the field's top bits
    std::uint32_t redMask, greenMask, blueMask;       // as the surface reports them
    std::uint32_t halfMask;   // every channel bit but the top one: 0x7BEF (5-6-5), 0x3DEF (5-5-5)
    std::uint32_t whiteMask;  // the pixel value of white
};
extern PixelFormatInfo PixelFormat;

// * * * Lookup tables (zero until Screen; all but SineTable only on a 16-bit desktop) * * *
// A 5-bit component is a value 0..31; channel index 0 red, 1 green, 2 blue.

extern std::int32_t SineTable[450];                    // [degrees 0..449]: 360 * sin, truncated; cos d = [d + 90]
extern std::uint8_t PixelRgbTable[65536][3];           // [16-bit pixel]: its 5-bit r, g, b
extern std::uint16_t CrossFadeTable[3][32][32][32];    // [ch][level][a][b]: (max(0,a-level) + max(0,b-(31-level))) << Shift5
extern std::uint16_t FadeAddTable[3][32][32][32];      // [ch][level][a][b]: min(31, max(0,a-level) + b) << Shift5
extern std::uint16_t SubtractTable[3][32][32];         // [ch][a][b]: max(0, a-b) << Shift5
extern std::uint16_t GreyTable[94];                    // [r+g+b of 5-bit components]: the sum / 3
extern std::uint8_t NoiseTable[10000];                 // ovSystem::Random() % 3, in index order

// * * * Graphic objects * * *

struct ObjectSlot {
    IDirectDrawSurface* surface;  // null = no surface
    char name[32];                // up to 30 bytes; "" free; "*" blank object; else file/resource/pack name
    std::int32_t fromPack;        // 1 from the graphics pack, 0 from a BMP file or resource
    std::int32_t placement;       // what a reload asks for; every writer stores 2
    std::int32_t colorKey;        // COLORREF 0x00BBGGRR, or -1 = the top-left pixel (corner key)
    std::uint16_t width;          // pixels
    std::uint16_t height;         // pixels
};

inline constexpr int MAX_OBJECT_NAME = 30;  // bytes, without the terminator
extern ObjectSlot Objects[ov::MAX_OBJECTS];  // 0..3 internal (Buffer, Screen, Font, Font buffer)

inline constexpr int OBJECT_BUFFER = 0;      // display-sized work surface (GDI stretch, zoom filters)
inline constexpr int OBJECT_SCREEN = 1;      // display-sized spare (ovDraw::GrabScreen)
inline constexpr int OBJECT_FONT = 2;        // text drawing surface, system memory
inline constexpr int OBJECT_FONT_BUFFER = 3; // text work surface, system memory

extern COLORREF DefaultKeyColor;  // key of new objects while CornerKeyMode is 0 (start: black)
extern int CornerKeyMode;         // 1: new objects are keyed on their top-left pixel

// * * * Display start-up * * *

// Screen(width, height, mode) and ReleaseScreen are declared in draw/draw.h.
// mode 1: video memory where possible; 3: primary and back buffer in video
// memory, Buffer and Screen in system memory; other: all in system memory.
void SetDepth(int depth, int fallback1, int fallback2);  // full-screen depth and two fallbacks (0 = none)
void SetClip(int left, int top, int right, int bottom);  // the clip rectangle; right, bottom exclusive
int DesktopDepth();                                       // bits per pixel of the window's DC

// * * * Object calls * * *
// placement 2: DirectDraw chooses the memory; any other value: system memory.

int LoadObject(const char* name, int placement);              // 4..1023, or 0 after an error box
int CreateObject(int width, int height, int placement);       // 4..1023, or 0; contents undefined
int SwapObject(const char* name, int object, int placement);  // 1, or 0 after an error box
void ReleaseObject(int object);
void SetDefaultKey(COLORREF colour);                          // also turns corner-key mode off
void SetDefaultCornerKey();
HRESULT SetKey(int object, COLORREF colour);                  // colour -1: the corner key
HRESULT SetCornerKey(int object);
HRESULT CopyKey(int destination, int source);                 // colorKey of destination unchanged
void RestoreAll();                                            // restore lost surfaces, reload images

}  // namespace ovDraw

namespace ovDraw::detail {

// * * * Surface routines the object and pack calls share * * *

// Loads a bitmap (resource, then file) into a new surface; width and height
// are set once the bitmap is read, even when the surface cannot be made.
IDirectDrawSurface* LoadBitmapSurface(const char* path, int placement, std::uint16_t* width,
                                      std::uint16_t* height);
// Stretches the bitmap's (x, y, dx, dy) (0 = whole width/height) over the
// whole surface through GDI; E_FAIL for a null argument, else GetDC's result.
HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int dx, int dy);
// The surface's raw pixel value of a COLORREF; colour -1: the top-left pixel.
// 0xFFFFFFFF when the surface cannot be locked.
DWORD MatchSurfaceColor(IDirectDrawSurface* surface, COLORREF colour);
// Source key (DDCKEY_SRCBLT) = MatchSurfaceColor(surface, colour).
HRESULT SetSurfaceKey(IDirectDrawSurface* surface, COLORREF colour);
// DDSCAPS_OFFSCREENPLAIN, plus DDSCAPS_SYSTEMMEMORY unless placement is 2.
DWORD PlacementCaps(int placement);
// Empty a slot: no surface, name "", fromPack 0, placement 2, colorKey 0, size 0.
void ClearSlot(ObjectSlot& slot);
// The graphics pack's reload of a slot (name, object, placement) -> 1 or 0;
// installed by the pack module. RestoreAll skips pack objects while it is null.
extern int (*SwapPackHook)(const char* name, int object, int placement);
// The device-enumeration callback; context is the address of an IDirectDraw*.
BOOL EnumerateDevice(GUID* guid, char* description, char* name, void* context);

}  // namespace ovDraw::detail
