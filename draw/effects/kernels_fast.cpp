// draw/effects/kernels_fast.cpp - the vectorised row kernels of the copies,
// fills and the half mix on 16-bit pixels.
//
// On x86-64 the keyed copy, the mirrored keyed copy and the half mix run 16
// pixels at a time with AVX2 when the processor has it (chosen once, then a
// plain branch per rectangle or row), 8 at a time with SSE2 otherwise; the
// tail of a row runs pixel by pixel. Plain copies and fills are memcpy and a
// widened store loop, which the C library and the compiler already make as
// fast as the memory allows.
//
// LIMITATIONS: other processors get the scalar loops (the compiler may still
// vectorise them). Rows must not overlap.
// DEPENDENCIES: draw/effects/kernels.h; <immintrin.h> on x86-64.

#include "draw/effects/kernels.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define OV_KERNELS_X86 1
#endif

namespace ovDraw::fast {

namespace {

#ifdef OV_KERNELS_X86

bool sse2Only = false;  // tests set it to run the SSE2 paths on an AVX2 processor

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has && !sse2Only;
}

// ---- keyed copy ----------------------------------------------------------

__attribute__((target("avx2"))) void CopyKeyRowAvx2(std::uint16_t* dst, const std::uint16_t* src, int count,
                                                    std::uint16_t key)
{
    const __m256i k = _mm256_set1_epi16(static_cast<short>(key));
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i m = _mm256_cmpeq_epi16(s, k);
        const int bits = _mm256_movemask_epi8(m);
        if (bits == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), s);
        } else if (bits != -1) {
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(s, d, m));
        }
    }
    for (; i < count; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}

void CopyKeyRowSse2(std::uint16_t* dst, const std::uint16_t* src, int count, std::uint16_t key)
{
    const __m128i k = _mm_set1_epi16(static_cast<short>(key));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i m = _mm_cmpeq_epi16(s, k);
        const int bits = _mm_movemask_epi8(m);
        if (bits == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
        } else if (bits != 0xFFFF) {
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_and_si128(m, d), _mm_andnot_si128(m, s)));
        }
    }
    for (; i < count; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}

// ---- mirrored keyed copy ---------------------------------------------------

__attribute__((target("avx2"))) void CopyKeyReverseRowAvx2(std::uint16_t* dst, const std::uint16_t* srcLast,
                                                           int count, std::uint16_t key)
{
    const __m256i k = _mm256_set1_epi16(static_cast<short>(key));
    // Reverse the 16 words of a register: the words within each 128-bit lane,
    // then the two lanes.
    const __m256i reverseWords = _mm256_setr_epi8(14, 15, 12, 13, 10, 11, 8, 9, 6, 7, 4, 5, 2, 3, 0, 1,
                                                  14, 15, 12, 13, 10, 11, 8, 9, 6, 7, 4, 5, 2, 3, 0, 1);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        // Pixels srcLast[-i-15] .. srcLast[-i], reversed.
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(srcLast - i - 15));
        s = _mm256_shuffle_epi8(s, reverseWords);
        s = _mm256_permute2x128_si256(s, s, 0x01);
        const __m256i m = _mm256_cmpeq_epi16(s, k);
        const int bits = _mm256_movemask_epi8(m);
        if (bits == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), s);
        } else if (bits != -1) {
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(s, d, m));
        }
    }
    for (; i < count; ++i) {
        const std::uint16_t p = srcLast[-i];
        if (p != key) dst[i] = p;
    }
}

void CopyKeyReverseRowSse2(std::uint16_t* dst, const std::uint16_t* srcLast, int count, std::uint16_t key)
{
    const __m128i k = _mm_set1_epi16(static_cast<short>(key));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(srcLast - i - 7));
        // Reverse the eight words: swap the halves, then the pairs, then the words of each pair.
        s = _mm_shuffle_epi32(s, _MM_SHUFFLE(0, 1, 2, 3));
        s = _mm_shufflelo_epi16(s, _MM_SHUFFLE(2, 3, 0, 1));
        s = _mm_shufflehi_epi16(s, _MM_SHUFFLE(2, 3, 0, 1));
        const __m128i m = _mm_cmpeq_epi16(s, k);
        const int bits = _mm_movemask_epi8(m);
        if (bits == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
        } else if (bits != 0xFFFF) {
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_and_si128(m, d), _mm_andnot_si128(m, s)));
        }
    }
    for (; i < count; ++i) {
        const std::uint16_t p = srcLast[-i];
        if (p != key) dst[i] = p;
    }
}

// ---- half mix ----------------------------------------------------------------

__attribute__((target("avx2"))) void HalfRowAvx2(std::uint16_t* dst, int count, std::uint16_t colourHalf,
                                                 std::uint16_t halfMask)
{
    const __m256i c = _mm256_set1_epi16(static_cast<short>(colourHalf));
    const __m256i h = _mm256_set1_epi16(static_cast<short>(halfMask));
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        p = _mm256_add_epi16(_mm256_and_si256(_mm256_srli_epi16(p, 1), h), c);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), p);
    }
    for (; i < count; ++i) {
        dst[i] = static_cast<std::uint16_t>(((dst[i] >> 1) & halfMask) + colourHalf);
    }
}

void HalfRowSse2(std::uint16_t* dst, int count, std::uint16_t colourHalf, std::uint16_t halfMask)
{
    const __m128i c = _mm_set1_epi16(static_cast<short>(colourHalf));
    const __m128i h = _mm_set1_epi16(static_cast<short>(halfMask));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        p = _mm_add_epi16(_mm_and_si128(_mm_srli_epi16(p, 1), h), c);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), p);
    }
    for (; i < count; ++i) {
        dst[i] = static_cast<std::uint16_t>(((dst[i] >> 1) & halfMask) + colourHalf);
    }
}

#endif  // OV_KERNELS_X86

// Scalar versions for other processors.
[[maybe_unused]] void CopyKeyRowScalar(std::uint16_t* dst, const std::uint16_t* src, int count, std::uint16_t key)
{
    for (int i = 0; i < count; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}

[[maybe_unused]] void CopyKeyReverseRowScalar(std::uint16_t* dst, const std::uint16_t* srcLast, int count,
                                              std::uint16_t key)
{
    for (int i = 0; i < count; ++i) {
        if (srcLast[-i] != key) dst[i] = srcLast[-i];
    }
}

[[maybe_unused]] void HalfRowScalar(std::uint16_t* dst, int count, std::uint16_t colourHalf, std::uint16_t halfMask)
{
    for (int i = 0; i < count; ++i) {
        dst[i] = static_cast<std::uint16_t>(((dst[i] >> 1) & halfMask) + colourHalf);
    }
}

}  // namespace

void CopyRow16(std::uint16_t* dst, const std::uint16_t* src, int count)
{
    if (count > 0) std::memcpy(dst, src, static_cast<std::size_t>(count) * 2);
}

void CopyKeyRow16(std::uint16_t* dst, const std::uint16_t* src, int count, std::uint16_t key)
{
#ifdef OV_KERNELS_X86
    if (HasAvx2()) CopyKeyRowAvx2(dst, src, count, key);
    else CopyKeyRowSse2(dst, src, count, key);
#else
    CopyKeyRowScalar(dst, src, count, key);
#endif
}

void CopyKeyReverseRow16(std::uint16_t* dst, const std::uint16_t* srcLast, int count, std::uint16_t key)
{
#ifdef OV_KERNELS_X86
    if (HasAvx2()) CopyKeyReverseRowAvx2(dst, srcLast, count, key);
    else CopyKeyReverseRowSse2(dst, srcLast, count, key);
#else
    CopyKeyReverseRowScalar(dst, srcLast, count, key);
#endif
}

void FillRow16(std::uint16_t* dst, int count, std::uint16_t value)
{
    if (count <= 0) return;
    if ((value >> 8) == (value & 0xFF)) {
        std::memset(dst, value & 0xFF, static_cast<std::size_t>(count) * 2);
        return;
    }
    // Two pixels per 32-bit store once dst is aligned to 4 bytes; the
    // compiler widens this loop further.
    int i = 0;
    if ((reinterpret_cast<std::uintptr_t>(dst) & 2) != 0) dst[i++] = value;
    const std::uint32_t pair = value | (static_cast<std::uint32_t>(value) << 16);
    for (; i + 2 <= count; i += 2) {
        std::memcpy(dst + i, &pair, 4);
    }
    if (i < count) dst[i] = value;
}

void HalfRow16(std::uint16_t* dst, int count, std::uint16_t colourHalf, std::uint16_t halfMask)
{
#ifdef OV_KERNELS_X86
    if (HasAvx2()) HalfRowAvx2(dst, count, colourHalf, halfMask);
    else HalfRowSse2(dst, count, colourHalf, halfMask);
#else
    HalfRowScalar(dst, count, colourHalf, halfMask);
#endif
}

void CopyRect16(std::uint16_t* dst, int dstPitch, const std::uint16_t* src, int srcPitch, int width, int height)
{
    if (width <= 0) return;
    if (width == dstPitch && width == srcPitch) {
        CopyRow16(dst, src, width * height);
        return;
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(dst, src, static_cast<std::size_t>(width) * 2);
        dst += dstPitch;
        src += srcPitch;
    }
}

void CopyKeyRect16(std::uint16_t* dst, int dstPitch, const std::uint16_t* src, int srcPitch, int width, int height,
                   std::uint16_t key)
{
    if (width <= 0) return;
#ifdef OV_KERNELS_X86
    if (HasAvx2()) {
        for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) CopyKeyRowAvx2(dst, src, width, key);
    } else {
        for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) CopyKeyRowSse2(dst, src, width, key);
    }
#else
    for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) CopyKeyRowScalar(dst, src, width, key);
#endif
}

void FillRect16(std::uint16_t* dst, int dstPitch, int width, int height, std::uint16_t value)
{
    if (width <= 0) return;
    if (width == dstPitch) {
        FillRow16(dst, width * height, value);
        return;
    }
    for (int y = 0; y < height; ++y, dst += dstPitch) FillRow16(dst, width, value);
}

void HalfRect16(std::uint16_t* dst, int dstPitch, int width, int height, std::uint16_t colourHalf,
                std::uint16_t halfMask)
{
    if (width <= 0) return;
#ifdef OV_KERNELS_X86
    if (HasAvx2()) {
        for (int y = 0; y < height; ++y, dst += dstPitch) HalfRowAvx2(dst, width, colourHalf, halfMask);
    } else {
        for (int y = 0; y < height; ++y, dst += dstPitch) HalfRowSse2(dst, width, colourHalf, halfMask);
    }
#else
    for (int y = 0; y < height; ++y, dst += dstPitch) HalfRowScalar(dst, width, colourHalf, halfMask);
#endif
}

}  // namespace ovDraw::fast

namespace ovDraw::fast::detail {

void UseSse2Only(bool on)
{
#ifdef OV_KERNELS_X86
    sse2Only = on;
#else
    (void)on;
#endif
}

}  // namespace ovDraw::fast::detail
