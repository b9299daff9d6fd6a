// platform/core/ddraw.cpp - the display device: devices, surfaces in memory,
// the clipper, blits, locks, colour keys, lost surfaces, and presentation of
// the primary surface through the backend's DisplayDriver.
//
// Every surface of a device has the device's current layout (the desktop's,
// or the full-screen mode's). Blits between surfaces of one layout run row
// kernels; blits between layouts convert each pixel through COLORREF.
//
// LIMITATIONS: 8-bit (palettised) layouts are reported but no surface can be
// made at them (CreateSurface fails with DDERR_INVALIDPIXELFORMAT). Lock
// gives one lock at a time. Scaling is nearest-pixel.
// DEPENDENCIES: the backend's DisplayDriver (platform/display_driver.h), the
// GDI records (platform/core/gdi_internal.h).

#include "platform/core/ddraw_internal.h"

#include "platform/backend.h"
#include "platform/core/gdi_internal.h"
#include "platform/core/window_internal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ovPlatform::detail {
namespace {

DeviceReleasedHook deviceReleasedHook = nullptr;

DisplayDriver* CurrentDriver() { return CurrentBackend().display; }

bool SameLayout(const PixelLayout& a, const PixelLayout& b)
{
    return a.bitsPerPixel == b.bitsPerPixel && a.redMask == b.redMask && a.greenMask == b.greenMask &&
           a.blueMask == b.blueMask;
}

void FillPixelFormat(const PixelLayout& layout, DDPIXELFORMAT* format)
{
    *format = DDPIXELFORMAT{};
    format->dwSize = sizeof(DDPIXELFORMAT);
    format->dwFlags = layout.bitsPerPixel == 8 ? DDPF_PALETTEINDEXED8 : DDPF_RGB;
    format->dwRGBBitCount = static_cast<DWORD>(layout.bitsPerPixel);
    format->dwRBitMask = layout.redMask;
    format->dwGBitMask = layout.greenMask;
    format->dwBBitMask = layout.blueMask;
}

RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

#if defined(OV_FORCE_REFERENCE)
constexpr bool kReference = true;
#else
constexpr bool kReference = false;
#endif

void CopyRow(std::uint8_t* d, const std::uint8_t* s, int n, int bpp)
{
    if (kReference) CopyRowReference(d, s, n, bpp);
    else CopyRowFast(d, s, n, bpp);
}

void KeyedRow(std::uint8_t* d, const std::uint8_t* s, int n, int bpp, std::uint32_t key)
{
    if (kReference) KeyedRowReference(d, s, n, bpp, key);
    else KeyedRowFast(d, s, n, bpp, key);
}

void FillRow(std::uint8_t* d, int n, int bpp, std::uint32_t value)
{
    if (kReference) FillRowReference(d, n, bpp, value);
    else FillRowFast(d, n, bpp, value);
}

std::uint32_t LowBits(std::uint32_t v, int bits) { return bits >= 32 ? v : (v & ((1u << bits) - 1u)); }

}  // namespace

// * * * Row kernels * * *

void CopyRowFast(std::uint8_t* dest, const std::uint8_t* src, int pixels, int bytesPerPixel)
{
    std::memmove(dest, src, static_cast<std::size_t>(pixels) * bytesPerPixel);
}

void CopyRowReference(std::uint8_t* dest, const std::uint8_t* src, int pixels, int bytesPerPixel)
{
    if (dest > src) {
        for (int i = pixels - 1; i >= 0; --i) WriteRaw(dest, i, bytesPerPixel, ReadRaw(src, i, bytesPerPixel));
    } else {
        for (int i = 0; i < pixels; ++i) WriteRaw(dest, i, bytesPerPixel, ReadRaw(src, i, bytesPerPixel));
    }
}

// The fast kernels are vectorised even where the build's level does not do it.
#if defined(__GNUC__) && !defined(__clang__)
#define OV_VECTORISE __attribute__((optimize("O3")))
#else
#define OV_VECTORISE
#endif

OV_VECTORISE void KeyedRowFast(std::uint8_t* dest, const std::uint8_t* src, int pixels, int bytesPerPixel,
                               std::uint32_t key)
{
    if (bytesPerPixel == 2) {
        // Reading and writing every destination pixel lets the loop become a
        // vector compare-and-blend.
        auto* d = reinterpret_cast<std::uint16_t*>(dest);
        const auto* s = reinterpret_cast<const std::uint16_t*>(src);
        const std::uint16_t k = static_cast<std::uint16_t>(key);
        for (int i = 0; i < pixels; ++i) {
            const std::uint16_t v = s[i];
            d[i] = v == k ? d[i] : v;
        }
        return;
    }
    if (bytesPerPixel == 4) {
        auto* d = reinterpret_cast<std::uint32_t*>(dest);
        const auto* s = reinterpret_cast<const std::uint32_t*>(src);
        for (int i = 0; i < pixels; ++i) {
            const std::uint32_t v = s[i];
            d[i] = v == key ? d[i] : v;
        }
        return;
    }
    KeyedRowReference(dest, src, pixels, bytesPerPixel, key);
}

void KeyedRowReference(std::uint8_t* dest, const std::uint8_t* src, int pixels, int bytesPerPixel,
                       std::uint32_t key)
{
    for (int i = 0; i < pixels; ++i) {
        const std::uint32_t v = ReadRaw(src, i, bytesPerPixel);
        if (v != key) WriteRaw(dest, i, bytesPerPixel, v);
    }
}

OV_VECTORISE void FillRowFast(std::uint8_t* dest, int pixels, int bytesPerPixel, std::uint32_t value)
{
    if (bytesPerPixel == 2) {
        std::fill_n(reinterpret_cast<std::uint16_t*>(dest), pixels, static_cast<std::uint16_t>(value));
    } else if (bytesPerPixel == 4) {
        std::fill_n(reinterpret_cast<std::uint32_t*>(dest), pixels, value);
    } else {
        FillRowReference(dest, pixels, bytesPerPixel, value);
    }
}

void FillRowReference(std::uint8_t* dest, int pixels, int bytesPerPixel, std::uint32_t value)
{
    for (int i = 0; i < pixels; ++i) WriteRaw(dest, i, bytesPerPixel, value);
}

// * * * Bookkeeping * * *

std::vector<MemorySurface*>& LiveSurfaces()
{
    static std::vector<MemorySurface*> surfaces;
    return surfaces;
}

HRESULT StepResult(DisplayDriver* driver, DisplayStep step)
{
    return driver ? driver->StepResult(*driver, step) : DD_OK;
}

void SetDeviceReleasedHook(DeviceReleasedHook hook) { deviceReleasedHook = hook; }

// * * * Device * * *

MemoryDevice::MemoryDevice(DisplayDriver* driver, int index)
    : driver(driver), index(index), layout(driver->DesktopLayout(*driver))
{
}

MemoryDevice::~MemoryDevice() = default;

DWORD MemoryDevice::Release()
{
    if (--refs > 0) return static_cast<DWORD>(refs);
    if (deviceReleasedHook) deviceReleasedHook(index);
    delete this;
    return 0;
}

HRESULT MemoryDevice::GetCaps(DDCAPS* hardware, DDCAPS* emulation)
{
    DisplayDeviceInfo info{};
    driver->Device(*driver, index, &info);
    if (hardware) *hardware = info.hardware;
    if (emulation) *emulation = info.emulation;
    return DD_OK;
}

HRESULT MemoryDevice::SetCooperativeLevel(HWND hwnd, DWORD flags)
{
    if (HRESULT hr = StepResult(driver, DisplayStep::CooperativeLevel)) return hr;
    const bool wantExclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (wantExclusive && !(flags & DDSCL_FULLSCREEN)) return DDERR_INVALIDPARAMS;
    if (wantExclusive && !hwnd) return DDERR_INVALIDPARAMS;
    window = hwnd;
    if (wantExclusive != exclusive) driver->SetExclusive(*driver, hwnd, wantExclusive);
    exclusive = wantExclusive;
    return DD_OK;
}

HRESULT MemoryDevice::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel)
{
    if (!exclusive) return DDERR_NOCOOPERATIVELEVELSET;
    if (width == 0 || height == 0 || width > 16384 || height > 16384) return DDERR_INVALIDMODE;
    PixelLayout modeLayout{};
    if (!driver->SetMode(*driver, static_cast<int>(width), static_cast<int>(height),
                         static_cast<int>(bitsPerPixel), &modeLayout))
        return DDERR_INVALIDMODE;
    modeSet = true;
    modeWidth = static_cast<int>(width);
    modeHeight = static_cast<int>(height);
    layout = modeLayout;
    return DD_OK;
}

HRESULT MemoryDevice::RestoreDisplayMode()
{
    if (modeSet) driver->RestoreMode(*driver);
    modeSet = false;
    layout = driver->DesktopLayout(*driver);
    return DD_OK;
}

HRESULT MemoryDevice::CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** out, void* outer)
{
    if (!desc || !out || outer) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (!(desc->dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
    const DWORD caps = desc->ddsCaps.dwCaps;
    const bool primary = (caps & DDSCAPS_PRIMARYSURFACE) != 0;
    if (HRESULT hr = StepResult(driver, primary ? DisplayStep::CreatePrimary : DisplayStep::CreateSurface))
        return hr;
    if (layout.bitsPerPixel != 16 && layout.bitsPerPixel != 24 && layout.bitsPerPixel != 32)
        return DDERR_INVALIDPIXELFORMAT;
    int width = 0;
    int height = 0;
    if (primary) {
        if (modeSet && exclusive) {
            width = modeWidth;
            height = modeHeight;
        } else {
            driver->DesktopSize(*driver, &width, &height);
        }
    } else {
        if (!(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
        if (desc->dwWidth == 0 || desc->dwHeight == 0 || desc->dwWidth > 65535 || desc->dwHeight > 65535)
            return DDERR_INVALIDPARAMS;
        width = static_cast<int>(desc->dwWidth);
        height = static_cast<int>(desc->dwHeight);
    }
    const int bpp = BytesPerPixel(layout);
    const int padding = std::max(0, driver->RowPadding(*driver)) & ~3;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bpp + 3) & ~std::size_t{3};
    const std::size_t pitch = rowBytes + static_cast<std::size_t>(padding);
    const std::size_t bytes = pitch * static_cast<std::size_t>(height);
    if (bytes > (std::size_t{1} << 31)) return DDERR_OUTOFMEMORY;
    DWORD finalCaps = caps & ~DDSCAPS_VIDEOMEMORY;
    if (!(finalCaps & DDSCAPS_SYSTEMMEMORY)) finalCaps |= DDSCAPS_VIDEOMEMORY;
    auto* surface = new MemorySurface(this, width, height, static_cast<int>(pitch), layout, finalCaps, primary);
    surface->memory = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
    if (!surface->memory) {
        surface->Release();
        return DDERR_OUTOFMEMORY;
    }
    surface->memoryBytes = bytes;
    *out = surface;
    return DD_OK;
}

HRESULT MemoryDevice::CreateClipper(DWORD, IDirectDrawClipper** out, void* outer)
{
    if (!out || outer) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (HRESULT hr = StepResult(driver, DisplayStep::CreateClipper)) return hr;
    AddRef();
    *out = new MemoryClipper(this);
    return DD_OK;
}

HRESULT MemoryDevice::WaitForVerticalBlank(DWORD, HANDLE)
{
    driver->WaitVerticalBlank(*driver);
    return DD_OK;
}

HRESULT MemoryDevice::FlipToGDISurface()
{
    driver->ShowDesktop(*driver);
    return DD_OK;
}

// * * * Clipper * * *

DWORD MemoryClipper::Release()
{
    if (--refs > 0) return static_cast<DWORD>(refs);
    MemoryDevice* owner = device;
    delete this;
    owner->Release();
    return 0;
}

HRESULT MemoryClipper::SetHWnd(DWORD, HWND hwnd)
{
    if (HRESULT hr = StepResult(device->driver, DisplayStep::ClipperWindow)) return hr;
    if (!hwnd) return DDERR_INVALIDPARAMS;
    window = hwnd;
    return DD_OK;
}

// * * * Surface * * *

MemorySurface::MemorySurface(MemoryDevice* device, int width, int height, int pitch, const PixelLayout& layout,
                             DWORD caps, bool primary)
    : device(device), width(width), height(height), pitch(pitch), layout(layout), caps(caps), primary(primary)
{
    device->AddRef();
    LiveSurfaces().push_back(this);
}

MemorySurface::~MemorySurface()
{
    auto& live = LiveSurfaces();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (lentDc) FreeDc(lentDc);
    std::free(memory);
}

DWORD MemorySurface::Release()
{
    if (--refs > 0) return static_cast<DWORD>(refs);
    MemoryDevice* owner = device;
    MemoryClipper* attached = clipper;
    delete this;
    if (attached) attached->Release();
    owner->Release();
    return 0;
}

HRESULT MemorySurface::Usable()
{
    if (lost) return DDERR_SURFACELOST;
    if (lentDc || locked) return DDERR_SURFACEBUSY;
    return DD_OK;
}

void MemorySurface::Presented()
{
    if (!primary) return;
    HWND window = clipper && clipper->window ? clipper->window : device->window;
    PresentImage image{memory, width, height, pitch, layout};
    device->driver->Present(*device->driver, window, image, device->exclusive);
}

HRESULT MemorySurface::Blt(RECT* destRect, IDirectDrawSurface* srcInterface, RECT* srcRect, DWORD flags,
                           DDBLTFX* fx)
{
    if (HRESULT hr = Usable()) return hr;
    RECT bounds{0, 0, width, height};
    RECT d = destRect ? *destRect : bounds;
    if (Empty(d)) return DDERR_INVALIDRECT;
    // Presentation to a windowed primary surface is confined to the window.
    RECT visible = bounds;
    if (primary && clipper && clipper->window && !device->exclusive) {
        const PlatformWindow& w = *clipper->window;
        visible = Intersect(bounds, RECT{w.clientX, w.clientY, w.clientX + w.clientWidth, w.clientY + w.clientHeight});
    }
    const RECT c = Intersect(d, visible);
    const int bpp = BytesPerPixel(layout);

    if (flags & DDBLT_COLORFILL) {
        if (!fx) return DDERR_INVALIDPARAMS;
        const std::uint32_t value = LowBits(fx->dwFillColor, layout.bitsPerPixel);
        for (int y = c.top; y < c.bottom; ++y) FillRow(Row(y) + c.left * bpp, c.right - c.left, bpp, value);
        Presented();
        return DD_OK;
    }

    auto* src = static_cast<MemorySurface*>(srcInterface);
    if (!src) return DDERR_INVALIDPARAMS;
    if (src != this) {
        if (HRESULT hr = src->Usable()) return hr;
    }
    RECT s = srcRect ? *srcRect : RECT{0, 0, src->width, src->height};
    if (Empty(s) || s.left < 0 || s.top < 0 || s.right > src->width || s.bottom > src->height)
        return DDERR_INVALIDRECT;
    const bool keyed = (flags & DDBLT_KEYSRC) && src->hasKey;
    const std::uint32_t key = src->key.dwColorSpaceLowValue;
    const int dw = d.right - d.left;
    const int dh = d.bottom - d.top;
    const int sw = s.right - s.left;
    const int sh = s.bottom - s.top;
    const bool same = SameLayout(layout, src->layout);

    if (dw == sw && dh == sh && same) {
        // Unscaled: rows straight across, bottom-up when a surface copies
        // onto a lower part of itself.
        const int n = c.right - c.left;
        if (n > 0) {
            const int sx = s.left + (c.left - d.left);
            const int syTop = s.top + (c.top - d.top);
            const bool upward = src == this && c.top > syTop;
            for (int i = 0; i < c.bottom - c.top; ++i) {
                const int row = upward ? (c.bottom - c.top - 1 - i) : i;
                std::uint8_t* to = Row(c.top + row) + c.left * bpp;
                const std::uint8_t* from = src->Row(syTop + row) + sx * bpp;
                if (keyed) KeyedRow(to, from, n, bpp, key);
                else CopyRow(to, from, n, bpp);
            }
        }
        Presented();
        return DD_OK;
    }

    // Scaled or converting: nearest source pixel of each destination pixel.
    std::vector<std::uint8_t> copy;
    const std::uint8_t* srcBase = src->memory;
    int srcPitch = src->pitch;
    if (src == this) {
        copy.assign(memory, memory + memoryBytes);
        srcBase = copy.data();
    }
    const int sbpp = BytesPerPixel(src->layout);
    for (int y = c.top; y < c.bottom; ++y) {
        const int sy = s.top + static_cast<int>(static_cast<long long>(y - d.top) * sh / dh);
        const std::uint8_t* from = srcBase + static_cast<std::ptrdiff_t>(sy) * srcPitch;
        std::uint8_t* to = Row(y);
        for (int x = c.left; x < c.right; ++x) {
            const int sx = s.left + static_cast<int>(static_cast<long long>(x - d.left) * sw / dw);
            const std::uint32_t v = ReadRaw(from, sx, sbpp);
            if (keyed && v == key) continue;
            WriteRaw(to, x, bpp, same ? v : PackColour(layout, UnpackColour(src->layout, v)));
        }
    }
    Presented();
    return DD_OK;
}

HRESULT MemorySurface::BltFast(DWORD x, DWORD y, IDirectDrawSurface* src, RECT* srcRect, DWORD transfer)
{
    auto* s = static_cast<MemorySurface*>(src);
    if (!s) return DDERR_INVALIDPARAMS;
    RECT from = srcRect ? *srcRect : RECT{0, 0, s->width, s->height};
    const LONG left = static_cast<LONG>(x);
    const LONG top = static_cast<LONG>(y);
    RECT to{left, top, left + (from.right - from.left), top + (from.bottom - from.top)};
    return Blt(&to, src, &from, (transfer & DDBLTFAST_SRCCOLORKEY) ? DDBLT_KEYSRC : 0, nullptr);
}

HRESULT MemorySurface::Lock(RECT* rect, DDSURFACEDESC* desc, DWORD, HANDLE)
{
    if (!desc) return DDERR_INVALIDPARAMS;
    if (HRESULT hr = Usable()) return hr;
    if (HRESULT hr = StepResult(device->driver, DisplayStep::Lock)) return hr;
    RECT r = rect ? *rect : RECT{0, 0, width, height};
    if (Empty(r) || r.left < 0 || r.top < 0 || r.right > width || r.bottom > height) return DDERR_INVALIDRECT;
    GetSurfaceDesc(desc);
    desc->lpSurface = Row(r.top) + r.left * BytesPerPixel(layout);
    desc->dwFlags |= DDSD_LPSURFACE;
    locked = true;
    return DD_OK;
}

HRESULT MemorySurface::Unlock(void*)
{
    if (!locked) return DDERR_NOTLOCKED;
    locked = false;
    Presented();
    return DD_OK;
}

HRESULT MemorySurface::GetDC(HDC* dc)
{
    if (!dc) return DDERR_INVALIDPARAMS;
    *dc = nullptr;
    if (lost) return DDERR_SURFACELOST;
    if (lentDc) return DDERR_DCALREADYCREATED;
    if (locked) return DDERR_SURFACEBUSY;
    if (HRESULT hr = StepResult(device->driver, DisplayStep::GetDC)) return hr;
    lentDc = NewTargetDc(DcKind::Surface, memory, width, height, pitch, layout, this);
    *dc = lentDc;
    return DD_OK;
}

HRESULT MemorySurface::ReleaseDC(HDC dc)
{
    if (!lentDc || dc != lentDc) return DDERR_NODC;
    FreeDc(lentDc);
    lentDc = nullptr;
    Presented();
    return DD_OK;
}

HRESULT MemorySurface::SetColorKey(DWORD flags, DDCOLORKEY* colourKey)
{
    if (!(flags & DDCKEY_SRCBLT)) return DDERR_INVALIDPARAMS;
    if (!colourKey) {
        hasKey = false;
        return DD_OK;
    }
    key.dwColorSpaceLowValue = LowBits(colourKey->dwColorSpaceLowValue, layout.bitsPerPixel);
    key.dwColorSpaceHighValue = LowBits(colourKey->dwColorSpaceHighValue, layout.bitsPerPixel);
    hasKey = true;
    return DD_OK;
}

HRESULT MemorySurface::GetColorKey(DWORD flags, DDCOLORKEY* colourKey)
{
    if (!(flags & DDCKEY_SRCBLT) || !colourKey) return DDERR_INVALIDPARAMS;
    if (!hasKey) return DDERR_NOCOLORKEY;
    *colourKey = key;
    return DD_OK;
}

HRESULT MemorySurface::GetSurfaceDesc(DDSURFACEDESC* desc)
{
    if (!desc) return DDERR_INVALIDPARAMS;
    *desc = DDSURFACEDESC{};
    desc->dwSize = sizeof(DDSURFACEDESC);
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = static_cast<DWORD>(width);
    desc->dwHeight = static_cast<DWORD>(height);
    desc->lPitch = pitch;
    desc->ddsCaps.dwCaps = caps;
    if (hasKey) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt = key;
    }
    FillPixelFormat(layout, &desc->ddpfPixelFormat);
    return DD_OK;
}

HRESULT MemorySurface::GetPixelFormat(DDPIXELFORMAT* format)
{
    if (!format) return DDERR_INVALIDPARAMS;
    if (HRESULT hr = StepResult(device->driver, DisplayStep::PixelFormat)) return hr;
    FillPixelFormat(layout, format);
    return DD_OK;
}

HRESULT MemorySurface::IsLost() { return lost ? DDERR_SURFACELOST : DD_OK; }

HRESULT MemorySurface::Restore()
{
    if (!lost) return DD_OK;
    std::memset(memory, 0, memoryBytes);
    lost = false;
    return DD_OK;
}

HRESULT MemorySurface::SetClipper(IDirectDrawClipper* clipperInterface)
{
    if (HRESULT hr = StepResult(device->driver, DisplayStep::SetClipper)) return hr;
    auto* c = static_cast<MemoryClipper*>(clipperInterface);
    if (c) ++c->refs;
    if (clipper) clipper->Release();
    clipper = c;
    return DD_OK;
}

}  // namespace ovPlatform::detail

// * * * Enumeration and creation * * *

HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA callback, void* context)
{
    if (!callback) return DDERR_INVALIDPARAMS;
    ovPlatform::DisplayDriver* driver = ovPlatform::detail::CurrentDriver();
    if (!driver) return DD_OK;
    const int count = driver->DeviceCount(*driver);
    for (int i = 0; i < count; ++i) {
        ovPlatform::DisplayDeviceInfo info{};
        driver->Device(*driver, i, &info);
        if (callback(info.isDefault ? nullptr : &info.guid, info.description, info.name, context) ==
            DDENUMRET_CANCEL)
            break;
    }
    return DD_OK;
}

HRESULT DirectDrawCreate(GUID* guid, IDirectDraw** device, void* outer)
{
    using namespace ovPlatform;
    if (!device || outer) return DDERR_INVALIDPARAMS;
    *device = nullptr;
    DisplayDriver* driver = detail::CurrentDriver();
    if (!driver) return DDERR_NODIRECTDRAWHW;
    if (HRESULT hr = detail::StepResult(driver, DisplayStep::CreateDevice)) return hr;
    const int count = driver->DeviceCount(*driver);
    for (int i = 0; i < count; ++i) {
        DisplayDeviceInfo info{};
        driver->Device(*driver, i, &info);
        const bool match = guid ? (!info.isDefault && std::memcmp(&info.guid, guid, sizeof(GUID)) == 0)
                                : info.isDefault;
        if (!match) continue;
        if (!info.creatable) return DDERR_NODIRECTDRAWHW;
        *device = new detail::MemoryDevice(driver, i);
        return DD_OK;
    }
    return DDERR_NODIRECTDRAWHW;
}
