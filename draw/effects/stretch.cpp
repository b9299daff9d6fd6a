// draw/effects/stretch.cpp - scaled copies of an object rectangle.
//
// When the device can stretch in a blit (StretchCapable), one Blt scales the
// rectangle straight onto the back buffer: not clipped to the clip rectangle,
// keyed on the object's own colour key. Otherwise GDI scales it into the
// display-sized Buffer object (internal object 0) and a Put copies that to
// the back buffer: clipped, keyed on Buffer's key (black), and no larger than
// the display.
//
// LIMITATIONS: in the GDI path a width or height above the display's size is
// cut to what Buffer holds.
// DEPENDENCIES: draw/objects.h, platform/ddraw.h, platform/gdi.h, Put/PutSolid, RestoreAll.

#include "draw/draw.h"

namespace ovDraw {

namespace {

void StretchTo(int x, int y, int object, int left, int top, int right, int bottom, int width, int height, bool keyed)
{
    IDirectDrawSurface* source = Objects[object].surface;
    if (source == nullptr || BackBuffer == nullptr) return;

    if (StretchCapable) {
        RECT destination{x, y, x + width, y + height};
        RECT rect{left, top, right, bottom};
        const HRESULT hr = BackBuffer->Blt(&destination, source, &rect, (keyed ? DDBLT_KEYSRC : 0) | DDBLT_WAIT, nullptr);
        if (hr == DDERR_SURFACELOST) RestoreAll();
        return;
    }

    IDirectDrawSurface* buffer = Objects[OBJECT_BUFFER].surface;
    if (buffer == nullptr) return;
    HDC bufferDc = nullptr;
    if (buffer->GetDC(&bufferDc) != DD_OK) return;
    HDC sourceDc = nullptr;
    if (source->GetDC(&sourceDc) != DD_OK) {
        buffer->ReleaseDC(bufferDc);
        return;
    }
    StretchBlt(bufferDc, 0, 0, width, height, sourceDc, left, top, right - left, bottom - top, SRCCOPY);
    source->ReleaseDC(sourceDc);
    buffer->ReleaseDC(bufferDc);
    if (keyed) Put(x, y, OBJECT_BUFFER, 0, 0, width, height);
    else PutSolid(x, y, OBJECT_BUFFER, 0, 0, width, height);
}

}  // namespace

void Stretch(int x, int y, int object, int left, int top, int right, int bottom, int width, int height)
{
    StretchTo(x, y, object, left, top, right, bottom, width, height, true);
}

void StretchSolid(int x, int y, int object, int left, int top, int right, int bottom, int width, int height)
{
    StretchTo(x, y, object, left, top, right, bottom, width, height, false);
}

}  // namespace ovDraw
