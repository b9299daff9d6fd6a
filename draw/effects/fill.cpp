// draw/effects/fill.cpp - colour fills of the back buffer and of objects.
//
// Each fill is one colour-fill Blt with a raw pixel value; the fills are not
// clipped to the clip rectangle (the device clips them to the surface) and
// return the device's result as it is, lost surface included.
//
// LIMITATIONS: without a surface (no display yet, a free slot) a fill does
// nothing and returns DDERR_INVALIDOBJECT.
// DEPENDENCIES: draw/objects.h (BackBuffer, Objects, PixelFormat), platform/ddraw.h.

#include "draw/draw.h"

namespace ovDraw {

namespace {

HRESULT Fill(IDirectDrawSurface* surface, RECT rect, DWORD value)
{
    if (surface == nullptr) return DDERR_INVALIDOBJECT;
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = value;
    return surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

}  // namespace

HRESULT Clear()
{
    return Fill(BackBuffer, RECT{0, 0, DisplayWidth, DisplayHeight}, 0);
}

HRESULT ClearObject(int object)
{
    const ObjectSlot& slot = Objects[object];
    return Fill(slot.surface, RECT{0, 0, slot.width, slot.height}, 0);
}

HRESULT ClearRect(int left, int top, int right, int bottom)
{
    return Fill(BackBuffer, RECT{left, top, right, bottom}, 0);
}

HRESULT FrameRect(int left, int top, int right, int bottom)
{
    Fill(BackBuffer, RECT{left, top, right, top + 1}, 0);
    Fill(BackBuffer, RECT{left, bottom - 1, right, bottom}, 0);
    Fill(BackBuffer, RECT{left, top, left + 1, bottom}, 0);
    return Fill(BackBuffer, RECT{right - 1, top, right, bottom}, 0);
}

HRESULT White()
{
    return Fill(BackBuffer, RECT{0, 0, DisplayWidth, DisplayHeight}, PixelFormat.whiteMask);
}

HRESULT WhiteRect(int left, int top, int right, int bottom)
{
    return Fill(BackBuffer, RECT{left, top, right, bottom}, PixelFormat.whiteMask);
}

HRESULT FillRect(int left, int top, int right, int bottom, int pixel)
{
    return Fill(BackBuffer, RECT{left, top, right, bottom}, static_cast<DWORD>(pixel) & 0xFFFF);
}

}  // namespace ovDraw
