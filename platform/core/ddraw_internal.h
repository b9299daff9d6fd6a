// platform/core/ddraw_internal.h - the memory display device behind
// platform/ddraw.h, and the row kernels its blits use. Not for the engine.
#pragma once

#include "platform/ddraw.h"
#include "platform/display_driver.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ovPlatform::detail {

class MemoryDevice;
class MemoryClipper;

class MemorySurface final : public IDirectDrawSurface {
public:
    MemorySurface(MemoryDevice* device, int width, int height, int pitch, const PixelLayout& layout, DWORD caps,
                  bool primary);

    DWORD Release() override;
    HRESULT Blt(RECT* destRect, IDirectDrawSurface* src, RECT* srcRect, DWORD flags, DDBLTFX* fx) override;
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* src, RECT* srcRect, DWORD transfer) override;
    HRESULT Lock(RECT* rect, DDSURFACEDESC* desc, DWORD flags, HANDLE event) override;
    HRESULT Unlock(void* pointer) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) override;
    HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) override;
    HRESULT GetPixelFormat(DDPIXELFORMAT* format) override;
    HRESULT IsLost() override;
    HRESULT Restore() override;
    HRESULT SetClipper(IDirectDrawClipper* clipper) override;

    // State (read by the headless backend's read-back and by tests' helpers).
    MemoryDevice* device;
    int refs = 1;
    int width;
    int height;
    int pitch;            // bytes
    PixelLayout layout;
    DWORD caps;
    bool primary;
    bool lost = false;
    bool locked = false;
    PlatformDc* lentDc = nullptr;
    bool hasKey = false;
    DDCOLORKEY key{};
    MemoryClipper* clipper = nullptr;
    std::uint8_t* memory = nullptr;  // pitch * height bytes (calloc: untyped storage, so
                                     // callers may read it as 16- or 32-bit words)
    std::size_t memoryBytes = 0;

    std::uint8_t* Row(int y) { return memory + static_cast<std::ptrdiff_t>(y) * pitch; }
    const std::uint8_t* Row(int y) const { return memory + static_cast<std::ptrdiff_t>(y) * pitch; }

private:
    ~MemorySurface() override;
    HRESULT Usable();        // DD_OK, DDERR_SURFACELOST or DDERR_SURFACEBUSY
    void Presented();        // the primary surface changed: show it
};

class MemoryClipper final : public IDirectDrawClipper {
public:
    explicit MemoryClipper(MemoryDevice* device) : device(device) {}
    DWORD Release() override;
    HRESULT SetHWnd(DWORD flags, HWND window) override;

    MemoryDevice* device;
    int refs = 1;
    HWND window = nullptr;

private:
    ~MemoryClipper() override = default;
};

class MemoryDevice final : public IDirectDraw {
public:
    MemoryDevice(DisplayDriver* driver, int index);

    DWORD Release() override;
    HRESULT GetCaps(DDCAPS* hardware, DDCAPS* emulation) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
    HRESULT RestoreDisplayMode() override;
    HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** surface, void* outer) override;
    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, void* outer) override;
    HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) override;
    HRESULT FlipToGDISurface() override;

    void AddRef() { ++refs; }

    DisplayDriver* driver;
    int index;            // entry of the driver's device list
    int refs = 1;
    HWND window = nullptr;
    bool exclusive = false;
    bool modeSet = false;
    int modeWidth = 0;
    int modeHeight = 0;
    PixelLayout layout;   // of new surfaces: the desktop's, or the full-screen mode's

private:
    ~MemoryDevice() override;
};

// Every live surface, in creation order (the headless backend loses them all).
std::vector<MemorySurface*>& LiveSurfaces();
// The result a step returns instead of running, or DD_OK (asks the driver).
HRESULT StepResult(DisplayDriver* driver, DisplayStep step);
// Called when a device's count reaches 0 (the headless backend records it).
using DeviceReleasedHook = void (*)(int index);
void SetDeviceReleasedHook(DeviceReleasedHook hook);

// * * * Row kernels * * *
// Fast versions (memcpy, loops the compiler vectorises) and plain per-pixel
// reference twins. OV_FORCE_REFERENCE makes the blits use the reference ones.

void CopyRowFast(std::uint8_t* dest, const std::uint8_t* src, int pixels, int bytesPerPixel);
void CopyRowReference(std::uint8_t* dest, const std::uint8_t* src, int pixels, int bytesPerPixel);
void KeyedRowFast(std::uint8_t* dest, const std::uint8_t* src, int pixels, int bytesPerPixel, std::uint32_t key);
void KeyedRowReference(std::uint8_t* dest, const std::uint8_t* src, int pixels, int bytesPerPixel,
                       std::uint32_t key);
void FillRowFast(std::uint8_t* dest, int pixels, int bytesPerPixel, std::uint32_t value);
void FillRowReference(std::uint8_t* dest, int pixels, int bytesPerPixel, std::uint32_t value);

}  // namespace ovPlatform::detail
