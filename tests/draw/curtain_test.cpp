// The curtain: where each type starts, how it opens and closes, its speed,
// and its refusal while one runs. It only moves the clip rectangle, so no
// display is needed.

#include "draw/draw.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr RECT kFull{0, 0, 180, 360};

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

class CurtainTest : public testing::Test {
protected:
    void SetUp() override
    {
        ovDraw::Clip = kFull;
        ovDraw::CurtainState = 0;
        ovSystem::FrameDelta = 0.0f;
    }
    // Steps until the curtain stops; the number of steps, or -1 after limit.
    int RunToEnd(int limit = 2000)
    {
        for (int n = 1; n <= limit; ++n) {
            EXPECT_EQ(ovDraw::CurtainStep(), 1);
            if (ovDraw::CurtainState <= 0) return n;
        }
        return -1;
    }
};

TEST_F(CurtainTest, Type5OpensSymmetricallyFromTheMiddleOnePixelPerFrameAtSpeedZero)
{
    ASSERT_EQ(ovDraw::Curtain(0, 5, 0.0f, 0), 1);
    EXPECT_EQ(ovDraw::CurtainState, 1);
    EXPECT_TRUE(Same(ovDraw::SavedClip, kFull));
    EXPECT_TRUE(Same(ovDraw::Clip, RECT{0, 180, 180, 180})) << Show(ovDraw::Clip);

    ovDraw::CurtainStep();
    EXPECT_TRUE(Same(ovDraw::Clip, RECT{0, 179, 180, 181})) << Show(ovDraw::Clip);
    for (int n = 2; n < 180; ++n) ovDraw::CurtainStep();
    EXPECT_TRUE(Same(ovDraw::Clip, RECT{0, 1, 180, 359})) << Show(ovDraw::Clip);
    EXPECT_EQ(ovDraw::CurtainState, 1);
    ovDraw::CurtainStep();
    EXPECT_TRUE(Same(ovDraw::Clip, kFull));
    EXPECT_EQ(ovDraw::CurtainState, 0);
    EXPECT_EQ(ovDraw::CurtainStep(), 0);  // nothing runs any more
}

TEST_F(CurtainTest, Type8OpensTheSlitToFullHeightThenToFullWidth)
{
    ASSERT_EQ(ovDraw::Curtain(0, 8, 0.0f, 20), 1);
    EXPECT_TRUE(Same(ovDraw::Clip, RECT{80, 180, 100, 180})) << Show(ovDraw::Clip);
    for (int n = 0; n < 180; ++n) {
        ovDraw::CurtainStep();
        EXPECT_EQ(ovDraw::Clip.left, 80);
        EXPECT_EQ(ovDraw::Clip.right, 100);
    }
    EXPECT_TRUE(Same(ovDraw::Clip, RECT{80, 0, 100, 360})) << Show(ovDraw::Clip);
    ovDraw::CurtainStep();
    EXPECT_TRUE(Same(ovDraw::Clip, RECT{79, 0, 101, 360})) << Show(ovDraw::Clip);
    EXPECT_EQ(RunToEnd(), 79);  // left reaches 0 after 80 steps in all
    EXPECT_TRUE(Same(ovDraw::Clip, kFull));
    EXPECT_EQ(ovDraw::CurtainState, 0);
}

TEST_F(CurtainTest, EveryTypeStartsCollapsedAndOpensToTheSavedRectangle)
{
    const RECT saved{10, 20, 110, 220};  // mid x 60, mid y 120
    struct Case {
        int type;
        RECT start;
    };
    const Case cases[] = {
        {1, {10, 220, 110, 220}}, {2, {10, 20, 110, 20}}, {3, {110, 20, 110, 220}},
        {4, {10, 20, 10, 220}},   {5, {10, 120, 110, 120}}, {6, {60, 20, 60, 220}},
        {7, {60, 120, 60, 120}},  {8, {55, 120, 65, 120}}, {9, {60, 115, 60, 125}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ovDraw::Clip = saved;
        ovDraw::CurtainState = 0;
        ovSystem::FrameDelta = 0.1f;  // speed 30: 3 + 1 pixels per step
        ASSERT_EQ(ovDraw::Curtain(0, c.type, 30.0f, 10), 1);
        EXPECT_TRUE(Same(ovDraw::Clip, c.start)) << Show(ovDraw::Clip);
        RECT previous = ovDraw::Clip;
        for (int n = 0; n < 200 && ovDraw::CurtainState == 1; ++n) {
            ovDraw::CurtainStep();
            const RECT& r = ovDraw::Clip;
            // It only grows, and never beyond the saved rectangle.
            EXPECT_TRUE(r.left <= previous.left && r.top <= previous.top && r.right >= previous.right &&
                        r.bottom >= previous.bottom)
                << Show(r);
            EXPECT_TRUE(r.left >= saved.left && r.top >= saved.top && r.right <= saved.right &&
                        r.bottom <= saved.bottom)
                << Show(r);
            previous = r;
        }
        EXPECT_EQ(ovDraw::CurtainState, 0);
        EXPECT_TRUE(Same(ovDraw::Clip, saved)) << Show(ovDraw::Clip);
    }
}

TEST_F(CurtainTest, EveryTypeClosesToNothingDrawableAndTheNextCurtainRestoresFirst)
{
    for (int type = 1; type <= 9; ++type) {
        SCOPED_TRACE(type);
        ovDraw::Clip = kFull;
        ovDraw::CurtainState = 0;
        ovSystem::FrameDelta = 0.0f;
        ASSERT_EQ(ovDraw::Curtain(1, type, 0.0f, 20), 1);
        EXPECT_EQ(ovDraw::CurtainState, 2);
        EXPECT_TRUE(Same(ovDraw::Clip, kFull));  // closing leaves the clip alone until the first step
        const int steps = RunToEnd();
        ASSERT_GT(steps, 0);
        EXPECT_EQ(ovDraw::CurtainState, -1);
        const RECT& r = ovDraw::Clip;
        EXPECT_TRUE(r.right <= r.left || r.bottom <= r.top) << Show(r);
        EXPECT_EQ(ovDraw::CurtainStep(), 0);
        if (type == 7) {
            EXPECT_TRUE(Same(r, RECT{90, 180, 90, 180})) << Show(r);
        }
        if (type == 8) {
            EXPECT_TRUE(r.left == 80 && r.right == 100) << Show(r);  // closed down to the slit
        }
        if (type == 1) {
            EXPECT_EQ(steps, 360);
        }

        // From closed, the next curtain puts the saved rectangle back before saving it.
        ASSERT_EQ(ovDraw::Curtain(0, 1, 0.0f, 0), 1);
        EXPECT_TRUE(Same(ovDraw::SavedClip, kFull));
        EXPECT_TRUE(Same(ovDraw::Clip, RECT{0, 360, 180, 360})) << Show(ovDraw::Clip);
    }
}

TEST_F(CurtainTest, StepMovesTruncatedDeltaTimesSpeedPlusOne)
{
    ovSystem::FrameDelta = 0.5f;
    ASSERT_EQ(ovDraw::Curtain(0, 1, 21.0f, 0), 1);  // trunc(10.5) + 1 = 11 pixels
    ovDraw::CurtainStep();
    EXPECT_EQ(ovDraw::Clip.top, 360 - 11);
    ovDraw::CurtainStep();
    EXPECT_EQ(ovDraw::Clip.top, 360 - 22);
}

TEST_F(CurtainTest, RefusedWhileRunningAndTypeZeroPicksOneToNine)
{
    ASSERT_EQ(ovDraw::Curtain(0, 6, 0.0f, 0), 1);
    ovDraw::CurtainStep();
    const RECT clip = ovDraw::Clip;
    EXPECT_EQ(ovDraw::Curtain(1, 2, 100.0f, 5), 0);
    EXPECT_EQ(ovDraw::CurtainType, 6);
    EXPECT_EQ(ovDraw::CurtainDirection, 0);
    EXPECT_TRUE(Same(ovDraw::Clip, clip));
    EXPECT_TRUE(Same(ovDraw::SavedClip, kFull));
    EXPECT_EQ(ovDraw::CurtainState, 1);

    ovSystem::SeedRandom(7);
    std::set<int> seen;
    for (int n = 0; n < 300; ++n) {
        ovDraw::CurtainState = 0;
        ASSERT_EQ(ovDraw::Curtain(1, 0, 0.0f, 0), 1);
        EXPECT_GE(ovDraw::CurtainType, 1);
        EXPECT_LE(ovDraw::CurtainType, 9);
        seen.insert(ovDraw::CurtainType);
    }
    EXPECT_EQ(seen.size(), 9u);
}

TEST_F(CurtainTest, CloseEmptiesTheClipAtOnce)
{
    ovDraw::Clip = RECT{5, 6, 100, 200};
    ovDraw::CurtainClose();
    EXPECT_EQ(ovDraw::CurtainState, -1);
    EXPECT_TRUE(Same(ovDraw::SavedClip, RECT{5, 6, 100, 200}));
    EXPECT_TRUE(Same(ovDraw::Clip, RECT{5, 6, 5, 6}));
    EXPECT_EQ(ovDraw::CurtainStep(), 0);
}

}  // namespace
