// draw/screen.cpp - display start-up and release: the device, the primary
// surface, the back buffer, the clipper, the four internal objects, the pixel
// format of the back buffer and the lookup tables of the 16-bit effects.
//
// ovDraw::Screen runs once per process. Every failing step shows an error box
// and returns 0 at once; what was made before stays, and ReleaseScreen
// releases it at quit.
//
// LIMITATIONS: a palettised back buffer (zero masks) leaves every shift and
// max at 0 instead of looping. The tables other than SineTable are built only
// on a 16-bit desktop.
// DEPENDENCIES: platform/ddraw.h, platform/gdi.h; ovSystem (Error, Random,
// Reset); ovInput (client origin, cursor confinement); the object table
// (draw/objects.cpp).

#include "draw/draw.h"
#include "draw/text/text.h"
#include "draw/draw_internal.h"
#include "draw/objects.h"
#include "draw/texts.h"
#include "input/input.h"
#include "system/sjis_text.h"
#include "system/system.h"

#include "platform/window.h"

#include <cmath>
#include <cstring>

namespace ovDraw {

IDirectDraw* DirectDraw = nullptr;
IDirectDrawSurface* PrimarySurface = nullptr;
IDirectDrawSurface* BackBuffer = nullptr;
IDirectDrawClipper* Clipper = nullptr;
int AcceleratedDevice = 0;
int StretchCapable = 0;
RECT BackBufferRect{};
int ScrollerPicture = 0;
int ScrollerTile = 0;
int FallbackDepth1 = 0;
int FallbackDepth2 = 0;

PixelFormatInfo PixelFormat{};
std::int32_t SineTable[450];
std::uint8_t PixelRgbTable[65536][3];
std::uint16_t CrossFadeTable[3][32][32][32];
std::uint16_t FadeAddTable[3][32][32][32];
std::uint16_t SubtractTable[3][32][32];
std::uint16_t GreyTable[94];
std::uint8_t NoiseTable[10000];

namespace {

constexpr const char* kContext = "ovDraw::Screen";

int Fail(const char* message, HRESULT hr) { return ovSystem::Error(kContext, message, hr); }

// Lowest set bit and the mask shifted down; zero masks give zero.
void AnalyseMask(std::uint32_t mask, std::uint16_t* shift, std::uint32_t* max)
{
    std::uint16_t s = 0;
    if (mask != 0) {
        while ((mask & 1u) == 0) {
            mask >>= 1;
            ++s;
        }
    }
    *shift = s;
    *max = mask;
}

void AnalysePixelFormat(const DDPIXELFORMAT& format)
{
    PixelFormatInfo& p = PixelFormat;
    AnalyseMask(format.dwRBitMask, &p.redShift, &p.redMax);
    AnalyseMask(format.dwGBitMask, &p.greenShift, &p.greenMax);
    AnalyseMask(format.dwBBitMask, &p.blueShift, &p.blueMax);
    p.redShift5 = static_cast<std::uint16_t>(p.redShift + (p.redMax == 63 ? 1 : 0));
    p.greenShift5 = static_cast<std::uint16_t>(p.greenShift + (p.greenMax == 63 ? 1 : 0));
    p.blueShift5 = static_cast<std::uint16_t>(p.blueShift + (p.blueMax == 63 ? 1 : 0));
    p.halfMask = ((p.redMax >> 1) << p.redShift) | ((p.greenMax >> 1) << p.greenShift) |
                 ((p.blueMax >> 1) << p.blueShift);
    p.whiteMask = (p.redMax << p.redShift) | (p.greenMax << p.greenShift) | (p.blueMax << p.blueShift);
    p.redMask = format.dwRBitMask;
    p.greenMask = format.dwGBitMask;
    p.blueMask = format.dwBBitMask;
}

void BuildSineTable()
{
    const double radiansPerDegree = 3.14159265358979323846 / 180.0;
    for (int d = 0; d < 450; ++d) SineTable[d] = static_cast<std::int32_t>(360.0 * std::sin(d * radiansPerDegree));
}

void BuildPixelRgbTable()
{
    const PixelFormatInfo& p = PixelFormat;
    const std::uint32_t redCount = p.redMax == 63 ? 64 : 32;
    const std::uint32_t greenCount = p.greenMax == 63 ? 64 : 32;
    const std::uint32_t blueCount = p.blueMax == 63 ? 64 : 32;
    for (std::uint32_t r = 0; r < redCount; ++r)
        for (std::uint32_t g = 0; g < greenCount; ++g)
            for (std::uint32_t b = 0; b < blueCount; ++b) {
                const std::uint32_t index = ((r << p.redShift) + (g << p.greenShift) + b) & 0xFFFF;
                PixelRgbTable[index][0] = static_cast<std::uint8_t>(redCount == 64 ? r >> 1 : r);
                PixelRgbTable[index][1] = static_cast<std::uint8_t>(greenCount == 64 ? g >> 1 : g);
                PixelRgbTable[index][2] = static_cast<std::uint8_t>(blueCount == 64 ? b >> 1 : b);
            }
}

void BuildBlendTables()
{
    const std::uint16_t shift5[3] = {PixelFormat.redShift5, PixelFormat.greenShift5, PixelFormat.blueShift5};
    for (int ch = 0; ch < 3; ++ch)
        for (int level = 0; level < 32; ++level)
            for (int a = 0; a < 32; ++a)
                for (int b = 0; b < 32; ++b) {
                    const int fadedA = a - level > 0 ? a - level : 0;
                    const int fadedB = b - (31 - level) > 0 ? b - (31 - level) : 0;
                    CrossFadeTable[ch][level][a][b] = static_cast<std::uint16_t>((fadedA + fadedB) << shift5[ch]);
                }
    for (int ch = 0; ch < 3; ++ch)
        for (int level = 0; level < 32; ++level)
            for (int a = 0; a < 32; ++a)
                for (int b = 0; b < 32; ++b) {
                    const int faded = a - level > 0 ? a - level : 0;
                    const int sum = faded + b < 31 ? faded + b : 31;
                    FadeAddTable[ch][level][a][b] = static_cast<std::uint16_t>(sum << shift5[ch]);
                }
    for (int ch = 0; ch < 3; ++ch)
        for (int a = 0; a < 32; ++a)
            for (int b = 0; b < 32; ++b)
                SubtractTable[ch][a][b] = static_cast<std::uint16_t>((a - b > 0 ? a - b : 0) << shift5[ch]);
    for (int s = 0; s < 94; ++s) GreyTable[s] = static_cast<std::uint16_t>(s / 3);
    for (int i = 0; i < 10000; ++i) NoiseTable[i] = static_cast<std::uint8_t>(ovSystem::Random() % 3);
}

// An off-screen plain surface of the display's size.
HRESULT CreatePlainSurface(DWORD caps, IDirectDrawSurface** surface)
{
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(DisplayWidth);
    desc.dwHeight = static_cast<DWORD>(DisplayHeight);
    desc.ddsCaps.dwCaps = caps | DDSCAPS_OFFSCREENPLAIN;
    return DirectDraw->CreateSurface(&desc, surface, nullptr);
}

}  // namespace

void SetDepth(int depth, int fallback1, int fallback2)
{
    DisplayDepth = depth;
    FallbackDepth1 = fallback1;
    FallbackDepth2 = fallback2;
}

void SetClip(int left, int top, int right, int bottom) { Clip = RECT{left, top, right, bottom}; }

int DesktopDepth()
{
    HDC dc = ::GetDC(ovSystem::WindowHandle);
    const int bits = GetDeviceCaps(dc, BITSPIXEL);
    ::ReleaseDC(ovSystem::WindowHandle, dc);
    return bits;
}

int Screen(int width, int height, int mode)
{
    // 1. Size.
    if (width == -1) {
        width = DefaultWidth;
        height = DefaultHeight;
    }
    DisplayWidth = width;
    DisplayHeight = height;
    // 2. Clip rectangle.
    SetClip(0, 0, width, height);
    // 3, 4. Device: the first enumerated device with 3D and textures, else the default.
    DirectDrawEnumerateA(detail::EnumerateDevice, &DirectDraw);
    if (!DirectDraw) {
        HRESULT hr = DirectDrawCreate(nullptr, &DirectDraw, nullptr);
        if (FAILED(hr)) {
            DirectDraw = nullptr;
            return Fail(texts::kNoDirectDraw, hr);
        }
    }
    // 5. Placement of the primary surface and the back buffer.
    DWORD placement = (mode == 1 || mode == 3) ? 0 : DDSCAPS_SYSTEMMEMORY;
    // 6. Cooperative level.
    HRESULT hr = DirectDraw->SetCooperativeLevel(
        ovSystem::WindowHandle, FullScreen ? (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT) : DDSCL_NORMAL);
    if (FAILED(hr)) return Fail(texts::kNoCooperativeLevel, hr);
    // 7. Colour depth.
    if (FullScreen) {
        hr = DirectDraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                        static_cast<DWORD>(DisplayDepth));
        if (FAILED(hr) && FallbackDepth1 != 0) {
            DisplayDepth = FallbackDepth1;
            hr = DirectDraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                            static_cast<DWORD>(DisplayDepth));
            if (FAILED(hr) && FallbackDepth2 != 0) {
                DisplayDepth = FallbackDepth2;
                hr = DirectDraw->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                                static_cast<DWORD>(DisplayDepth));
            }
        }
        if (FAILED(hr)) return Fail(texts::kNoDisplayMode, hr);
    } else {
        DisplayDepth = DesktopDepth();
    }
    // 8. Primary surface.
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = placement | DDSCAPS_PRIMARYSURFACE;
    hr = DirectDraw->CreateSurface(&desc, &PrimarySurface, nullptr);
    if (FAILED(hr)) {
        PrimarySurface = nullptr;
        return Fail(texts::kNoPrimary, hr);
    }
    // 9. Back buffer.
    hr = CreatePlainSurface(placement, &BackBuffer);
    if (FAILED(hr)) {
        BackBuffer = nullptr;
        return Fail(texts::kNoBackBuffer, hr);
    }
    // 10. Windowed: the clipper binds the primary surface to the window.
    if (!FullScreen) {
        hr = DirectDraw->CreateClipper(0, &Clipper, nullptr);
        if (FAILED(hr)) {
            Clipper = nullptr;
            return Fail(texts::kNoClipper, hr);
        }
        hr = Clipper->SetHWnd(0, ovSystem::WindowHandle);
        if (FAILED(hr)) return Fail(texts::kNoClipperWindow, hr);
        hr = PrimarySurface->SetClipper(Clipper);
        if (FAILED(hr)) return Fail(texts::kNoPrimaryClip, hr);
    }
    // 11. Mode 3 keeps Buffer and Screen in system memory.
    if (mode == 3) placement = DDSCAPS_SYSTEMMEMORY;
    // 12. Internal objects 0..3.
    struct Internal {
        const char* name;
        const char* failure;
        bool systemMemory;
    };
    const Internal internal[4] = {
        {texts::kInternalName1, texts::kNoBufferObject, false},
        {texts::kInternalName2, texts::kNoScreenObject, false},
        {texts::kInternalName3, texts::kNoFontObject, true},
        {texts::kInternalName4, texts::kNoFontBufferObject, true},
    };
    for (int i = 0; i < 4; ++i) {
        ObjectSlot& slot = Objects[i];
        hr = CreatePlainSurface(internal[i].systemMemory ? DDSCAPS_SYSTEMMEMORY : placement, &slot.surface);
        if (FAILED(hr)) {
            slot.surface = nullptr;
            return Fail(internal[i].failure, hr);
        }
        detail::SetSurfaceKey(slot.surface, RGB(0, 0, 0));
        ov::CopyText(slot.name, sizeof(slot.name), internal[i].name);
        slot.fromPack = 0;
        slot.placement = 2;
        slot.colorKey = 0;
        slot.width = static_cast<std::uint16_t>(width);
        slot.height = static_cast<std::uint16_t>(height);
    }
    // 13. Stretch capability.
    DDCAPS hardware{};
    DDCAPS emulation{};
    hardware.dwSize = emulation.dwSize = sizeof(DDCAPS);
    DirectDraw->GetCaps(&hardware, &emulation);
    StretchCapable = (AcceleratedDevice && (hardware.dwCaps & DDCAPS_BLTSTRETCH)) ||
                             (!AcceleratedDevice && (emulation.dwCaps & DDCAPS_BLTSTRETCH))
                         ? 1
                         : 0;
    // 14. Pixel format of the back buffer.
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(format);
    hr = BackBuffer->GetPixelFormat(&format);
    if (FAILED(hr)) return Fail(texts::kNoPixelFormat, hr);
    AnalysePixelFormat(format);
    // 15, 16. Tables.
    BuildSineTable();
    if (DesktopDepth() == 16) {
        BuildPixelRgbTable();
        BuildBlendTables();
    }
    // 17. Empty the application's part of the object table.
    for (int i = ov::FIRST_USER_OBJECT; i < ov::MAX_OBJECTS; ++i) detail::ClearSlot(Objects[i]);
    // 18. Scroller, presentation rectangles.
    ScrollerPicture = 0;
    ScrollerTile = 0;
    BackBufferRect = RECT{0, 0, width, height};
    WindowRect = RECT{ovInput::ClientOriginX, ovInput::ClientOriginY, ovInput::ClientOriginX + width,
                      ovInput::ClientOriginY + height};
    // 21. The other modules' start-up.
    ovSystem::Reset();
    detail::BuildFontTable();
    if (ovSystem::CursorClipOption) ovInput::ConfineCursorToWindow();
    return 1;
}

void ReleaseScreen()
{
    if (DirectDraw) {
        for (ObjectSlot& slot : Objects) {
            if (!slot.surface) continue;
            slot.surface->Release();
            detail::ClearSlot(slot);
        }
        if (!FullScreen && Clipper) {
            Clipper->Release();
            Clipper = nullptr;
        }
        if (PrimarySurface) {
            PrimarySurface->Release();
            PrimarySurface = nullptr;
        }
        if (BackBuffer) {
            BackBuffer->Release();
            BackBuffer = nullptr;
        }
        if (FullScreen) {
            DirectDraw->RestoreDisplayMode();
            DirectDraw->SetCooperativeLevel(ovSystem::WindowHandle, DDSCL_NORMAL);
        }
        DirectDraw->Release();
        DirectDraw = nullptr;
    }
    if (FullScreen) CloseWindow(ovSystem::WindowHandle);
}

}  // namespace ovDraw

namespace ovDraw::detail {

BOOL EnumerateDevice(GUID* guid, char*, char*, void* context)
{
    auto** device = static_cast<IDirectDraw**>(context);
    AcceleratedDevice = 0;
    IDirectDraw* candidate = nullptr;
    if (FAILED(DirectDrawCreate(guid, &candidate, nullptr)) || !candidate) return DDENUMRET_OK;
    DDCAPS hardware{};
    DDCAPS emulation{};
    hardware.dwSize = emulation.dwSize = sizeof(DDCAPS);
    candidate->GetCaps(&hardware, &emulation);
    if ((hardware.dwCaps & DDCAPS_3D) && (hardware.ddsCaps.dwCaps & DDSCAPS_TEXTURE)) {
        *device = candidate;
        AcceleratedDevice = 1;
        return DDENUMRET_CANCEL;
    }
    *device = nullptr;
    candidate->Release();
    return DDENUMRET_OK;
}

bool DeviceExists() { return DirectDraw != nullptr; }

void ShowDesktopSurface()
{
    if (DirectDraw) DirectDraw->FlipToGDISurface();
}

}  // namespace ovDraw::detail
