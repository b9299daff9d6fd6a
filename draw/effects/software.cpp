// draw/effects/software.cpp - the software routines of the everyday calls:
// the 50% mix of a rectangle with a colour, and the mirrored copy.
//
// Both clip against the clip rectangle, lock each surface once (the source
// before the back buffer, unlocked in the same order), walk rows by the
// lock's pitch and hand each row to a kernel of draw/effects/kernels.h.
// A lock that fails makes the call return 0 without a message.
//
// LIMITATIONS: 16-bit surfaces only; on a surface of another depth nothing is
// drawn and the call returns 0. Besides the clip rectangle, both routines stay
// inside the locked surfaces (a clip rectangle larger than the display, or a
// source rectangle outside its object, draws only what lies inside).
// DEPENDENCIES: draw/objects.h (BackBuffer, Objects, PixelFormat), draw/effects/kernels.h.

#include "draw/draw.h"
#include "draw/effects/kernels.h"

#include <algorithm>
#include <cstdint>

namespace ovDraw {

namespace {

// Locks the whole surface; false when the lock fails.
bool LockSurface(IDirectDrawSurface* surface, DDSURFACEDESC& desc)
{
    desc = DDSURFACEDESC{};
    desc.dwSize = sizeof(desc);
    return surface != nullptr && surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK;
}

bool Is16Bit(const DDSURFACEDESC& desc)
{
    return desc.ddpfPixelFormat.dwRGBBitCount == 16;
}

std::uint16_t* Row(const DDSURFACEDESC& desc, int y)
{
    return reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(desc.lpSurface) +
                                            static_cast<std::ptrdiff_t>(y) * desc.lPitch);
}

}  // namespace

int HalfRect(int left, int top, int right, int bottom, int pixel)
{
    right = std::min<int>(right, Clip.right);
    bottom = std::min<int>(bottom, Clip.bottom);
    left = std::max<int>(left, Clip.left);
    top = std::max<int>(top, Clip.top);
    if (right < left || bottom < top) return 1;

    DDSURFACEDESC desc;
    if (!LockSurface(BackBuffer, desc)) return 0;
    if (!Is16Bit(desc)) {
        BackBuffer->Unlock(nullptr);
        return 0;
    }
    right = std::min(right, static_cast<int>(desc.dwWidth));
    bottom = std::min(bottom, static_cast<int>(desc.dwHeight));
    left = std::max(left, 0);
    top = std::max(top, 0);
    const auto halfMask = static_cast<std::uint16_t>(PixelFormat.halfMask);
    const auto colourHalf = static_cast<std::uint16_t>((static_cast<unsigned>(pixel) >> 1) & halfMask);
    if (right > left && bottom > top) {
        kernels::HalfRect16(Row(desc, top) + left, static_cast<int>(desc.lPitch / 2), right - left, bottom - top,
                            colourHalf, halfMask);
    }
    BackBuffer->Unlock(nullptr);
    return 1;
}

int PutMirror(int x, int y, int mode, int object, int left, int top, int right, int bottom)
{
    const int w = right - left;
    const int h = bottom - top;
    // The destination rectangle clipped, as offsets (u, v) into the unclipped W x H image.
    int u0 = std::max(Clip.left - x, 0);
    int v0 = std::max(Clip.top - y, 0);
    int u1 = std::min(w, Clip.right - x);
    int v1 = std::min(h, Clip.bottom - y);
    if (u1 - u0 < 0 || v1 - v0 < 0) return 1;

    IDirectDrawSurface* source = Objects[object].surface;
    DDSURFACEDESC src;
    if (!LockSurface(source, src)) return 0;
    DDSURFACEDESC dst;
    if (!LockSurface(BackBuffer, dst)) {
        source->Unlock(nullptr);
        return 0;
    }
    int result = 0;
    if (Is16Bit(src) && Is16Bit(dst)) {
        result = 1;
        const bool flipX = (mode & 1) != 0;
        const bool flipY = (mode & 2) != 0;
        const int srcW = static_cast<int>(src.dwWidth);
        const int srcH = static_cast<int>(src.dwHeight);
        // Stay inside the back buffer ...
        u0 = std::max(u0, -x);
        v0 = std::max(v0, -y);
        u1 = std::min(u1, static_cast<int>(dst.dwWidth) - x);
        v1 = std::min(v1, static_cast<int>(dst.dwHeight) - y);
        // ... and read only pixels of the object.
        if (flipX) {
            u0 = std::max(u0, right - srcW);
            u1 = std::min(u1, right);
        } else {
            u0 = std::max(u0, -left);
            u1 = std::min(u1, srcW - left);
        }
        if (flipY) {
            v0 = std::max(v0, bottom - srcH);
            v1 = std::min(v1, bottom);
        } else {
            v0 = std::max(v0, -top);
            v1 = std::min(v1, srcH - top);
        }
        const int count = u1 - u0;
        for (int v = v0; count > 0 && v < v1; ++v) {
            std::uint16_t* out = Row(dst, y + v) + x + u0;
            const std::uint16_t* in = Row(src, flipY ? bottom - 1 - v : top + v);
            if (flipX) kernels::CopyKeyReverseRow16(out, in + (right - 1 - u0), count, 0);
            else kernels::CopyKeyRow16(out, in + left + u0, count, 0);
        }
    }
    source->Unlock(nullptr);
    BackBuffer->Unlock(nullptr);
    return result;
}

}  // namespace ovDraw
