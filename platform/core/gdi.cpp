// platform/core/gdi.cpp - device contexts, bitmaps, StretchBlt, pixels and
// the program's bitmap resources.
//
// A DC draws into the pixel memory its record names (see gdi_internal.h);
// colours are converted to the target's layout per pixel. StretchBlt maps
// each destination pixel to the span of source pixels it covers: one pixel
// when enlarging, several when shrinking, whose raw values are ANDed (the
// BLACKONWHITE stretch mode, which keeps dark detail).
//
// LIMITATIONS: only SRCCOPY. Bitmaps load from files through the native file
// system: when the exact name is missing, a name differing only in case in
// the same folder is taken.
// DEPENDENCIES: platform/core/bmp.cpp (DecodeBmp), the backend's display
// driver for the desktop's layout.

#include "platform/core/gdi_internal.h"

#include "platform/backend.h"
#include "platform/platform.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <strings.h>
#include <utility>
#include <vector>

namespace ovPlatform::detail {
namespace {

const BitmapResource* resources = nullptr;
int resourceCount = 0;

struct Channel {
    int shift;
    int bits;
};

Channel ChannelOf(DWORD mask)
{
    if (!mask) return {0, 0};
    return {std::countr_zero(mask), std::popcount(mask)};
}

std::uint32_t PackChannel(unsigned value8, DWORD mask)
{
    const Channel c = ChannelOf(mask);
    if (c.bits == 0) return 0;
    const std::uint32_t v = c.bits >= 8 ? (static_cast<std::uint32_t>(value8) << (c.bits - 8))
                                        : (value8 >> (8 - c.bits));
    return (v << c.shift) & mask;
}

unsigned UnpackChannel(std::uint32_t raw, DWORD mask)
{
    const Channel c = ChannelOf(mask);
    if (c.bits == 0) return 0;
    std::uint32_t v = (raw & mask) >> c.shift;
    if (c.bits >= 8) return (v >> (c.bits - 8)) & 0xFF;
    std::uint32_t wide = v << (8 - c.bits);
    for (int filled = c.bits; filled < 8; filled += c.bits) wide |= wide >> c.bits;
    return wide & 0xFF;
}

void Target(PlatformDc& dc, PlatformGdiObject* bitmap)
{
    dc.bitmap = bitmap;
    dc.pixels = reinterpret_cast<std::uint8_t*>(bitmap->pixels.data());
    dc.width = bitmap->width;
    dc.height = bitmap->height;
    dc.pitch = bitmap->width * 4;
    dc.layout = kLayout32;
}

PixelLayout DesktopLayoutNow()
{
    if (!IsStarted()) return kLayout565;
    DisplayDriver* driver = CurrentBackend().display;
    return driver ? driver->DesktopLayout(*driver) : kLayout565;
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && size < (1L << 30) && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize(static_cast<std::size_t>(size));
        ok = size == 0 || std::fread(bytes->data(), 1, bytes->size(), f) == bytes->size();
    }
    std::fclose(f);
    return ok;
}

// The path as given, or one whose last part differs only in case.
bool ReadFileAnyCase(const char* name, std::vector<std::uint8_t>* bytes)
{
    std::string path(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    if (ReadFile(path, bytes)) return true;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    std::string found;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, leaf.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    if (found.empty()) return false;
    return ReadFile((slash == std::string::npos ? std::string() : folder) + found, bytes);
}

}  // namespace

std::uint32_t PackColour(const PixelLayout& layout, COLORREF colour)
{
    if (layout.bitsPerPixel == 8) return 0;
    return PackChannel(GetRValue(colour), layout.redMask) | PackChannel(GetGValue(colour), layout.greenMask) |
           PackChannel(GetBValue(colour), layout.blueMask);
}

COLORREF UnpackColour(const PixelLayout& layout, std::uint32_t raw)
{
    if (layout.bitsPerPixel == 8) return 0;
    return RGB(UnpackChannel(raw, layout.redMask), UnpackChannel(raw, layout.greenMask),
               UnpackChannel(raw, layout.blueMask));
}

PlatformDc* AsDc(HDC dc)
{
    return dc && dc->magic == kDcMagic ? dc : nullptr;
}

PlatformGdiObject* AsGdiObject(HGDIOBJ object)
{
    return object && object->magic == kGdiObjectMagic ? object : nullptr;
}

PlatformDc* NewTargetDc(DcKind kind, std::uint8_t* pixels, int width, int height, int pitch,
                        const PixelLayout& layout, void* owner)
{
    auto* dc = new PlatformDc{};
    dc->magic = kDcMagic;
    dc->kind = kind;
    dc->pixels = pixels;
    dc->width = width;
    dc->height = height;
    dc->pitch = pitch;
    dc->layout = layout;
    dc->owner = owner;
    return dc;
}

void FreeDc(PlatformDc* dc)
{
    if (!dc) return;
    if (dc->bitmap && dc->bitmap != dc->defaultBitmap) dc->bitmap->selectedInto = nullptr;
    if (dc->defaultBitmap) {
        dc->defaultBitmap->magic = 0;
        delete dc->defaultBitmap;
    }
    dc->magic = 0;
    delete dc;
}

PlatformGdiObject* NewBitmap(int width, int height, int fileBits)
{
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return nullptr;
    if (static_cast<long long>(width) * height > (1LL << 26)) return nullptr;
    auto* bitmap = new PlatformGdiObject{};
    bitmap->magic = kGdiObjectMagic;
    bitmap->kind = GdiKind::Bitmap;
    bitmap->width = width;
    bitmap->height = height;
    bitmap->fileBits = fileBits;
    bitmap->pixels.assign(static_cast<std::size_t>(width) * height, 0);
    return bitmap;
}

}  // namespace ovPlatform::detail

using namespace ovPlatform;
using namespace ovPlatform::detail;

void ovPlatform::SetBitmapResources(const BitmapResource* table, int count)
{
    resources = table;
    resourceCount = table ? count : 0;
}

HDC CreateCompatibleDC(HDC)
{
    PlatformDc* dc = NewTargetDc(DcKind::Memory, nullptr, 0, 0, 0, kLayout32, nullptr);
    dc->defaultBitmap = NewBitmap(1, 1, 1);
    dc->defaultBitmap->stock = true;
    dc->defaultBitmap->selectedInto = dc;
    Target(*dc, dc->defaultBitmap);
    return dc;
}

BOOL DeleteDC(HDC handle)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || dc->kind != DcKind::Memory) return FALSE;
    FreeDc(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object)
{
    PlatformDc* dc = AsDc(handle);
    PlatformGdiObject* o = AsGdiObject(object);
    if (!dc || !o) return nullptr;
    switch (o->kind) {
    case GdiKind::Bitmap: {
        if (dc->kind != DcKind::Memory) return nullptr;
        if (o->selectedInto && o->selectedInto != dc) return nullptr;
        PlatformGdiObject* previous = dc->bitmap;
        if (previous == o) return previous;
        if (previous) previous->selectedInto = previous->stock ? dc : nullptr;
        o->selectedInto = dc;
        Target(*dc, o);
        return previous;
    }
    case GdiKind::Pen: std::swap(dc->pen, o); return o;
    case GdiKind::Brush: std::swap(dc->brush, o); return o;
    case GdiKind::Font: std::swap(dc->font, o); return o;
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object)
{
    PlatformGdiObject* o = AsGdiObject(object);
    if (!o || o->stock) return FALSE;
    if (o->selectedInto) return FALSE;
    o->magic = 0;
    delete o;
    return TRUE;
}

HDC GetDC(HWND)
{
    return NewTargetDc(DcKind::Window, nullptr, 0, 0, 0, DesktopLayoutNow(), nullptr);
}

int ReleaseDC(HWND, HDC handle)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || dc->kind != DcKind::Window) return 0;
    FreeDc(dc);
    return 1;
}

int GetDeviceCaps(HDC handle, int index)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc) return 0;
    switch (index) {
    case BITSPIXEL: return dc->layout.bitsPerPixel;
    case HORZRES: return dc->width;
    case VERTRES: return dc->height;
    default: return 0;
    }
}

HBITMAP LoadImageA(HINSTANCE, const char* name, UINT type, int cx, int cy, UINT flags)
{
    if (!name || type != IMAGE_BITMAP || cx != 0 || cy != 0) return nullptr;
    if (flags & LR_LOADFROMFILE) {
        std::vector<std::uint8_t> bytes;
        if (!ReadFileAnyCase(name, &bytes)) return nullptr;
        return DecodeBmp(bytes.data(), bytes.size());
    }
    for (int i = 0; i < resourceCount; ++i) {
        if (resources[i].name && strcasecmp(resources[i].name, name) == 0)
            return DecodeBmp(resources[i].data, resources[i].size);
    }
    return nullptr;
}

int GetObjectA(HGDIOBJ object, int size, void* buffer)
{
    PlatformGdiObject* o = AsGdiObject(object);
    if (!o || o->kind != GdiKind::Bitmap || !buffer || size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP bm{};
    bm.bmType = 0;
    bm.bmWidth = o->width;
    bm.bmHeight = o->height;
    bm.bmWidthBytes = ((o->width * o->fileBits + 31) / 32) * 4;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(o->fileBits);
    bm.bmBits = o->pixels.data();
    std::memcpy(buffer, &bm, sizeof(bm));
    return static_cast<int>(sizeof(bm));
}

BOOL StretchBlt(HDC destHandle, int x, int y, int width, int height, HDC srcHandle, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop)
{
    PlatformDc* dest = AsDc(destHandle);
    PlatformDc* src = AsDc(srcHandle);
    if (!dest || !src || rop != SRCCOPY || !dest->pixels || !src->pixels) return FALSE;
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return FALSE;
    // Normalise to positive sizes; mirror an axis whose signs differ.
    const bool mirrorX = (width < 0) != (srcWidth < 0);
    const bool mirrorY = (height < 0) != (srcHeight < 0);
    if (width < 0) { x += width; width = -width; }
    if (height < 0) { y += height; height = -height; }
    if (srcWidth < 0) { srcX += srcWidth; srcWidth = -srcWidth; }
    if (srcHeight < 0) { srcY += srcHeight; srcHeight = -srcHeight; }

    // Source span [first, last) of each destination column and row.
    auto spans = [](int count, int srcStart, int srcCount, int srcLimit, bool mirror,
                    std::vector<std::pair<int, int>>* out) {
        out->resize(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const int j = mirror ? count - 1 - i : i;
            int first = static_cast<int>(static_cast<long long>(j) * srcCount / count);
            int last = static_cast<int>(static_cast<long long>(j + 1) * srcCount / count);
            if (last <= first) last = first + 1;
            first = std::clamp(srcStart + first, 0, srcLimit);
            last = std::clamp(srcStart + last, 0, srcLimit);
            (*out)[static_cast<std::size_t>(i)] = {first, last};
        }
    };
    std::vector<std::pair<int, int>> columns, rows;
    spans(width, srcX, srcWidth, src->width, mirrorX, &columns);
    spans(height, srcY, srcHeight, src->height, mirrorY, &rows);

    const int sbpp = BytesPerPixel(src->layout);
    const int dbpp = BytesPerPixel(dest->layout);
    const bool sameLayout = src->layout.bitsPerPixel == dest->layout.bitsPerPixel &&
                            src->layout.redMask == dest->layout.redMask &&
                            src->layout.greenMask == dest->layout.greenMask &&
                            src->layout.blueMask == dest->layout.blueMask;
    const int x0 = std::max(0, x), x1 = std::min(dest->width, x + width);
    const int y0 = std::max(0, y), y1 = std::min(dest->height, y + height);
    for (int dy = y0; dy < y1; ++dy) {
        const auto [rowFirst, rowLast] = rows[static_cast<std::size_t>(dy - y)];
        if (rowFirst >= rowLast) continue;
        std::uint8_t* to = dest->pixels + static_cast<std::ptrdiff_t>(dy) * dest->pitch;
        for (int dx = x0; dx < x1; ++dx) {
            const auto [colFirst, colLast] = columns[static_cast<std::size_t>(dx - x)];
            if (colFirst >= colLast) continue;
            std::uint32_t v = 0xFFFFFFFFu;
            for (int sy = rowFirst; sy < rowLast; ++sy) {
                const std::uint8_t* from = src->pixels + static_cast<std::ptrdiff_t>(sy) * src->pitch;
                for (int sx = colFirst; sx < colLast; ++sx) v &= ReadRaw(from, sx, sbpp);
            }
            WriteRaw(to, dx, dbpp, sameLayout ? v : PackColour(dest->layout, UnpackColour(src->layout, v)));
        }
    }
    return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop)
{
    return StretchBlt(dest, x, y, width, height, src, srcX, srcY, width, height, rop);
}

COLORREF GetPixel(HDC handle, int x, int y)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || !dc->pixels || x < 0 || y < 0 || x >= dc->width || y >= dc->height) return CLR_INVALID;
    const std::uint8_t* row = dc->pixels + static_cast<std::ptrdiff_t>(y) * dc->pitch;
    return UnpackColour(dc->layout, ReadRaw(row, x, BytesPerPixel(dc->layout)));
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF colour)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || !dc->pixels || x < 0 || y < 0 || x >= dc->width || y >= dc->height) return CLR_INVALID;
    std::uint8_t* row = dc->pixels + static_cast<std::ptrdiff_t>(y) * dc->pitch;
    const std::uint32_t raw = PackColour(dc->layout, colour & 0x00FFFFFF);
    WriteRaw(row, x, BytesPerPixel(dc->layout), raw);
    return UnpackColour(dc->layout, raw);
}

COLORREF SetTextColor(HDC handle, COLORREF colour)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->textColor, colour);
}

COLORREF SetBkColor(HDC handle, COLORREF colour)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->bkColor, colour);
}

int SetBkMode(HDC handle, int mode)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return std::exchange(dc->bkMode, mode);
}

int SetStretchBltMode(HDC handle, int mode)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || mode <= 0) return 0;
    return std::exchange(dc->stretchMode, mode);
}
