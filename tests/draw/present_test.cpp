// Flip: the tile fade's ten cells in order, the scroller's picture, drift,
// speeds and limits, the refresh wait and presentation to the window.

#include "input/input.h"
#include "platform/window.h"
#include "tests/draw/draw_fixture.h"

#include <cstdint>

namespace {

using ovtest::DrawTest;
namespace hl = ovPlatform::headless;

constexpr std::uint16_t kMark = 0x1111;

// The tile sheet: cell n (64 x 48 at x = 64 n) filled with n + 1.
int TileSheet()
{
    return DrawTest::MakeObject(640, 48, [](int x, int) { return static_cast<std::uint16_t>(x / 64 + 1); });
}

TEST_F(DrawTest, FadeOutDrawsCellsZeroToNineOnTenFlipsThenNothing)
{
    ovDraw::TransitionImage = TileSheet();
    ovDraw::FadeOut();
    EXPECT_EQ(ovDraw::TransitionStep, 1);
    EXPECT_EQ(ovDraw::TransitionDirection, 1);
    for (int frame = 1; frame <= 10; ++frame) {
        SCOPED_TRACE(frame);
        Paint(kMark);
        ovDraw::Flip();
        const auto shot = Shot();
        // The cell covers the display, tiled from (0, 0).
        EXPECT_EQ(shot.At(0, 0), static_cast<std::uint32_t>(frame));
        EXPECT_EQ(shot.At(179, 359), static_cast<std::uint32_t>(frame));
        EXPECT_EQ(hl::WindowImage().At(100, 200), static_cast<std::uint32_t>(frame));  // and was presented
    }
    EXPECT_EQ(ovDraw::TransitionStep, 0);
    EXPECT_EQ(ovDraw::TransitionDirection, 0);
    Paint(kMark);
    ovDraw::Flip();
    EXPECT_EQ(At(0, 0), kMark);
}

TEST_F(DrawTest, FadeInDrawsCellsNineToZero)
{
    ovDraw::TransitionImage = TileSheet();
    ovDraw::FadeIn();
    EXPECT_EQ(ovDraw::TransitionStep, 10);
    EXPECT_EQ(ovDraw::TransitionDirection, -1);
    for (int cell = 9; cell >= 0; --cell) {
        Paint(kMark);
        ovDraw::Flip();
        EXPECT_EQ(At(50, 50), static_cast<std::uint32_t>(cell + 1)) << cell;
    }
    EXPECT_EQ(ovDraw::TransitionStep, 0);
    EXPECT_EQ(ovDraw::TransitionDirection, 0);
}

class ScrollerTest : public DrawTest {
protected:
    void SetUp() override
    {
        DrawTest::SetUp();
        // A 180 x 1000 picture whose pixel is its row + 1, transparent in column 0;
        // a 64 x 48 tile of 0x00AA.
        ovDraw::ScrollerPicture =
            MakeObject(180, 1000, [](int x, int y) { return static_cast<std::uint16_t>(x == 0 ? 0 : y + 1); });
        ovDraw::ScrollerTile = MakeObject(64, 48, [](int, int) { return std::uint16_t{0x00AA}; });
        ovDraw::ScrollLimit = 1000;
        ovDraw::ToggleScroller();
        ASSERT_EQ(ovDraw::ScrollerMode, 1);
    }
    // Flips with the key held for seconds, at 10 frames per second.
    void Hold(int key, int seconds)
    {
        ovInput::ScrollerKey = key;
        ovSystem::FrameDelta = 0.1f;
        for (int n = 0; n < seconds * 10; ++n) ovDraw::Flip();
    }
};

TEST_F(ScrollerTest, DownStopsAtTheLimitLessTheClipHeightAndUpAtZero)
{
    Hold(VK_DOWN, 10);
    EXPECT_FLOAT_EQ(ovDraw::ScrollPosition, 640.0f);  // 1000 - 360
    Hold(VK_UP, 10);
    EXPECT_FLOAT_EQ(ovDraw::ScrollPosition, 0.0f);
}

TEST_F(ScrollerTest, RightAndLeftMoveThreeTimesAsFast)
{
    Hold(VK_DOWN, 1);
    const float down = ovDraw::ScrollPosition;
    EXPECT_NEAR(down, 100.0f, 0.01f);
    Hold(VK_RIGHT, 1);
    EXPECT_NEAR(ovDraw::ScrollPosition - down, 300.0f, 0.05f);
    Hold(VK_LEFT, 1);
    EXPECT_NEAR(ovDraw::ScrollPosition, down, 0.05f);
    Hold(0, 1);
    EXPECT_NEAR(ovDraw::ScrollPosition, down, 0.05f);
}

TEST_F(ScrollerTest, ThePictureShowsFromTheScrollPositionOverTheDriftingTiles)
{
    ovDraw::ScrollPosition = 250.0f;
    ovInput::ScrollerKey = 0;
    ovSystem::FrameDelta = 0.5f;
    Paint(kMark);
    ovDraw::Flip();
    auto shot = Shot();
    EXPECT_EQ(shot.At(5, 0), 251u);
    EXPECT_EQ(shot.At(179, 359), 610u);
    EXPECT_EQ(shot.At(0, 100), 0x00AAu);  // the key shows the background
    EXPECT_FLOAT_EQ(ovDraw::TileDriftX, -5.0f);
    EXPECT_FLOAT_EQ(ovDraw::TileDriftY, -5.0f);

    // The drift wraps at a whole tile.
    ovSystem::FrameDelta = 6.0f;
    ovDraw::Flip();
    EXPECT_FLOAT_EQ(ovDraw::TileDriftX, -1.0f);   // -65 + 64
    EXPECT_FLOAT_EQ(ovDraw::TileDriftY, -17.0f);  // -65 + 48

    // A narrower clip shows the picture from its top-left at the clip's corner.
    ovDraw::SetClip(20, 30, 100, 130);
    ovSystem::FrameDelta = 0.0f;
    Paint(kMark);
    ovDraw::Flip();
    shot = Shot();
    EXPECT_EQ(shot.At(25, 30), 251u);
    EXPECT_EQ(shot.At(25, 129), 350u);
    EXPECT_EQ(shot.At(25, 130), kMark);

    ovDraw::ToggleScroller();
    EXPECT_EQ(ovDraw::ScrollerMode, 0);
}

TEST(Scroller, ToggleBeforeAnyLoadLeavesItOff)
{
    ovDraw::ToggleScroller();
    EXPECT_EQ(ovDraw::ScrollerMode, 0);
}

TEST_F(DrawTest, FlipWaitsForTheVerticalBlankOnlyWhenAskedAndPresentsTheBackBuffer)
{
    Paint(0x0F0F);
    ovDraw::FillRect(179, 359, 180, 360, 0xF00F);
    const unsigned blanks = hl::VerticalBlankCount();
    const unsigned presents = hl::PresentCount();
    EXPECT_EQ(ovDraw::VSyncFlag, 1);
    ovDraw::Flip();
    EXPECT_EQ(hl::VerticalBlankCount(), blanks + 1);
    EXPECT_GT(hl::PresentCount(), presents);
    const auto shown = hl::WindowImage();
    ASSERT_EQ(shown.width, 180);
    ASSERT_EQ(shown.height, 360);
    EXPECT_EQ(shown.At(0, 0), 0x0F0Fu);
    EXPECT_EQ(shown.At(179, 359), 0xF00Fu);

    ovDraw::SetVSync(0);
    const DWORD before = hl::Now();
    for (int n = 0; n < 5; ++n) ovDraw::Flip();
    EXPECT_EQ(hl::VerticalBlankCount(), blanks + 1);
    EXPECT_EQ(hl::Now(), before);
}

TEST_F(DrawTest, FlipAfterALostSurfaceRestoresAndPresentsTheNextFrame)
{
    ovDraw::SetVSync(0);
    hl::LoseAllSurfaces();
    ovDraw::Flip();
    EXPECT_EQ(ovDraw::BackBuffer->IsLost(), DD_OK);
    EXPECT_EQ(ovDraw::PrimarySurface->IsLost(), DD_OK);
    Paint(0x0F0F);
    ovDraw::Flip();
    EXPECT_EQ(hl::WindowImage().At(10, 10), 0x0F0Fu);
    EXPECT_TRUE(hl::Boxes().empty());
}

}  // namespace
