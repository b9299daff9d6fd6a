// platform/core/gdi_internal.h - the records behind HDC and HGDIOBJ, and the
// pixel conversions every drawing routine of the core shares. Not for the
// engine.
//
// A device context (PlatformDc) is a drawing target plus drawing state:
//
//   * target: pixels (first row), width, height, pitch in bytes, layout. For a
//     surface DC these are the surface's memory; for a memory DC they are the
//     selected bitmap's pixels (32-bit 0x00RRGGBB, kLayout32) and change with
//     SelectObject; a window DC has no pixels (width and height 0) and only
//     tells the desktop's layout.
//   * selected objects: bitmap (memory DCs), pen, brush, font; each slot holds
//     the object SelectObject put there, or null for the stock default. Code
//     adding pens, brushes or fonts defines new GdiKind values and keeps its
//     object's data behind PlatformGdiObject::extra.
//   * text state: text colour (default black), background colour (default
//     white), background mode (OPAQUE by default), and the current position.
//
// Anything that draws writes through WriteRaw/PackColour at the target's
// layout and must clip to 0 <= x < width, 0 <= y < height itself.
#pragma once

#include "platform/display_driver.h"
#include "platform/gdi.h"

#include <cstdint>
#include <cstring>
#include <vector>

enum class GdiKind : std::uint32_t { Bitmap = 1, Pen, Brush, Font };

struct PlatformGdiObject {
    std::uint32_t magic;           // kGdiObjectMagic while alive
    GdiKind kind;
    // Bitmaps: a device-independent section.
    int width = 0;
    int height = 0;
    int fileBits = 32;             // bits per pixel the image had in its file
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
    PlatformDc* selectedInto = nullptr;
    bool stock = false;            // a DC's default bitmap: never freed by DeleteObject
    void* extra = nullptr;         // other kinds' own data (owned by their code)
};

enum class DcKind : std::uint32_t { Memory = 1, Surface, Window };

struct PlatformDc {
    std::uint32_t magic;           // kDcMagic while alive
    DcKind kind;
    // Target.
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;                 // bytes
    ovPlatform::PixelLayout layout{};
    // Selected objects (null: the stock default).
    PlatformGdiObject* bitmap = nullptr;   // memory DCs: never null (the default 1 x 1 bitmap)
    PlatformGdiObject* defaultBitmap = nullptr;
    PlatformGdiObject* pen = nullptr;
    PlatformGdiObject* brush = nullptr;
    PlatformGdiObject* font = nullptr;
    // Drawing state.
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    POINT position{0, 0};
    void* owner = nullptr;         // surface DCs: the surface that lent it
};

namespace ovPlatform::detail {

inline constexpr std::uint32_t kGdiObjectMagic = 0x47444930;  // "GDI0"
inline constexpr std::uint32_t kDcMagic = 0x44435F30;         // "DC_0"

PlatformDc* AsDc(HDC dc);                        // null unless a live DC
PlatformGdiObject* AsGdiObject(HGDIOBJ object);  // null unless a live object

// A DC drawing into memory the caller owns (surfaces); FreeDc releases it.
PlatformDc* NewTargetDc(DcKind kind, std::uint8_t* pixels, int width, int height, int pitch,
                        const PixelLayout& layout, void* owner);
void FreeDc(PlatformDc* dc);
// A bitmap of the given size, all black; null when the size is out of range.
PlatformGdiObject* NewBitmap(int width, int height, int fileBits);
// A bitmap from a whole BMP file's bytes; null when damaged or unsupported.
PlatformGdiObject* DecodeBmp(const std::uint8_t* data, std::size_t size);

// * * * Pixels at a layout * * *

inline int BytesPerPixel(const PixelLayout& layout) { return (layout.bitsPerPixel + 7) / 8; }

inline std::uint32_t ReadRaw(const std::uint8_t* row, int x, int bytesPerPixel)
{
    const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
    switch (bytesPerPixel) {
    case 1: return p[0];
    case 2: { std::uint16_t v; std::memcpy(&v, p, 2); return v; }
    case 3: return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                   (static_cast<std::uint32_t>(p[2]) << 16);
    default: { std::uint32_t v; std::memcpy(&v, p, 4); return v; }
    }
}

inline void WriteRaw(std::uint8_t* row, int x, int bytesPerPixel, std::uint32_t value)
{
    std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
    switch (bytesPerPixel) {
    case 1: p[0] = static_cast<std::uint8_t>(value); break;
    case 2: { std::uint16_t v = static_cast<std::uint16_t>(value); std::memcpy(p, &v, 2); break; }
    case 3: p[0] = static_cast<std::uint8_t>(value); p[1] = static_cast<std::uint8_t>(value >> 8);
            p[2] = static_cast<std::uint8_t>(value >> 16); break;
    default: std::memcpy(p, &value, 4); break;
    }
}

// COLORREF -> raw value: each 8-bit channel keeps its top bits. An 8-bit
// (palettised) layout packs to 0.
std::uint32_t PackColour(const PixelLayout& layout, COLORREF colour);
// raw value -> COLORREF: each field widened to 8 bits by repeating its top bits.
COLORREF UnpackColour(const PixelLayout& layout, std::uint32_t raw);

}  // namespace ovPlatform::detail
