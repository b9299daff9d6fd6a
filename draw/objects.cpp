// draw/objects.cpp - the graphic object table: loading BMP images into
// surfaces, blank objects, reloading, release, colour keys, and bringing
// every surface back after the device reports a lost one.
//
// A slot is claimed by writing its name and stays claimed after a failed
// load (name set, no surface): it is not handed out again, ReleaseObject
// leaves it alone and RestoreAll skips it.
//
// LIMITATIONS: object numbers are not checked against the table; callers
// pass 0..1023 and a slot with a surface where one is needed.
// DEPENDENCIES: platform/ddraw.h, platform/gdi.h; ovSystem (Error, BasePath,
// InstanceHandle); the graphics pack's reload (SwapPackHook) for pack objects.

#include "draw/draw.h"
#include "draw/objects.h"
#include "draw/texts.h"
#include "system/sjis_text.h"
#include "system/system.h"

#include <cstring>

namespace ovDraw {

ObjectSlot Objects[ov::MAX_OBJECTS] = {};
COLORREF DefaultKeyColor = 0;
int CornerKeyMode = 0;

namespace detail {

int (*SwapPackHook)(const char* name, int object, int placement) = nullptr;

}  // namespace detail

namespace {

constexpr COLORREF kCornerKey = 0xFFFFFFFFu;  // -1: the object's top-left pixel

// Applies the default colour key to a new object's surface and records it.
void ApplyDefaultKey(ObjectSlot& slot)
{
    if (CornerKeyMode) {
        detail::SetSurfaceKey(slot.surface, kCornerKey);
        slot.colorKey = -1;
    } else {
        detail::SetSurfaceKey(slot.surface, DefaultKeyColor);
        slot.colorKey = static_cast<std::int32_t>(DefaultKeyColor);
    }
}

// The surface of a bitmap's size with the placement's caps.
HRESULT CreateBitmapSurface(int width, int height, int placement, IDirectDrawSurface** surface)
{
    *surface = nullptr;
    if (!DirectDraw) return E_FAIL;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = detail::PlacementCaps(placement);
    HRESULT hr = DirectDraw->CreateSurface(&desc, surface, nullptr);
    if (FAILED(hr)) *surface = nullptr;
    return hr;
}

// Steps 3 to 5 of a load into a claimed slot: the file under the base path,
// else a resource of the bare name. 1, or 0 after an error box.
int LoadIntoSlot(const char* context, int object, const char* name, int placement)
{
    ObjectSlot& slot = Objects[object];
    char path[ov::TEXT_BUFFER];
    ov::CopyText(path, sizeof(path), ovSystem::BasePath(0));
    ov::AppendText(path, sizeof(path), name);
    slot.surface = detail::LoadBitmapSurface(path, placement, &slot.width, &slot.height);
    if (slot.surface) {
        ApplyDefaultKey(slot);
        return 1;
    }
    HRESULT hr = E_FAIL;
    HBITMAP bitmap = LoadImageA(ovSystem::InstanceHandle, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (bitmap) {
        BITMAP info{};
        GetObject(bitmap, sizeof(info), &info);
        slot.width = static_cast<std::uint16_t>(info.bmWidth);
        slot.height = static_cast<std::uint16_t>(info.bmHeight);
        hr = CreateBitmapSurface(info.bmWidth, info.bmHeight, placement, &slot.surface);
        if (SUCCEEDED(hr)) hr = detail::CopyBitmapToSurface(slot.surface, bitmap, 0, 0, 0, 0);
        if (SUCCEEDED(hr)) ApplyDefaultKey(slot);
        DeleteObject(bitmap);
        if (SUCCEEDED(hr)) return 1;
        if (slot.surface) {
            slot.surface->Release();
            slot.surface = nullptr;
        }
    }
    return ovSystem::Error(context, texts::kBmpUnreadable, hr);
}

int FirstFreeSlot()
{
    for (int i = ov::FIRST_USER_OBJECT; i < ov::MAX_OBJECTS; ++i)
        if (Objects[i].name[0] == '\0') return i;
    return 0;
}

void Claim(ObjectSlot& slot, const char* name)
{
    ov::CopyText(slot.name, sizeof(slot.name), name);
    slot.fromPack = 0;
    slot.placement = 2;
}

}  // namespace

int LoadObject(const char* name, int placement)
{
    constexpr const char* kContext = "ovDraw::LoadObject";
    if (std::strlen(name) > MAX_OBJECT_NAME) return ovSystem::Error(kContext, texts::kNameTooLong, 0);
    const int object = FirstFreeSlot();
    if (!object) return ovSystem::Error(kContext, texts::kTooManyObjects, 0);
    Claim(Objects[object], name);
    return LoadIntoSlot(kContext, object, name, placement) ? object : 0;
}

int CreateObject(int width, int height, int placement)
{
    constexpr const char* kContext = "ovDraw::CreateObject";
    const int object = FirstFreeSlot();
    if (!object) return ovSystem::Error(kContext, texts::kTooManyObjects, 0);
    ObjectSlot& slot = Objects[object];
    Claim(slot, texts::kBlankName);
    slot.width = static_cast<std::uint16_t>(width);
    slot.height = static_cast<std::uint16_t>(height);
    HRESULT hr = CreateBitmapSurface(width, height, placement, &slot.surface);
    if (FAILED(hr)) return ovSystem::Error(kContext, texts::kCannotCreateObject, hr);
    ApplyDefaultKey(slot);
    return object;
}

int SwapObject(const char* name, int object, int placement)
{
    constexpr const char* kContext = "ovDraw::SwapObject";
    if (std::strlen(name) > MAX_OBJECT_NAME) return ovSystem::Error(kContext, texts::kNameTooLong, 0);
    ObjectSlot& slot = Objects[object];
    if (slot.surface) {
        slot.surface->Release();
        slot.surface = nullptr;
    }
    // The name may be the slot's own (a reload): copy it out first.
    char copy[sizeof(slot.name)];
    ov::CopyText(copy, sizeof(copy), name);
    Claim(slot, copy);
    return LoadIntoSlot(kContext, object, copy, placement);
}

void ReleaseObject(int object)
{
    ObjectSlot& slot = Objects[object];
    if (!slot.surface) return;
    slot.surface->Release();
    slot.surface = nullptr;
    slot.name[0] = '\0';
    slot.colorKey = 0;
    slot.width = 0;
    slot.height = 0;
}

void SetDefaultKey(COLORREF colour)
{
    DefaultKeyColor = colour;
    CornerKeyMode = 0;
}

void SetDefaultCornerKey() { CornerKeyMode = 1; }

HRESULT SetKey(int object, COLORREF colour)
{
    Objects[object].colorKey = static_cast<std::int32_t>(colour);
    return detail::SetSurfaceKey(Objects[object].surface, colour);
}

HRESULT SetCornerKey(int object)
{
    Objects[object].colorKey = -1;
    return detail::SetSurfaceKey(Objects[object].surface, kCornerKey);
}

HRESULT CopyKey(int destination, int source)
{
    DDCOLORKEY key{};
    Objects[source].surface->GetColorKey(DDCKEY_SRCBLT, &key);
    return Objects[destination].surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

void RestoreAll()
{
    if (PrimarySurface) PrimarySurface->Restore();
    IDirectDrawSurface* fixed[5] = {BackBuffer, Objects[0].surface, Objects[1].surface, Objects[2].surface,
                                    Objects[3].surface};
    for (IDirectDrawSurface* surface : fixed)
        if (surface && surface->IsLost() == DDERR_SURFACELOST) surface->Restore();
    for (int i = ov::FIRST_USER_OBJECT; i < ov::MAX_OBJECTS; ++i) {
        ObjectSlot& slot = Objects[i];
        if (slot.name[0] == '\0' || !slot.surface || slot.surface->IsLost() != DDERR_SURFACELOST) continue;
        slot.surface->Restore();
        if (std::strcmp(slot.name, texts::kBlankName) == 0) continue;
        SetDefaultKey(static_cast<COLORREF>(slot.colorKey));
        if (slot.fromPack == 1) {
            if (detail::SwapPackHook) detail::SwapPackHook(slot.name, i, slot.placement);
        } else {
            SwapObject(slot.name, i, slot.placement);
        }
    }
}

}  // namespace ovDraw

namespace ovDraw::detail {

DWORD PlacementCaps(int placement)
{
    return placement == 2 ? DDSCAPS_OFFSCREENPLAIN : (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
}

void ClearSlot(ObjectSlot& slot)
{
    slot.surface = nullptr;
    slot.name[0] = '\0';
    slot.fromPack = 0;
    slot.placement = 2;
    slot.colorKey = 0;
    slot.width = 0;
    slot.height = 0;
}

DWORD MatchSurfaceColor(IDirectDrawSurface* surface, COLORREF colour)
{
    HDC dc = nullptr;
    COLORREF remembered = 0;
    bool haveRemembered = false;
    if (colour != 0xFFFFFFFFu && SUCCEEDED(surface->GetDC(&dc))) {
        remembered = GetPixel(dc, 0, 0);
        haveRemembered = true;
        SetPixel(dc, 0, 0, colour);
        surface->ReleaseDC(dc);
    }
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    HRESULT hr;
    do {
        hr = surface->Lock(nullptr, &desc, 0, nullptr);
    } while (hr == DDERR_WASSTILLDRAWING);
    DWORD value = 0xFFFFFFFFu;
    if (SUCCEEDED(hr)) {
        std::memcpy(&value, desc.lpSurface, sizeof(value));
        const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
        if (bits < 32) value &= (1u << bits) - 1u;
        surface->Unlock(nullptr);
    }
    if (haveRemembered && SUCCEEDED(surface->GetDC(&dc))) {
        SetPixel(dc, 0, 0, remembered);
        surface->ReleaseDC(dc);
    }
    return value;
}

HRESULT SetSurfaceKey(IDirectDrawSurface* surface, COLORREF colour)
{
    DDCOLORKEY key{};
    key.dwColorSpaceLowValue = key.dwColorSpaceHighValue = MatchSurfaceColor(surface, colour);
    return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int dx, int dy)
{
    if (!surface || !bitmap) return E_FAIL;
    surface->Restore();
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, bitmap);
    BITMAP info{};
    GetObject(bitmap, sizeof(info), &info);
    if (dx == 0) dx = info.bmWidth;
    if (dy == 0) dy = info.bmHeight;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    surface->GetSurfaceDesc(&desc);
    HDC dc = nullptr;
    HRESULT hr = surface->GetDC(&dc);
    if (SUCCEEDED(hr)) {
        StretchBlt(dc, 0, 0, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight), memory, x, y, dx, dy,
                   SRCCOPY);
        surface->ReleaseDC(dc);
    }
    DeleteDC(memory);
    return hr;
}

IDirectDrawSurface* LoadBitmapSurface(const char* path, int placement, std::uint16_t* width, std::uint16_t* height)
{
    HBITMAP bitmap = LoadImageA(ovSystem::InstanceHandle, path, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!bitmap) bitmap = LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!bitmap) return nullptr;
    BITMAP info{};
    GetObject(bitmap, sizeof(info), &info);
    *width = static_cast<std::uint16_t>(info.bmWidth);
    *height = static_cast<std::uint16_t>(info.bmHeight);
    IDirectDrawSurface* surface = nullptr;
    if (FAILED(CreateBitmapSurface(info.bmWidth, info.bmHeight, placement, &surface))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    DeleteObject(bitmap);
    return surface;
}

}  // namespace ovDraw::detail
