// platform/core/bmp.cpp - decoding a BMP file's bytes into a bitmap.
//
// Accepted: the 12-byte core header and the 40-byte header or any later one
// (52, 56, 108, 124 bytes); 1, 4 and 8 bits per pixel with a palette, 16
// (5-5-5 or bit fields), 24 and 32 (0x00RRGGBB or bit fields); uncompressed
// rows bottom-up or top-down; RLE8 and RLE4 (bottom-up only).
//
// Nothing in the file is trusted: every size and offset is checked against
// the bytes present, palettes and masks against the depth, runs against the
// row and the image; a file that breaks any rule decodes to nothing. The
// bitmap allocated is bounded by what the file can describe: uncompressed
// rows must all be present, and an RLE image may not hold more than 512
// pixels per byte of encoded data (a full run of 255 pixels takes 2 bytes).
//
// LIMITATIONS: no JPEG/PNG payloads, no alpha; pixel indices beyond the
// palette decode as black. Missing RLE pixels (skipped by delta, end-of-line
// or end-of-bitmap) are palette entry 0, as the desktop leaves them.
// DEPENDENCIES: none.

#include "platform/core/gdi_internal.h"

#include <bit>
#include <cstdint>
#include <vector>

namespace ovPlatform::detail {
namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Field {
    int shift = 0;
    int bits = 0;
    std::uint32_t mask = 0;
};

// A mask must be one run of set bits within the pixel; 0 is an absent channel.
bool MakeField(std::uint32_t mask, int bitsPerPixel, Field* field)
{
    *field = Field{};
    if (mask == 0) return true;
    if (bitsPerPixel < 32 && (mask >> bitsPerPixel) != 0) return false;
    const int shift = std::countr_zero(mask);
    const std::uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return false;  // not contiguous
    *field = Field{shift, std::popcount(mask), mask};
    return true;
}

unsigned Widen(std::uint32_t raw, const Field& f)
{
    if (f.bits == 0) return 0;
    const std::uint32_t v = (raw & f.mask) >> f.shift;
    if (f.bits >= 8) return (v >> (f.bits - 8)) & 0xFF;
    std::uint32_t wide = v << (8 - f.bits);
    for (int filled = f.bits; filled < 8; filled += f.bits) wide |= wide >> f.bits;
    return wide & 0xFF;
}

struct Header {
    std::uint32_t pixelOffset;
    std::uint32_t headerSize;
    int width;
    int height;         // positive
    bool topDown;
    int bitsPerPixel;
    std::uint32_t compression;
    std::uint32_t colorsUsed;
};

// RLE8 (nibbles false) or RLE4 (nibbles true) into palette indices.
bool DecodeRle(const std::uint8_t* data, std::size_t size, int width, int height, bool nibbles,
               std::vector<std::uint8_t>* indices)
{
    indices->assign(static_cast<std::size_t>(width) * height, 0);
    std::size_t at = 0;
    int x = 0;
    int y = 0;  // rows from the bottom
    auto put = [&](std::uint8_t value) {
        (*indices)[static_cast<std::size_t>(height - 1 - y) * width + x] = value;
        ++x;
    };
    while (true) {
        if (y >= height) return true;  // every row is done; trailing bytes are ignored
        if (at + 2 > size) return false;
        const int count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (x + count > width) return false;
            for (int i = 0; i < count; ++i) put(nibbles ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            ++y;
            break;
        case 1:  // end of bitmap
            return true;
        case 2: {  // delta
            if (at + 2 > size) return false;
            const int dx = data[at];
            const int dy = data[at + 1];
            at += 2;
            if (x + dx > width || y + dy > height) return false;
            x += dx;
            y += dy;
            if (y == height) return true;
            break;
        }
        default: {  // absolute run of `value` pixels, padded to 2 bytes
            const int n = value;
            const std::size_t bytes = nibbles ? (static_cast<std::size_t>(n) + 1) / 2 : static_cast<std::size_t>(n);
            const std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (at + padded > size) return false;
            if (x + n > width) return false;
            for (int i = 0; i < n; ++i) {
                const std::uint8_t b = data[at + (nibbles ? static_cast<std::size_t>(i / 2) : static_cast<std::size_t>(i))];
                put(nibbles ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            at += padded;
            break;
        }
        }
    }
}

}  // namespace

PlatformGdiObject* DecodeBmp(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 14 + 12) return nullptr;
    if (data[0] != 'B' || data[1] != 'M') return nullptr;
    Header h{};
    h.pixelOffset = U32(data + 10);
    h.headerSize = U32(data + 14);
    int planes = 0;
    long long rawHeight = 0;
    if (h.headerSize == 12) {
        h.width = U16(data + 18);
        rawHeight = U16(data + 20);
        planes = U16(data + 22);
        h.bitsPerPixel = U16(data + 24);
        h.compression = BI_RGB;
        h.colorsUsed = 0;
    } else if (h.headerSize >= 40 && h.headerSize <= 4096) {
        if (14 + static_cast<std::size_t>(h.headerSize) > size) return nullptr;
        const std::int32_t w = static_cast<std::int32_t>(U32(data + 18));
        rawHeight = static_cast<std::int32_t>(U32(data + 22));
        if (w <= 0) return nullptr;
        h.width = w > 65535 ? 65536 : w;
        planes = U16(data + 26);
        h.bitsPerPixel = U16(data + 28);
        h.compression = U32(data + 30);
        h.colorsUsed = U32(data + 46);
    } else {
        return nullptr;
    }
    h.topDown = rawHeight < 0;
    const long long absHeight = rawHeight < 0 ? -rawHeight : rawHeight;
    if (planes != 1) return nullptr;
    if (h.width <= 0 || h.width > 65535 || absHeight <= 0 || absHeight > 65535) return nullptr;
    h.height = static_cast<int>(absHeight);
    const int bpp = h.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    switch (h.compression) {
    case BI_RGB: break;
    case BI_RLE8: if (bpp != 8 || h.topDown) return nullptr; break;
    case BI_RLE4: if (bpp != 4 || h.topDown) return nullptr; break;
    case BI_BITFIELDS: if (bpp != 16 && bpp != 32) return nullptr; break;
    default: return nullptr;
    }
    if (h.pixelOffset >= size) return nullptr;
    std::size_t headerEnd = 14 + static_cast<std::size_t>(h.headerSize);
    if (h.compression == BI_BITFIELDS && h.headerSize == 40) headerEnd += 12;
    if (h.pixelOffset < headerEnd) return nullptr;

    // Palette.
    std::uint32_t palette[256] = {};
    int paletteCount = 0;
    if (bpp <= 8) {
        const std::uint32_t maximum = 1u << bpp;
        const std::uint32_t count = h.colorsUsed ? h.colorsUsed : maximum;
        if (count > maximum) return nullptr;
        const std::size_t entry = h.headerSize == 12 ? 3 : 4;
        const std::size_t start = 14 + static_cast<std::size_t>(h.headerSize);
        if (start + count * entry > h.pixelOffset) return nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* p = data + start + i * entry;
            palette[i] = (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
        }
        paletteCount = static_cast<int>(count);
    }

    // Channel fields of 16- and 32-bit pixels.
    Field red, green, blue;
    if (h.compression == BI_BITFIELDS) {
        const std::size_t at = 14 + 40;
        if (h.headerSize < 40 || at + 12 > size || at + 12 > h.pixelOffset) return nullptr;
        const std::uint32_t r = U32(data + at), g = U32(data + at + 4), b = U32(data + at + 8);
        if ((r & g) || (r & b) || (g & b)) return nullptr;
        if (!MakeField(r, bpp, &red) || !MakeField(g, bpp, &green) || !MakeField(b, bpp, &blue)) return nullptr;
    } else if (bpp == 16) {
        MakeField(0x7C00, 16, &red);
        MakeField(0x03E0, 16, &green);
        MakeField(0x001F, 16, &blue);
    } else {
        MakeField(0xFF0000, 32, &red);
        MakeField(0x00FF00, 32, &green);
        MakeField(0x0000FF, 32, &blue);
    }

    const std::uint8_t* pixels = data + h.pixelOffset;
    const std::size_t available = size - h.pixelOffset;
    const int w = h.width;
    const int height = h.height;

    if (h.compression == BI_RLE8 || h.compression == BI_RLE4) {
        if (static_cast<double>(w) * height > static_cast<double>(available) * 512.0) return nullptr;
        std::vector<std::uint8_t> indices;
        if (!DecodeRle(pixels, available, w, height, h.compression == BI_RLE4, &indices)) return nullptr;
        PlatformGdiObject* bitmap = NewBitmap(w, height, bpp);
        if (!bitmap) return nullptr;
        for (std::size_t i = 0; i < indices.size(); ++i)
            bitmap->pixels[i] = indices[i] < paletteCount ? palette[indices[i]] : 0;
        return bitmap;
    }

    const std::size_t rowBytes = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    if (rowBytes * static_cast<std::size_t>(height) > available) return nullptr;
    PlatformGdiObject* bitmap = NewBitmap(w, height, bpp);
    if (!bitmap) return nullptr;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = pixels + rowBytes * static_cast<std::size_t>(row);
        const int destRow = h.topDown ? row : height - 1 - row;
        std::uint32_t* dest = bitmap->pixels.data() + static_cast<std::size_t>(destRow) * w;
        for (int x = 0; x < w; ++x) {
            std::uint32_t value = 0;
            switch (bpp) {
            case 1: {
                const int index = (src[x >> 3] >> (7 - (x & 7))) & 1;
                value = index < paletteCount ? palette[index] : 0;
                break;
            }
            case 4: {
                const int index = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
                value = index < paletteCount ? palette[index] : 0;
                break;
            }
            case 8: value = src[x] < paletteCount ? palette[src[x]] : 0; break;
            case 16: {
                const std::uint32_t raw = U16(src + 2 * x);
                value = (Widen(raw, red) << 16) | (Widen(raw, green) << 8) | Widen(raw, blue);
                break;
            }
            case 24: {
                const std::uint8_t* p = src + 3 * x;
                value = (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
                break;
            }
            default: {
                const std::uint32_t raw = U32(src + 4 * x);
                value = (Widen(raw, red) << 16) | (Widen(raw, green) << 8) | Widen(raw, blue);
                break;
            }
            }
            dest[x] = value;
        }
    }
    return bitmap;
}

}  // namespace ovPlatform::detail
