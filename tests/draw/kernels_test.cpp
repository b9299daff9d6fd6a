// The fast row kernels give exactly what their plain per-pixel twins give, on
// random rows of odd widths starting at odd offsets, through both the AVX2
// and the SSE2 paths.

#include "draw/effects/kernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using Row = std::vector<std::uint16_t>;

constexpr int kWidths[] = {0, 1, 3, 7, 8, 9, 15, 16, 17, 31, 33, 63, 100, 181, 641};
constexpr int kOffsets[] = {0, 1, 3, 7};
constexpr std::uint16_t kKey = 0xF81F;

// Pixels drawn mostly from a few values so that runs of the key, and rows
// that are all key or all opaque, come up often.
Row RandomRow(std::mt19937& rng, int size)
{
    static const std::uint16_t palette[] = {kKey, kKey, 0x0000, 0xFFFF, 0x1234};
    Row row(static_cast<std::size_t>(size));
    std::uniform_int_distribution<int> pick(0, 7);
    std::uniform_int_distribution<int> any(0, 0xFFFF);
    for (auto& p : row) {
        const int n = pick(rng);
        p = static_cast<std::uint16_t>(n < 5 ? palette[n] : any(rng));
    }
    return row;
}

class KernelsTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { ovDraw::fast::detail::UseSse2Only(GetParam()); }
    void TearDown() override { ovDraw::fast::detail::UseSse2Only(false); }
    std::mt19937 rng{1234};
};

TEST_P(KernelsTest, RowKernelsMatchReference)
{
    for (int width : kWidths) {
        for (int off : kOffsets) {
            SCOPED_TRACE(testing::Message() << "width " << width << " offset " << off);
            const int size = width + 16;
            Row src = RandomRow(rng, size);
            const Row dst0 = RandomRow(rng, size);

            Row a = dst0, b = dst0;
            ovDraw::fast::CopyRow16(a.data() + off, src.data() + 3, width);
            ovDraw::reference::CopyRow16(b.data() + off, src.data() + 3, width);
            EXPECT_EQ(a, b) << "CopyRow16";

            a = dst0, b = dst0;
            ovDraw::fast::CopyKeyRow16(a.data() + off, src.data() + 5 - off % 2, width, kKey);
            ovDraw::reference::CopyKeyRow16(b.data() + off, src.data() + 5 - off % 2, width, kKey);
            EXPECT_EQ(a, b) << "CopyKeyRow16";

            a = dst0, b = dst0;
            ovDraw::fast::CopyKeyReverseRow16(a.data() + off, src.data() + width + 2, width, 0);
            ovDraw::reference::CopyKeyReverseRow16(b.data() + off, src.data() + width + 2, width, 0);
            EXPECT_EQ(a, b) << "CopyKeyReverseRow16";

            for (std::uint16_t value : {std::uint16_t{0}, std::uint16_t{0xFFFF}, std::uint16_t{0x07E0}}) {
                a = dst0, b = dst0;
                ovDraw::fast::FillRow16(a.data() + off, width, value);
                ovDraw::reference::FillRow16(b.data() + off, width, value);
                EXPECT_EQ(a, b) << "FillRow16 " << value;
            }

            for (std::uint16_t half : {std::uint16_t{0x7BEF}, std::uint16_t{0x3DEF}}) {
                a = dst0, b = dst0;
                const auto c = static_cast<std::uint16_t>((0xFFFF >> 1) & half);
                ovDraw::fast::HalfRow16(a.data() + off, width, c, half);
                ovDraw::reference::HalfRow16(b.data() + off, width, c, half);
                EXPECT_EQ(a, b) << "HalfRow16 " << half;
            }
        }
    }
}

TEST_P(KernelsTest, RectKernelsMatchReferenceAndKeepOutsideThePitch)
{
    // A 37 x 5 rectangle inside rows of 45 pixels: the 8 pixels past each row
    // must stay as they were.
    const int w = 37, h = 5, pitch = 45;
    Row src = RandomRow(rng, pitch * h);
    const Row dst0 = RandomRow(rng, pitch * h);

    Row a = dst0, b = dst0;
    ovDraw::fast::CopyKeyRect16(a.data() + 1, pitch, src.data() + 2, pitch, w, h, kKey);
    ovDraw::reference::CopyKeyRect16(b.data() + 1, pitch, src.data() + 2, pitch, w, h, kKey);
    EXPECT_EQ(a, b);

    a = dst0, b = dst0;
    ovDraw::fast::CopyRect16(a.data() + 1, pitch, src.data(), pitch, w, h);
    ovDraw::reference::CopyRect16(b.data() + 1, pitch, src.data(), pitch, w, h);
    EXPECT_EQ(a, b);

    a = dst0, b = dst0;
    ovDraw::fast::FillRect16(a.data() + 1, pitch, w, h, 0x1234);
    ovDraw::reference::FillRect16(b.data() + 1, pitch, w, h, 0x1234);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a[0], dst0[0]);
    EXPECT_EQ(a[1 + w], dst0[1 + w]);

    a = dst0, b = dst0;
    ovDraw::fast::HalfRect16(a.data() + 1, pitch, w, h, 0x3DEF, 0x7BEF);
    ovDraw::reference::HalfRect16(b.data() + 1, pitch, w, h, 0x3DEF, 0x7BEF);
    EXPECT_EQ(a, b);

    // Contiguous rows (width == pitch) take the one-block path.
    a = dst0, b = dst0;
    ovDraw::fast::CopyRect16(a.data(), pitch, src.data(), pitch, pitch, h);
    EXPECT_EQ(a, src);
    ovDraw::fast::FillRect16(b.data(), pitch, pitch, h, 0x00FF);
    EXPECT_EQ(b, Row(b.size(), 0x00FF));
}

TEST(Kernels, KeyedCopySkipsOnlyTheKeyAndMirrorReversesTheRow)
{
    const Row src = {1, 0, 3, 4, 0, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0, 18};
    Row dst(src.size(), 0xAAAA);
    ovDraw::fast::CopyKeyRow16(dst.data(), src.data(), static_cast<int>(src.size()), 0);
    EXPECT_EQ(dst[0], 1);
    EXPECT_EQ(dst[1], 0xAAAA);
    EXPECT_EQ(dst[4], 0xAAAA);
    EXPECT_EQ(dst[16], 0xAAAA);
    EXPECT_EQ(dst[17], 18);

    Row mirrored(src.size(), 0xAAAA);
    ovDraw::fast::CopyKeyReverseRow16(mirrored.data(), src.data() + src.size() - 1, static_cast<int>(src.size()), 0);
    EXPECT_EQ(mirrored[0], 18);
    EXPECT_EQ(mirrored[1], 0xAAAA);
    EXPECT_EQ(mirrored[2], 16);
    EXPECT_EQ(mirrored[17], 1);
}

INSTANTIATE_TEST_SUITE_P(Paths, KernelsTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Sse2" : "Best"; });

}  // namespace
