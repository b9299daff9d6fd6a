// draw/effects/blit.cpp - the clipped copies of an object rectangle to the
// back buffer or to another object, and the grab of a back-buffer rectangle.
//
// A copy clips its source rectangle against the clip rectangle once, in
// integers, then makes one BltFast: this is the engine's hot path, and it
// allocates nothing. A lost surface hands over to RestoreAll, and the copy is
// given up for this call (the next frame draws again).
//
// LIMITATIONS: the object-to-object copies clip against the clip rectangle,
// not against the destination object's size (the device clips to the surface).
// A missing surface (no display yet, or a free slot) draws nothing.
// DEPENDENCIES: draw/objects.h (surfaces), platform/ddraw.h, RestoreAll.

#include "draw/draw.h"
#include "draw/effects/effects_internal.h"

namespace ovDraw {

namespace {

void CopyTo(IDirectDrawSurface* destination, int x, int y, int object, int left, int top, int right, int bottom,
            DWORD transfer)
{
    IDirectDrawSurface* source = Objects[object].surface;
    if (destination == nullptr || source == nullptr) return;
    if (!detail::ClipCopy(x, y, left, top, right, bottom)) return;
    RECT rect{left, top, right, bottom};
    const HRESULT hr = destination->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), source, &rect,
                                            transfer | DDBLTFAST_WAIT);
    if (hr == DDERR_SURFACELOST) RestoreAll();
}

}  // namespace

void Put(int x, int y, int object, int left, int top, int right, int bottom)
{
    CopyTo(BackBuffer, x, y, object, left, top, right, bottom, DDBLTFAST_SRCCOLORKEY);
}

void PutSolid(int x, int y, int object, int left, int top, int right, int bottom)
{
    CopyTo(BackBuffer, x, y, object, left, top, right, bottom, DDBLTFAST_NOCOLORKEY);
}

void PutObject(int destination, int x, int y, int object, int left, int top, int right, int bottom)
{
    CopyTo(Objects[destination].surface, x, y, object, left, top, right, bottom, DDBLTFAST_SRCCOLORKEY);
}

void PutObjectSolid(int destination, int x, int y, int object, int left, int top, int right, int bottom)
{
    CopyTo(Objects[destination].surface, x, y, object, left, top, right, bottom, DDBLTFAST_NOCOLORKEY);
}

void GrabScreen(int object, int left, int top, int right, int bottom)
{
    IDirectDrawSurface* destination = Objects[object].surface;
    if (destination == nullptr || BackBuffer == nullptr) return;
    RECT rect{left, top, right, bottom};
    const HRESULT hr = destination->BltFast(0, 0, BackBuffer, &rect, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT);
    if (hr == DDERR_SURFACELOST) RestoreAll();
}

}  // namespace ovDraw
