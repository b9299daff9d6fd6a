// draw/effects/reference.cpp - the plain per-pixel twins of the row kernels.
//
// Written as plainly as possible: one pixel at a time, no tricks. The tests
// hold the fast kernels to these on random rows, and a build with
// OV_FORCE_REFERENCE draws with them instead.
//
// LIMITATIONS: slow by design.
// DEPENDENCIES: draw/effects/kernels.h.

#include "draw/effects/kernels.h"

namespace ovDraw::reference {

void CopyRow16(std::uint16_t* dst, const std::uint16_t* src, int count)
{
    for (int i = 0; i < count; ++i) dst[i] = src[i];
}

void CopyKeyRow16(std::uint16_t* dst, const std::uint16_t* src, int count, std::uint16_t key)
{
    for (int i = 0; i < count; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}

void CopyKeyReverseRow16(std::uint16_t* dst, const std::uint16_t* srcLast, int count, std::uint16_t key)
{
    for (int i = 0; i < count; ++i) {
        const std::uint16_t p = *(srcLast - i);
        if (p != key) dst[i] = p;
    }
}

void FillRow16(std::uint16_t* dst, int count, std::uint16_t value)
{
    for (int i = 0; i < count; ++i) dst[i] = value;
}

void HalfRow16(std::uint16_t* dst, int count, std::uint16_t colourHalf, std::uint16_t halfMask)
{
    for (int i = 0; i < count; ++i) {
        const unsigned p = dst[i];
        dst[i] = static_cast<std::uint16_t>(((p >> 1) & halfMask) + colourHalf);
    }
}

void CopyRect16(std::uint16_t* dst, int dstPitch, const std::uint16_t* src, int srcPitch, int width, int height)
{
    for (int y = 0; y < height; ++y) CopyRow16(dst + y * dstPitch, src + y * srcPitch, width);
}

void CopyKeyRect16(std::uint16_t* dst, int dstPitch, const std::uint16_t* src, int srcPitch, int width, int height,
                   std::uint16_t key)
{
    for (int y = 0; y < height; ++y) CopyKeyRow16(dst + y * dstPitch, src + y * srcPitch, width, key);
}

void FillRect16(std::uint16_t* dst, int dstPitch, int width, int height, std::uint16_t value)
{
    for (int y = 0; y < height; ++y) FillRow16(dst + y * dstPitch, width, value);
}

void HalfRect16(std::uint16_t* dst, int dstPitch, int width, int height, std::uint16_t colourHalf,
                std::uint16_t halfMask)
{
    for (int y = 0; y < height; ++y) HalfRow16(dst + y * dstPitch, width, colourHalf, halfMask);
}

}  // namespace ovDraw::reference
