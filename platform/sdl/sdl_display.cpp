// platform/sdl/sdl_display.cpp - the SDL backend's display: the desktop is
// 16 bits per pixel 5-6-5 to the engine; what the primary surface shows is
// drawn into the real window through an SDL renderer, which converts the
// pixels for the screen and scales a full-screen image to the whole screen.
//
// The refresh wait sleeps until the next 1/refresh deadline (no busy wait).
// The last image is kept so an exposed window is drawn again.
//
// LIMITATIONS: one device, no hardware 3D or texture caps (the engine takes
// the default device); full screen is a desktop-sized full-screen window,
// the mode's size is scaled to it; 8-bit modes are refused.
// DEPENDENCIES: SDL2; the platform core's memory display device.

#include "platform/core/devices_internal.h"
#include "platform/core/gdi_internal.h"
#include "platform/core/window_internal.h"
#include "platform/sdl/sdl_internal.h"

#include <cstdio>
#include <vector>

namespace ovPlatform::sdl {
namespace {

struct DisplayState {
    SDL_Window* window = nullptr;       // the window the renderer draws into
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    std::vector<std::uint16_t> image;   // the last shown picture, 5-6-5
    std::vector<std::uint16_t> shown;  // the last image drawn into the window
    int shownWidth = 0;
    int shownHeight = 0;
    int imageWidth = 0;
    int imageHeight = 0;
    int refresh = 60;
    std::uint32_t nextBlank = 0;
};

DisplayState S;
DisplayDriver driver{};

PixelLayout DesktopLayoutSlot(DisplayDriver&) { return kLayout565; }

void DesktopSizeSlot(DisplayDriver&, int* width, int* height)
{
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        *width = mode.w;
        *height = mode.h;
        if (mode.refresh_rate > 0) S.refresh = mode.refresh_rate;
    } else {
        *width = 1024;
        *height = 768;
    }
}

int DeviceCountSlot(DisplayDriver&) { return 1; }

void DeviceSlot(DisplayDriver&, int, DisplayDeviceInfo* info)
{
    *info = DisplayDeviceInfo{};
    info->isDefault = true;
    std::snprintf(info->description, sizeof(info->description), "SDL display");
    std::snprintf(info->name, sizeof(info->name), "display");
    info->creatable = true;
    info->hardware.dwSize = info->emulation.dwSize = sizeof(DDCAPS);
    info->emulation.dwCaps = DDCAPS_BLT | DDCAPS_BLTSTRETCH | DDCAPS_BLTCOLORFILL | DDCAPS_COLORKEY;
    info->emulation.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
}

HRESULT StepResultSlot(DisplayDriver&, DisplayStep) { return DD_OK; }

bool SetModeSlot(DisplayDriver&, int, int, int bits, PixelLayout* layout)
{
    switch (bits) {
    case 15: *layout = kLayout555; return true;
    case 16: *layout = kLayout565; return true;
    case 24: *layout = kLayout24; return true;
    case 32: *layout = kLayout32; return true;
    default: return false;
    }
}

void RestoreModeSlot(DisplayDriver&) {}

void SetExclusiveSlot(DisplayDriver&, HWND window, bool exclusive)
{
    if (!window || !window->native) return;
    SDL_SetWindowFullscreen(static_cast<SDL_Window*>(window->native), exclusive ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

int RowPaddingSlot(DisplayDriver&) { return 0; }

bool MakeRenderer()
{
    // The software renderer draws through the window's own surface: the
    // image is small and it costs almost nothing. Whatever renderer SDL
    // gives, it is made while the window is still hidden, since SDL may have
    // to recreate the native window for it, and a shown window must keep the
    // identity other programs and the window manager know it by.
    S.renderer = SDL_CreateRenderer(S.window, -1, SDL_RENDERER_SOFTWARE);
    if (!S.renderer) S.renderer = SDL_CreateRenderer(S.window, -1, 0);
    return S.renderer != nullptr;
}

void Draw()
{
    if (!S.window || S.image.empty()) return;
    if (!S.renderer && !MakeRenderer()) return;
    if (!S.texture || S.textureWidth != S.imageWidth || S.textureHeight != S.imageHeight) {
        if (S.texture) SDL_DestroyTexture(S.texture);
        S.texture = SDL_CreateTexture(S.renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, S.imageWidth,
                                      S.imageHeight);
        S.textureWidth = S.imageWidth;
        S.textureHeight = S.imageHeight;
        if (!S.texture) return;
    }
    SDL_UpdateTexture(S.texture, nullptr, S.image.data(), S.imageWidth * 2);
    SDL_RenderClear(S.renderer);
    SDL_RenderCopy(S.renderer, S.texture, nullptr, nullptr);
    SDL_RenderPresent(S.renderer);
}

}  // namespace

void PrepareWindowForPresentation(SDL_Window* window)
{
    if (S.window == window && S.renderer) return;
    if (S.texture) SDL_DestroyTexture(S.texture);
    if (S.renderer) SDL_DestroyRenderer(S.renderer);
    S.texture = nullptr;
    S.renderer = nullptr;
    S.window = window;
    MakeRenderer();
}

namespace {

void PresentSlot(DisplayDriver&, PlatformWindow* window, const PresentImage& image, bool fullScreen)
{
    if (!window || !window->native) return;
    if (S.window != window->native) {
        if (S.texture) SDL_DestroyTexture(S.texture);
        if (S.renderer) SDL_DestroyRenderer(S.renderer);
        S.texture = nullptr;
        S.renderer = nullptr;
        S.window = static_cast<SDL_Window*>(window->native);
    }
    int left = 0, top = 0, width = image.width, height = image.height;
    if (!fullScreen) {
        left = window->clientX;
        top = window->clientY;
        width = window->clientWidth;
        height = window->clientHeight;
    }
    if (width <= 0 || height <= 0) return;
    S.imageWidth = width;
    S.imageHeight = height;
    S.image.assign(static_cast<std::size_t>(width) * height, 0);
    const int bpp = detail::BytesPerPixel(image.layout);
    const bool is565 = image.layout.bitsPerPixel == 16 && image.layout.greenMask == 0x07E0;
    for (int y = 0; y < height; ++y) {
        const int sy = top + y;
        if (sy < 0 || sy >= image.height) continue;
        const std::uint8_t* row = image.pixels + static_cast<std::ptrdiff_t>(sy) * image.pitch;
        std::uint16_t* out = S.image.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const int sx = left + x;
            if (sx < 0 || sx >= image.width) continue;
            const std::uint32_t raw = detail::ReadRaw(row, sx, bpp);
            out[x] = static_cast<std::uint16_t>(
                is565 ? raw : detail::PackColour(kLayout565, detail::UnpackColour(image.layout, raw)));
        }
    }
    // A frame like the one on the screen already (a held picture redrawn
    // every refresh) costs the desktop nothing; an expose redraws regardless.
    if (S.image == S.shown && S.shownWidth == width && S.shownHeight == height) return;
    S.shown = S.image;
    S.shownWidth = width;
    S.shownHeight = height;
    Draw();
}

void WaitVerticalBlankSlot(DisplayDriver&)
{
    const std::uint32_t period = static_cast<std::uint32_t>(1000 / (S.refresh > 0 ? S.refresh : 60));
    const std::uint32_t now = SDL_GetTicks();
    if (static_cast<std::int32_t>(S.nextBlank - now) <= 0 || S.nextBlank - now > period) S.nextBlank = now + period;
    SDL_Delay(S.nextBlank - now);
    S.nextBlank += period;
}

void ShowDesktopSlot(DisplayDriver&) {}

}  // namespace

void RedrawDisplay() { Draw(); }

void ReleaseDisplay()
{
    if (S.texture) SDL_DestroyTexture(S.texture);
    if (S.renderer) SDL_DestroyRenderer(S.renderer);
    S = DisplayState{};
}

void InstallSdlDisplay(Backend& b)
{
    S = DisplayState{};
    driver = DisplayDriver{};
    driver.DesktopLayout = DesktopLayoutSlot;
    driver.DesktopSize = DesktopSizeSlot;
    driver.DeviceCount = DeviceCountSlot;
    driver.Device = DeviceSlot;
    driver.StepResult = StepResultSlot;
    driver.SetMode = SetModeSlot;
    driver.RestoreMode = RestoreModeSlot;
    driver.SetExclusive = SetExclusiveSlot;
    driver.RowPadding = RowPaddingSlot;
    driver.Present = PresentSlot;
    driver.WaitVerticalBlank = WaitVerticalBlankSlot;
    driver.ShowDesktop = ShowDesktopSlot;
    b.display = &driver;
}

}  // namespace ovPlatform::sdl
