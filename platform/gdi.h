// platform/gdi.h - device contexts and bitmaps: memory DCs, bitmaps loaded
// from BMP files or from the program's resource table, stretching, pixels.
//
// A device context draws into pixel memory at some layout: a surface's
// memory (IDirectDrawSurface::GetDC), a bitmap selected into a memory DC, or
// the desktop (GetDC on the window, which is only good for GetDeviceCaps and
// reading). Colours are COLORREF (0x00BBGGRR) and are converted to and from
// the target's layout: to 5 or 6 bits by dropping low bits, back to 8 bits by
// repeating the top bits, so a pixel read and written back is unchanged.
//
// Bitmaps are device-independent sections: LoadImageA keeps the file's bit
// depth in BITMAP::bmBitsPixel, but the pixels are held as 32-bit 0x00RRGGBB.
// The record of a DC is documented in platform/core/gdi_internal.h.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <cstdint>

using HBITMAP = PlatformGdiObject*;

// * * * Constants * * *

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT LR_LOADFROMFILE = 0x00000010;
inline constexpr UINT LR_CREATEDIBSECTION = 0x00002000;

inline constexpr DWORD SRCCOPY = 0x00CC0020;

inline constexpr int BITSPIXEL = 12;      // GetDeviceCaps: bits per pixel of the DC's target
inline constexpr int HORZRES = 8;         // width in pixels
inline constexpr int VERTRES = 10;        // height in pixels

inline constexpr int TRANSPARENT = 1;     // SetBkMode
inline constexpr int OPAQUE = 2;

inline constexpr int BLACKONWHITE = 1;    // the only stretch mode: shrinking ANDs the dropped pixels

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// * * * Records * * *

struct BITMAP {
    LONG bmType;        // 0
    LONG bmWidth;       // pixels
    LONG bmHeight;      // pixels (positive)
    LONG bmWidthBytes;  // bytes per row of the file's depth, rounded up to 2 bytes
    WORD bmPlanes;      // 1
    WORD bmBitsPixel;   // the file's bits per pixel: 1, 4, 8, 16, 24 or 32
    void* bmBits;       // the section's pixels: 32-bit 0x00RRGGBB, top row first
};

// * * * Device contexts * * *

// A memory DC with a 1 x 1 monochrome default bitmap; dc is ignored (any
// memory DC is compatible with any target: conversions happen per pixel).
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);           // only for memory DCs; not for surface or window DCs
// Selects a bitmap into a memory DC; returns the one it replaces, or null
// when the object is not a bitmap or the DC not a memory DC. A bitmap can be
// selected into one DC at a time.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Frees a bitmap; FALSE while it is selected into a DC.
BOOL DeleteObject(HGDIOBJ object);
// A DC on the desktop, for the window: GetDeviceCaps(BITSPIXEL) gives the
// desktop's depth (15-bit desktops report 16). Give it back with ReleaseDC.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);  // 1 when released
int GetDeviceCaps(HDC dc, int index);  // BITSPIXEL, HORZRES, VERTRES; 0 for others

// * * * Bitmaps * * *

// IMAGE_BITMAP only, size 0 x 0 only. With LR_LOADFROMFILE, name is a file
// path: an uncompressed, RLE8, RLE4 or BI_BITFIELDS BMP of 1, 4, 8, 16, 24 or
// 32 bits per pixel, bottom-up or top-down, width and height 1..65535. Without
// it, name is looked up (case-insensitively) in the program's resource table.
// Null when the image is missing, damaged or of another kind.
HBITMAP LoadImageA(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags);
// Fills a BITMAP for a bitmap; returns the bytes written (0 on failure).
int GetObjectA(HGDIOBJ object, int size, void* buffer);
inline int GetObject(HGDIOBJ object, int size, void* buffer) { return GetObjectA(object, size, buffer); }

// * * * Drawing * * *

// Copies the source rectangle onto the destination rectangle with SRCCOPY,
// clipped to both targets. Enlarging repeats pixels; shrinking ANDs the raw
// source pixels each destination pixel covers (the default BLACKONWHITE
// mode). A negative width or height on either side mirrors that axis.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
// CLR_INVALID outside the target.
COLORREF GetPixel(HDC dc, int x, int y);
// The colour actually set (after conversion to the target's layout), or CLR_INVALID.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
COLORREF SetTextColor(HDC dc, COLORREF colour);  // the previous colour
COLORREF SetBkColor(HDC dc, COLORREF colour);    // the previous colour
int SetBkMode(HDC dc, int mode);                 // TRANSPARENT or OPAQUE; the previous mode
int SetStretchBltMode(HDC dc, int mode);         // accepted and recorded; only BLACKONWHITE is drawn

namespace ovPlatform {

// * * * The program's bitmap resources * * *
// A program may carry bitmaps by name (a BMP file's bytes each); LoadImageA
// without LR_LOADFROMFILE finds them here. The table is the caller's and must
// outlive its use; the fortune toy has none. Pass null, 0 to empty it.
struct BitmapResource {
    const char* name;            // matched case-insensitively
    const std::uint8_t* data;    // a whole BMP file
    std::size_t size;            // bytes
};
void SetBitmapResources(const BitmapResource* table, int count);

}  // namespace ovPlatform
