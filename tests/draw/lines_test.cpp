// The line effects: which source line lands on which destination row and
// column, and how their animation state moves.

#include "draw/effects/effects_internal.h"
#include "tests/draw/draw_fixture.h"

#include <cstdint>

namespace {

using ovtest::DrawTest;
namespace dd = ovDraw::detail;

constexpr std::uint16_t kMark = 0x1111;

// A w x h object whose pixel is 64 * line + column + 1: each line and column can be told apart.
int Lines(int w, int h)
{
    return DrawTest::MakeObject(w, h, [](int x, int y) { return static_cast<std::uint16_t>(64 * y + x + 1); });
}

std::uint32_t Pixel(int column, int line)
{
    return static_cast<std::uint32_t>(64 * line + column + 1);
}

TEST_F(DrawTest, PutWaveWithAmplitudeZeroIsAPlainCopyAndTheDivisorSlowsTheAngle)
{
    const int object = Lines(10, 12);
    Paint(kMark);
    ovDraw::PutWave(20, 30, 0, 0, 0.0f, object, 0, 0, 10, 12, 0);
    auto shot = Shot();
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 10; ++x) ASSERT_EQ(shot.At(20 + x, 30 + y), Pixel(x, y)) << x << "," << y;
    }
    EXPECT_EQ(shot.At(30, 30), kMark);

    // Phase 89, amplitude 100: offset trunc(100 cos(89 + line / 4)) is 1 for
    // lines 0..3, 0 for 4..7 and -1 for 8..11.
    dd::WavePhase = 89.0f;
    Paint(kMark);
    ovDraw::PutWave(20, 30, 100, 4, 0.0f, object, 0, 0, 10, 12, 0);
    shot = Shot();
    const int expected[] = {1, 1, 1, 1, 0, 0, 0, 0, -1, -1, -1, -1};
    for (int line = 0; line < 12; ++line) {
        SCOPED_TRACE(line);
        EXPECT_EQ(shot.At(20 + expected[line], 30 + line), Pixel(0, line));
    }

    // Without a divisor the angle moves a degree per line.
    Paint(kMark);
    ovDraw::PutWave(20, 30, 100, 0, 0.0f, object, 0, 0, 10, 3, 0);
    shot = Shot();
    EXPECT_EQ(shot.At(21, 30), Pixel(0, 0));
    EXPECT_EQ(shot.At(20, 31), Pixel(0, 1));
    EXPECT_EQ(shot.At(19, 32), Pixel(0, 2));
}

TEST_F(DrawTest, PutWaveAdvancesItsPhaseAndAlternatesItsSign)
{
    const int object = Lines(10, 4);
    ovSystem::FrameDelta = 0.5f;
    dd::WavePhase = 350.0f;
    ovDraw::PutWave(0, 0, 0, 0, 100.0f, object, 0, 0, 10, 4, 0);
    EXPECT_FLOAT_EQ(dd::WavePhase, 40.0f);  // 350 + 50, less 360

    // Alternate mode: line 0 offset +5, line 1 -trunc(5 cos 1) = -4; the sign keeps going between calls.
    dd::WavePhase = 0.0f;
    ovSystem::FrameDelta = 0.0f;
    Paint(kMark);
    ovDraw::PutWave(20, 0, 5, 0, 0.0f, object, 0, 0, 10, 3, 1);
    const auto shot = Shot();
    EXPECT_EQ(shot.At(25, 0), Pixel(0, 0));
    EXPECT_EQ(shot.At(16, 1), Pixel(0, 1));
    EXPECT_EQ(dd::WaveSign, -1);  // three lines flipped it three times
}

TEST_F(DrawTest, PutTiledDrawsFourByNineTilesOfA64By48TileOnTheDisplay)
{
    // The last column (k = 3) and row (n = 8) only reach the display with
    // offsets near a whole tile: then every pixel is covered.
    const int tile = MakeObject(64, 48, [](int x, int y) { return static_cast<std::uint16_t>(64 * y + x + 1); });
    dd::TileOffsetX = -63.0f;
    dd::TileOffsetY = -47.0f;
    Paint(0);
    ovDraw::PutTiled(0.0f, 0.0f, tile, 0, 0, 64, 48);
    const auto shot = Shot();
    for (int y = 0; y < 360; ++y) {
        for (int x = 0; x < 180; ++x) {
            ASSERT_EQ(shot.At(x, y), static_cast<std::uint32_t>(64 * ((y + 47) % 48) + (x + 63) % 64 + 1))
                << x << "," << y;
        }
    }

    // Offsets move by frame delta x speed and stay in (-tile, 0].
    ovSystem::FrameDelta = 1.0f;
    ovDraw::PutTiled(-10.0f, 5.0f, tile, 0, 0, 64, 48);
    EXPECT_FLOAT_EQ(dd::TileOffsetX, -9.0f);   // -73 + 64
    EXPECT_FLOAT_EQ(dd::TileOffsetY, -42.0f);  // -42
    ovDraw::PutTiled(0.0f, 50.0f, tile, 0, 0, 64, 48);
    EXPECT_FLOAT_EQ(dd::TileOffsetY, -40.0f);  // 8 - 48

    // An empty tile draws nothing rather than dividing by zero.
    ovDraw::PutTiled(0.0f, 0.0f, tile, 5, 0, 5, 48);
}

TEST_F(DrawTest, PutScanlinesDrawsEveryStepthLineFromOneStepBelowTheTop)
{
    const int object = Lines(1, 10);
    Paint(kMark);
    ovDraw::PutScanlines(0, 0, 2, object, 0, 0, 1, 10);
    auto shot = Shot();
    for (int row = 0; row < 10; ++row) {
        SCOPED_TRACE(row);
        if (row % 2 == 0 && row > 0) EXPECT_EQ(shot.At(0, row), Pixel(0, row));
        else EXPECT_EQ(shot.At(0, row), kMark);
    }

    // Negative steps draw random gaps of 1..3, the first one too.
    ovSystem::SeedRandom(3);
    Paint(kMark);
    ovDraw::PutScanlines(0, 0, -3, object, 0, 0, 1, 10);
    shot = Shot();
    int last = 0, drawn = 0;
    for (int row = 0; row < 10; ++row) {
        if (shot.At(0, row) == kMark) continue;
        EXPECT_EQ(shot.At(0, row), Pixel(0, row));
        EXPECT_GE(row - last, 1);
        EXPECT_LE(row - last, 3);
        last = row;
        ++drawn;
    }
    EXPECT_GE(drawn, 3);
    EXPECT_EQ(shot.At(0, 0), kMark);

    Paint(kMark);
    ovDraw::PutScanlines(0, 0, 0, object, 0, 0, 1, 10);
    EXPECT_EQ(At(0, 2), kMark);
}

TEST_F(DrawTest, PutWaveScrollWithOffsetFiveDrawsLinesFiveToNineThenZeroToFour)
{
    const int object = Lines(1, 10);
    dd::WaveScrollOffset = 5.0f;
    Paint(kMark);
    ovDraw::PutWaveScroll(0, 0, 0, 0, 0.0f, 0.0f, object, 0, 0, 1, 10);
    auto shot = Shot();
    const int lines[] = {5, 6, 7, 8, 9, 0, 1, 2, 3, 4};
    for (int row = 0; row < 10; ++row) EXPECT_EQ(shot.At(0, row), Pixel(0, lines[row])) << row;

    // The offset shrinks by frame delta x scroll speed, back into [0, height).
    ovSystem::FrameDelta = 1.0f;
    ovDraw::PutWaveScroll(0, 0, 0, 0, 0.0f, 7.0f, object, 0, 0, 1, 10);
    EXPECT_FLOAT_EQ(dd::WaveScrollOffset, 8.0f);  // 5 - 7 + 10

    // The destination row is y plus the absolute line: a top of 4 draws from row 4.
    dd::WaveScrollOffset = 0.0f;
    ovSystem::FrameDelta = 0.0f;
    Paint(kMark);
    ovDraw::PutWaveScroll(0, 0, 0, 0, 0.0f, 0.0f, object, 0, 4, 1, 10);
    shot = Shot();
    EXPECT_EQ(shot.At(0, 3), kMark);
    EXPECT_EQ(shot.At(0, 4), Pixel(0, 4));
}

TEST_F(DrawTest, PutWaveTiledRepeatsTheLinesAcrossAndDown)
{
    const int object = Lines(64, 4);
    Paint(kMark);
    dd::WaveTileOffset = 1.0f;
    ovDraw::PutWaveTiled(10, 20, 0, 0, 0.0f, 0.0f, object, 0, 0, 64, 4);
    const auto shot = Shot();
    EXPECT_EQ(shot.At(0, 9), kMark);
    EXPECT_EQ(shot.At(0, 10), Pixel(0, 1));   // row k = 0: line (0 + 1)
    EXPECT_EQ(shot.At(70, 12), Pixel(6, 3));  // k = 2: line 3, second tile column
    EXPECT_EQ(shot.At(179, 13), Pixel(179 % 64, 0));  // k = 3: line 4 wraps to 0
    EXPECT_EQ(shot.At(0, 19), Pixel(0, 2));   // k = 9: 9 % 4 + 1
    EXPECT_EQ(shot.At(0, 20), kMark);
}

TEST_F(DrawTest, PutLineMosaicRepeatsEveryStepthLineAndPutJitterShiftsLines)
{
    const int object = Lines(4, 10);
    Paint(kMark);
    ovDraw::PutLineMosaic(0, 0, 3, object, 0, 0, 4, 10);
    auto shot = Shot();
    const int lines[] = {0, 0, 0, 3, 3, 3, 6, 6, 6, 9, 9, 9};  // the last block reaches below
    for (int row = 0; row < 12; ++row) EXPECT_EQ(shot.At(0, row), Pixel(0, lines[row])) << row;
    EXPECT_EQ(shot.At(0, 12), kMark);
    ovDraw::PutLineMosaic(0, 20, 0, object, 0, 0, 4, 10);  // a step below 1 draws nothing
    EXPECT_EQ(At(0, 20), kMark);

    Paint(kMark);
    ovDraw::PutJitter(50, 0, 0, object, 0, 0, 4, 10);
    shot = Shot();
    EXPECT_EQ(shot.At(50, 9), Pixel(0, 9));

    Paint(kMark);
    ovDraw::PutJitter(50, 0, 2, object, 0, 0, 4, 10);
    shot = Shot();
    for (int row = 0; row < 10; ++row) {
        int found = 0;
        for (int dx = -2; dx <= 1; ++dx) found += shot.At(50 + dx, row) == Pixel(0, row);
        EXPECT_EQ(found, 1) << row;
    }
}

TEST_F(DrawTest, PutRollStretchesTheLinesWhereTheCosineFalls)
{
    const int object = Lines(2, 10);
    Paint(kMark);
    ovDraw::PutRoll(0, 0, 0, 0.0f, object, 0, 0, 2, 10);
    const auto shot = Shot();
    // e(k) = trunc(5 + 5 cos(2 pi k / 9)) = 10, 8, 5, 2, 0, 0, 2, 5, 8, 10: line 0
    // fills rows 0..10, the counter falls back with e, and the lines 6..9 on
    // the rising side draw over rows 1..10 again.
    const int lines[] = {0, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9};
    for (int row = 0; row <= 10; ++row) EXPECT_EQ(shot.At(0, row), Pixel(0, lines[row])) << row;
    EXPECT_EQ(shot.At(0, 11), kMark);

    ovSystem::FrameDelta = 1.0f;
    ovDraw::PutRoll(0, 0, 0, 3.0f, object, 0, 0, 2, 10);
    EXPECT_FLOAT_EQ(dd::RollPhase, 7.0f);  // 0 - 3 + 10
    ovDraw::PutRoll(0, 0, 1, 4.0f, object, 0, 0, 2, 10);
    EXPECT_FLOAT_EQ(dd::RollPhase, 1.0f);  // 7 + 4 - 10

    // One line: drawn once, no division by zero.
    Paint(kMark);
    ovDraw::PutRoll(0, 0, 0, 0.0f, object, 0, 3, 2, 4);
    EXPECT_EQ(At(0, 0), Pixel(0, 3));
    EXPECT_EQ(At(0, 1), kMark);
}

}  // namespace
