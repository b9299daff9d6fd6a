// draw/effects/kernels.h - the row kernels of the copies, fills and line
// effects on 16-bit pixels.
//
// Every kernel works on one row (or a rectangle of rows a pitch apart) of
// uint16_t pixels that the caller has already clipped; nothing here checks a
// bound or calls through a pointer per pixel. Each kernel exists twice:
// ovDraw::fast holds the vectorised versions, ovDraw::reference the plain
// per-pixel twins they are tested against. ovDraw::kernels names the set the
// engine draws with: the fast one, or the reference one when the build sets
// OV_FORCE_REFERENCE.
//
// Pitches are in pixels (a surface's byte pitch halved). Source and
// destination rows must not overlap unless a kernel says otherwise.
#pragma once

#include <cstdint>

namespace ovDraw::fast {

// dst[i] = src[i] for i in [0, count).
void CopyRow16(std::uint16_t* dst, const std::uint16_t* src, int count);
// dst[i] = src[i] unless src[i] == key (a transparent pixel leaves dst as it was).
void CopyKeyRow16(std::uint16_t* dst, const std::uint16_t* src, int count, std::uint16_t key);
// dst[i] = srcLast[-i] unless that pixel == key: the row mirrored left-right.
void CopyKeyReverseRow16(std::uint16_t* dst, const std::uint16_t* srcLast, int count, std::uint16_t key);
// dst[i] = value for i in [0, count).
void FillRow16(std::uint16_t* dst, int count, std::uint16_t value);
// dst[i] = ((dst[i] >> 1) & halfMask) + colourHalf: a 50% mix with a colour
// whose halved value ((colour >> 1) & halfMask) is colourHalf.
void HalfRow16(std::uint16_t* dst, int count, std::uint16_t colourHalf, std::uint16_t halfMask);

// The same over height rows, dstPitch and srcPitch pixels apart.
void CopyRect16(std::uint16_t* dst, int dstPitch, const std::uint16_t* src, int srcPitch, int width, int height);
void CopyKeyRect16(std::uint16_t* dst, int dstPitch, const std::uint16_t* src, int srcPitch, int width, int height,
                   std::uint16_t key);
void FillRect16(std::uint16_t* dst, int dstPitch, int width, int height, std::uint16_t value);
void HalfRect16(std::uint16_t* dst, int dstPitch, int width, int height, std::uint16_t colourHalf,
                std::uint16_t halfMask);

}  // namespace ovDraw::fast

namespace ovDraw::fast::detail {
// Tests: run the 8-pixel SSE2 paths even where AVX2 is available (x86 only).
void UseSse2Only(bool on);
}  // namespace ovDraw::fast::detail

// The plain per-pixel twins, same contracts.
namespace ovDraw::reference {

// dst[i] = src[i] for i in [0, count).
void CopyRow16(std::uint16_t* dst, const std::uint16_t* src, int count);
// dst[i] = src[i] unless src[i] == key (a transparent pixel leaves dst as it was).
void CopyKeyRow16(std::uint16_t* dst, const std::uint16_t* src, int count, std::uint16_t key);
// dst[i] = srcLast[-i] unless that pixel == key: the row mirrored left-right.
void CopyKeyReverseRow16(std::uint16_t* dst, const std::uint16_t* srcLast, int count, std::uint16_t key);
// dst[i] = value for i in [0, count).
void FillRow16(std::uint16_t* dst, int count, std::uint16_t value);
// dst[i] = ((dst[i] >> 1) & halfMask) + colourHalf: a 50% mix with a colour
// whose halved value ((colour >> 1) & halfMask) is colourHalf.
void HalfRow16(std::uint16_t* dst, int count, std::uint16_t colourHalf, std::uint16_t halfMask);

// The same over height rows, dstPitch and srcPitch pixels apart.
void CopyRect16(std::uint16_t* dst, int dstPitch, const std::uint16_t* src, int srcPitch, int width, int height);
void CopyKeyRect16(std::uint16_t* dst, int dstPitch, const std::uint16_t* src, int srcPitch, int width, int height,
                   std::uint16_t key);
void FillRect16(std::uint16_t* dst, int dstPitch, int width, int height, std::uint16_t value);
void HalfRect16(std::uint16_t* dst, int dstPitch, int width, int height, std::uint16_t colourHalf,
                std::uint16_t halfMask);

}  // namespace ovDraw::reference

namespace ovDraw {
#ifdef OV_FORCE_REFERENCE
namespace kernels = reference;
#else
namespace kernels = fast;
#endif
}  // namespace ovDraw
