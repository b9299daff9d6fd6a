// platform/headless/headless_devices.cpp - the headless backend's display
// device: a virtual desktop of a chosen depth, a scripted device list,
// refused modes and failing steps, and a record of what the window shows.
//
// The sound device is headless_audio.cpp.
//
// LIMITATIONS: the window image is the primary surface's pixels under the window's client
// area at the last presentation; nothing else is composed.
// DEPENDENCIES: the platform core's memory display device.

#include "platform/core/ddraw_internal.h"
#include "platform/core/devices_internal.h"
#include "platform/core/gdi_internal.h"
#include "platform/core/window_internal.h"
#include "platform/headless/headless.h"
#include "platform/window.h"

#include <cstdio>
#include <map>
#include <set>

namespace ovPlatform::headless {
namespace {

struct Failure {
    int serial;      // 0 = every call
    HRESULT result;
};

struct DisplayState {
    int desktopBits = 16;
    std::vector<DisplayDevice> devices{DisplayDevice{}};
    std::vector<int> released;
    std::set<int> refused;
    std::vector<int> modeRequests;
    bool modeSet = false;
    bool exclusive = false;
    std::map<DisplayStep, std::vector<Failure>> failures;
    std::map<DisplayStep, int> calls;
    int padding = 8;
    Image window;
    unsigned presents = 0;
    unsigned desktopShown = 0;
    int refresh = 60;
    unsigned vblanks = 0;
};

DisplayState D;
DisplayDriver driver{};

PixelLayout LayoutOfDepth(int bits)
{
    switch (bits) {
    case 8: return kLayout8;
    case 15: return kLayout555;
    case 24: return kLayout24;
    case 32: return kLayout32;
    default: return kLayout565;
    }
}

PixelLayout DesktopLayoutSlot(DisplayDriver&) { return LayoutOfDepth(D.desktopBits); }

void DesktopSizeSlot(DisplayDriver&, int* width, int* height)
{
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
}

int DeviceCountSlot(DisplayDriver&) { return static_cast<int>(D.devices.size()); }

void DeviceSlot(DisplayDriver&, int index, DisplayDeviceInfo* info)
{
    *info = DisplayDeviceInfo{};
    if (index < 0 || index >= static_cast<int>(D.devices.size())) return;
    const DisplayDevice& d = D.devices[static_cast<std::size_t>(index)];
    info->isDefault = index == 0;
    info->guid = GUID{static_cast<DWORD>(0x4F560000u + index), 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    std::snprintf(info->description, sizeof(info->description), "%s", d.description.c_str());
    std::snprintf(info->name, sizeof(info->name), "display%d", index);
    info->creatable = d.creatable;
    info->hardware.dwSize = info->emulation.dwSize = sizeof(DDCAPS);
    info->hardware.dwCaps = d.hardwareCaps;
    info->hardware.ddsCaps.dwCaps = d.hardwareSurfaceCaps;
    info->emulation.dwCaps = d.emulationCaps;
    info->emulation.ddsCaps.dwCaps = d.emulationSurfaceCaps;
}

HRESULT StepResultSlot(DisplayDriver&, DisplayStep step)
{
    const int serial = ++D.calls[step];
    auto it = D.failures.find(step);
    if (it == D.failures.end()) return DD_OK;
    for (const Failure& f : it->second)
        if (f.serial == 0 || f.serial == serial) return f.result;
    return DD_OK;
}

bool SetModeSlot(DisplayDriver&, int, int, int bits, PixelLayout* layout)
{
    D.modeRequests.push_back(bits);
    if (D.refused.count(bits)) return false;
    if (bits != 15 && bits != 16 && bits != 24 && bits != 32) return false;
    *layout = LayoutOfDepth(bits);
    D.modeSet = true;
    return true;
}

void RestoreModeSlot(DisplayDriver&) { D.modeSet = false; }

void SetExclusiveSlot(DisplayDriver&, HWND, bool exclusive) { D.exclusive = exclusive; }

int RowPaddingSlot(DisplayDriver&) { return D.padding; }

void PresentSlot(DisplayDriver&, PlatformWindow* window, const PresentImage& image, bool fullScreen)
{
    int left = 0, top = 0, width = image.width, height = image.height;
    if (!fullScreen && window) {
        left = window->clientX;
        top = window->clientY;
        width = window->clientWidth;
        height = window->clientHeight;
    }
    Image& out = D.window;
    out.width = width;
    out.height = height;
    out.layout = image.layout;
    out.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    const int bpp = detail::BytesPerPixel(image.layout);
    for (int y = 0; y < height; ++y) {
        const int sy = top + y;
        if (sy < 0 || sy >= image.height) continue;
        const std::uint8_t* row = image.pixels + static_cast<std::ptrdiff_t>(sy) * image.pitch;
        for (int x = 0; x < width; ++x) {
            const int sx = left + x;
            if (sx < 0 || sx >= image.width) continue;
            out.pixels[static_cast<std::size_t>(y) * width + x] = detail::ReadRaw(row, sx, bpp);
        }
    }
    ++D.presents;
}

void WaitVerticalBlankSlot(DisplayDriver&)
{
    const unsigned hz = D.refresh > 0 ? static_cast<unsigned>(D.refresh) : 60u;
    const unsigned n = D.vblanks % hz;
    Advance(((n + 1) * 1000u) / hz - (n * 1000u) / hz);
    ++D.vblanks;
}

void ShowDesktopSlot(DisplayDriver&) { ++D.desktopShown; }

void DeviceReleased(int index) { D.released.push_back(index); }

}  // namespace

void InstallHeadlessAudio(Backend& b);  // headless_audio.cpp

void InstallHeadlessDevices(Backend& b)
{
    D = DisplayState{};
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
    detail::SetDeviceReleasedHook(DeviceReleased);
    b.display = &driver;
    InstallHeadlessAudio(b);
}

// * * * Control interface * * *

void SetDesktopDepth(int bits) { D.desktopBits = bits; }
PixelLayout DesktopLayout() { return LayoutOfDepth(D.desktopBits); }
void SetDisplayDevices(const std::vector<DisplayDevice>& devices) { D.devices = devices; }
std::vector<int> ReleasedDevices() { return D.released; }
void RefuseDepth(int bits) { D.refused.insert(bits); }
const std::vector<int>& ModeRequests() { return D.modeRequests; }
bool IsDisplayModeSet() { return D.modeSet; }
bool IsExclusive() { return D.exclusive; }
void FailDisplayStep(DisplayStep step, int serial, HRESULT result) { D.failures[step].push_back({serial, result}); }
void SetRowPadding(int bytes) { D.padding = bytes < 0 ? 0 : bytes; }

void LoseAllSurfaces()
{
    for (detail::MemorySurface* s : detail::LiveSurfaces()) s->lost = true;
}

COLORREF Image::Colour(int x, int y) const { return detail::UnpackColour(layout, At(x, y)); }

Image SurfaceImage(IDirectDrawSurface* surface)
{
    Image out;
    auto* s = static_cast<detail::MemorySurface*>(surface);
    if (!s) return out;
    out.width = s->width;
    out.height = s->height;
    out.layout = s->layout;
    out.pixels.resize(static_cast<std::size_t>(s->width) * s->height);
    const int bpp = detail::BytesPerPixel(s->layout);
    for (int y = 0; y < s->height; ++y)
        for (int x = 0; x < s->width; ++x)
            out.pixels[static_cast<std::size_t>(y) * s->width + x] = detail::ReadRaw(s->Row(y), x, bpp);
    return out;
}

Image WindowImage() { return D.window; }
unsigned PresentCount() { return D.presents; }
unsigned DesktopShownCount() { return D.desktopShown; }
void SetRefreshRate(int hertz) { D.refresh = hertz; }
unsigned VerticalBlankCount() { return D.vblanks; }

}  // namespace ovPlatform::headless
