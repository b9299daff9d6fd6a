// Copies, fills, the half mix, stretches and the mirror on a 180 x 360
// 5-6-5 display: clipping, keys, bands, lost surfaces and failed locks.

#include "tests/draw/draw_fixture.h"

#include <cstdint>

namespace {

using ovtest::DrawTest;
namespace hl = ovPlatform::headless;

constexpr std::uint16_t kMark = 0x1111;  // what the back buffer held before a call

// An object 100 wide, 10 tall whose pixel is its column + 1 (never the black key).
int Columns()
{
    return DrawTest::MakeObject(100, 10, [](int x, int) { return static_cast<std::uint16_t>(x + 1); });
}

TEST_F(DrawTest, PutClipsTheSourceToTheClipRectangle)
{
    const int object = Columns();
    struct Case {
        int x;
        int firstColumn;  // first destination column drawn, -1 none
        int drawn;        // columns drawn
        int firstSource;  // source column at the first drawn column
    };
    const Case cases[] = {
        {-10, 0, 90, 10},  // the source's left edge moves right by 10
        {150, 150, 30, 0}, // cut at clip right 180
        {40, 40, 100, 0},  // inside
        {180, -1, 0, 0},   // an empty remainder
        {181, -1, 0, 0},   // entirely right of the clip
        {-100, -1, 0, 0},  // entirely left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        Paint(kMark);
        ovDraw::Put(c.x, 5, object, 0, 0, 100, 10);
        const auto shot = Shot();
        int drawn = 0;
        for (int x = 0; x < 180; ++x) drawn += shot.At(x, 5) != kMark;
        EXPECT_EQ(drawn, c.drawn);
        if (c.firstColumn >= 0) {
            EXPECT_EQ(shot.At(c.firstColumn, 5), static_cast<std::uint32_t>(c.firstSource + 1));
            if (c.firstColumn > 0) {
                EXPECT_EQ(shot.At(c.firstColumn - 1, 5), kMark);
            }
        }
        EXPECT_EQ(shot.At(c.firstColumn < 0 ? 0 : c.firstColumn, 4), kMark);   // the row above
        EXPECT_EQ(shot.At(c.firstColumn < 0 ? 0 : c.firstColumn, 15), kMark);  // the row below
    }

    // A narrower clip cuts the same way at each edge; above the clip the rows move down.
    ovDraw::SetClip(20, 30, 60, 33);
    Paint(kMark);
    ovDraw::Put(10, 28, object, 0, 0, 100, 10);
    const auto shot = Shot();
    EXPECT_EQ(shot.At(19, 30), kMark);
    EXPECT_EQ(shot.At(20, 30), 11u);
    EXPECT_EQ(shot.At(59, 32), 50u);
    EXPECT_EQ(shot.At(60, 32), kMark);
    EXPECT_EQ(shot.At(30, 29), kMark);
    EXPECT_EQ(shot.At(30, 33), kMark);
}

TEST_F(DrawTest, PutSkipsTheKeyAndPutSolidDoesNot)
{
    const int object = MakeObject(4, 1, [](int x, int) { return static_cast<std::uint16_t>(x % 2 ? 0 : 0xF800); });
    Paint(kMark);
    ovDraw::Put(0, 0, object, 0, 0, 4, 1);
    ovDraw::PutSolid(0, 1, object, 0, 0, 4, 1);
    const auto shot = Shot();
    EXPECT_EQ(shot.At(0, 0), 0xF800u);
    EXPECT_EQ(shot.At(1, 0), kMark);
    EXPECT_EQ(shot.At(1, 1), 0u);
}

TEST_F(DrawTest, ObjectCopiesClipAndGrabCaptures)
{
    const int object = Columns();
    const int target = MakeObject(100, 10, [](int, int) { return kMark; });
    ovDraw::PutObjectSolid(target, -10, 0, object, 0, 0, 100, 10);
    auto image = hl::SurfaceImage(ovDraw::Objects[target].surface);
    EXPECT_EQ(image.At(0, 0), 11u);
    EXPECT_EQ(image.At(89, 0), 100u);
    EXPECT_EQ(image.At(90, 0), kMark);

    Paint(0x2222);
    ovDraw::FillRect(3, 4, 4, 5, 0x07E0);
    ovDraw::GrabScreen(target, 3, 4, 13, 14);
    image = hl::SurfaceImage(ovDraw::Objects[target].surface);
    EXPECT_EQ(image.At(0, 0), 0x07E0u);
    EXPECT_EQ(image.At(1, 0), 0x2222u);
}

TEST_F(DrawTest, FillsCoverTheirRectanglesAndFrameRectDrawsFourBands)
{
    ovDraw::White();
    EXPECT_EQ(ovDraw::FrameRect(10, 10, 20, 20), DD_OK);
    auto shot = Shot();
    for (int i = 10; i < 20; ++i) {
        EXPECT_EQ(shot.At(i, 10), 0u);  // (10, 10, 20, 11)
        EXPECT_EQ(shot.At(i, 19), 0u);  // (10, 19, 20, 20)
        EXPECT_EQ(shot.At(10, i), 0u);  // (10, 10, 11, 20)
        EXPECT_EQ(shot.At(19, i), 0u);  // (19, 10, 20, 20)
    }
    EXPECT_EQ(shot.At(11, 11), 0xFFFFu);
    EXPECT_EQ(shot.At(18, 18), 0xFFFFu);
    EXPECT_EQ(shot.At(9, 10), 0xFFFFu);
    EXPECT_EQ(shot.At(20, 19), 0xFFFFu);
    EXPECT_EQ(shot.At(10, 20), 0xFFFFu);

    // Fills ignore the clip rectangle; FillRect keeps the low 16 bits.
    ovDraw::SetClip(0, 0, 1, 1);
    EXPECT_EQ(ovDraw::FillRect(50, 60, 52, 61, 0x1F001F), DD_OK);
    EXPECT_EQ(ovDraw::WhiteRect(0, 100, 2, 101), DD_OK);
    ovDraw::ClearRect(0, 100, 1, 101);
    shot = Shot();
    EXPECT_EQ(shot.At(50, 60), 0x001Fu);
    EXPECT_EQ(shot.At(51, 60), 0x001Fu);
    EXPECT_EQ(shot.At(52, 60), 0xFFFFu);
    EXPECT_EQ(shot.At(0, 100), 0u);
    EXPECT_EQ(shot.At(1, 100), 0xFFFFu);

    EXPECT_EQ(ovDraw::Clear(), DD_OK);
    shot = Shot();
    EXPECT_EQ(shot.At(0, 0), 0u);
    EXPECT_EQ(shot.At(179, 359), 0u);

    const int object = Columns();
    EXPECT_EQ(ovDraw::ClearObject(object), DD_OK);
    EXPECT_EQ(hl::SurfaceImage(ovDraw::Objects[object].surface).At(99, 9), 0u);
}

TEST_F(DrawTest, HalfRectMixesHalfWithTheColourInsideTheClipOnly)
{
    ovDraw::White();
    ovDraw::SetClip(0, 0, 100, 100);
    EXPECT_EQ(ovDraw::HalfRect(90, 90, 120, 95, 0xFFFF), 1);
    auto shot = Shot();
    EXPECT_EQ(shot.At(90, 90), 0xF7DEu);  // white over white on 5-6-5
    EXPECT_EQ(shot.At(99, 94), 0xF7DEu);
    EXPECT_EQ(shot.At(100, 94), 0xFFFFu);
    EXPECT_EQ(shot.At(99, 95), 0xFFFFu);

    Paint(0xF800);
    EXPECT_EQ(ovDraw::HalfRect(0, 0, 1, 1, 0x001F), 1);
    EXPECT_EQ(At(0, 0), 0x7800u + 0x000Fu);  // half red + half blue

    // Outside the clip nothing is locked: with every lock failing it still returns 1.
    hl::FailDisplayStep(ovPlatform::DisplayStep::Lock);
    EXPECT_EQ(ovDraw::HalfRect(120, 0, 150, 10, 0xFFFF), 1);
    EXPECT_EQ(ovDraw::HalfRect(0, 0, 10, 10, 0xFFFF), 0);
    EXPECT_TRUE(hl::Boxes().empty());
}

TEST_F(DrawTest, PutMirrorTakesThePixelTheUnclippedImagePutsThere)
{
    // 4 x 2 source, pixel = 10 * row + column + 1.
    const int object =
        MakeObject(4, 2, [](int x, int y) { return static_cast<std::uint16_t>(10 * y + x + 1); });
    struct Case {
        int mode;
        std::uint16_t topRow[4];
        std::uint16_t bottomRow[4];
    };
    const Case cases[] = {
        {0, {1, 2, 3, 4}, {11, 12, 13, 14}},
        {1, {4, 3, 2, 1}, {14, 13, 12, 11}},
        {2, {11, 12, 13, 14}, {1, 2, 3, 4}},
        {3, {14, 13, 12, 11}, {4, 3, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Paint(kMark);
        EXPECT_EQ(ovDraw::PutMirror(20, 30, c.mode, object, 0, 0, 4, 2), 1);
        const auto shot = Shot();
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(shot.At(20 + x, 30), c.topRow[x]);
            EXPECT_EQ(shot.At(20 + x, 31), c.bottomRow[x]);
        }
        EXPECT_EQ(shot.At(24, 30), kMark);
    }

    // Mode 1 at x = -2: the two visible columns show source columns 1 and 0.
    Paint(kMark);
    EXPECT_EQ(ovDraw::PutMirror(-2, 0, 1, object, 0, 0, 4, 2), 1);
    EXPECT_EQ(At(0, 0), 2u);
    EXPECT_EQ(At(1, 0), 1u);
    EXPECT_EQ(At(2, 0), kMark);

    // Pixel 0 is transparent whatever the object's key.
    const int holes = MakeObject(3, 1, [](int x, int) { return static_cast<std::uint16_t>(x == 1 ? 0 : 0x07E0); });
    ovDraw::SetKey(holes, RGB(0, 255, 0));
    Paint(kMark);
    ovDraw::PutMirror(0, 0, 0, holes, 0, 0, 3, 1);
    EXPECT_EQ(At(0, 0), 0x07E0u);
    EXPECT_EQ(At(1, 0), kMark);

    // Fully clipped: 1 without a lock; a failed lock: 0 and no box.
    hl::FailDisplayStep(ovPlatform::DisplayStep::Lock);
    EXPECT_EQ(ovDraw::PutMirror(200, 0, 0, object, 0, 0, 4, 2), 1);
    EXPECT_EQ(ovDraw::PutMirror(0, 0, 0, object, 0, 0, 4, 2), 0);
    EXPECT_TRUE(hl::Boxes().empty());
}

TEST_F(DrawTest, PutMirrorStaysInsideTheSurfaces)
{
    // A clip larger than the display and a source rectangle past its object
    // draw only what lies inside both.
    const int object = MakeObject(4, 2, [](int x, int) { return static_cast<std::uint16_t>(x + 1); });
    ovDraw::SetClip(-50, -50, 1000, 1000);
    Paint(kMark);
    EXPECT_EQ(ovDraw::PutMirror(176, 358, 0, object, -2, 0, 8, 4), 1);
    const auto shot = Shot();
    EXPECT_EQ(shot.At(178, 358), 1u);  // source column 0 sits at 176 + 2
    EXPECT_EQ(shot.At(179, 359), 2u);
    EXPECT_EQ(shot.At(177, 358), kMark);
}

class StretchTest : public DrawTest, public testing::WithParamInterface<int> {};

// The toy's stretch: an 18 x 36 cell of the strip onto the whole 180 x 360
// display, through the device (stretch flag 1) and through GDI (flag 0).
TEST_P(StretchTest, ToysStretchScalesEachPixelTenTimes)
{
    ovDraw::StretchCapable = GetParam();
    // Cell 1 of a strip of two 18 x 36 cells; pixel encodes its x and y, a black hole at (5, 7).
    const int strip = MakeObject(36, 36, [](int x, int y) {
        if (x == 18 + 5 && y == 7) return std::uint16_t{0};
        return static_cast<std::uint16_t>(((x & 31) << 11) | (y << 5) | 1);
    });
    Paint(kMark);
    ovDraw::Stretch(0, 0, strip, 18, 0, 36, 36, 180, 360);
    const auto shot = Shot();
    for (int y = 0; y < 360; y += 7) {
        for (int x = 0; x < 180; x += 3) {
            const int sx = 18 + x / 10;
            const int sy = y / 10;
            if (sx == 23 && sy == 7) {
                EXPECT_EQ(shot.At(x, y), kMark);  // the black key shows the back buffer
            } else {
                ASSERT_EQ(shot.At(x, y), static_cast<std::uint32_t>(((sx & 31) << 11) | (sy << 5) | 1))
                    << x << "," << y;
            }
        }
    }

    Paint(kMark);
    ovDraw::StretchSolid(0, 0, strip, 18, 0, 36, 36, 180, 360);
    EXPECT_EQ(At(55, 75), 0u);
}

TEST_P(StretchTest, OnlyTheGdiPathIsClipped)
{
    ovDraw::StretchCapable = GetParam();
    const int object = MakeObject(2, 2, [](int, int) { return std::uint16_t{0x001F}; });
    ovDraw::SetClip(0, 0, 10, 10);
    Paint(kMark);
    ovDraw::Stretch(0, 0, object, 0, 0, 2, 2, 20, 20);
    EXPECT_EQ(At(9, 9), 0x001Fu);
    EXPECT_EQ(At(15, 15), GetParam() ? 0x001Fu : kMark);
}

INSTANTIATE_TEST_SUITE_P(Paths, StretchTest, testing::Values(1, 0),
                         [](const testing::TestParamInfo<int>& info) { return info.param ? "Device" : "Gdi"; });

TEST_F(DrawTest, LostSurfacesAreRestoredByACopyAndLockFailuresAreSilent)
{
    const int object = Columns();
    hl::LoseAllSurfaces();
    EXPECT_EQ(ovDraw::BackBuffer->IsLost(), DDERR_SURFACELOST);
    ovDraw::Put(0, 0, object, 0, 0, 100, 10);
    EXPECT_EQ(ovDraw::BackBuffer->IsLost(), DD_OK);
    EXPECT_EQ(ovDraw::Objects[object].surface->IsLost(), DD_OK);
    // The copy was given up; the next one draws (the blank object came back cleared).
    Paint(kMark);
    ovDraw::PutSolid(0, 0, object, 0, 0, 100, 10);
    EXPECT_EQ(At(0, 0), 0u);
    EXPECT_EQ(At(100, 0), kMark);

    hl::LoseAllSurfaces();
    ovDraw::Stretch(0, 0, object, 0, 0, 100, 10, 10, 10);
    EXPECT_EQ(ovDraw::BackBuffer->IsLost(), DD_OK);
    EXPECT_TRUE(hl::Boxes().empty());
}

}  // namespace
