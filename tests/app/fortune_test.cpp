// The fortune toy end to end on the headless backend: the real shell, window
// procedure, scenes, display and text, read back from what the window shows.

#include "app/fortune.h"
#include "draw/draw.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "system/system.h"
#include "tests/support/program.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace hl = ovPlatform::headless;
using ovtest::HeadlessTest;
using ovtest::RunProgram;

namespace {

// The texts' box is navy: a pixel of it inside the grade's line.
bool TextsShown()
{
    hl::Image image = hl::WindowImage();
    if (image.width < 180 || image.height < 360) return false;
    COLORREF c = image.Colour(16, 301);
    return GetRValue(c) < 16 && GetGValue(c) < 16 && GetBValue(c) >= 96;
}

struct Draw {
    int steps = 0;          // face changes seen
    int finalFace = -1;
    unsigned textsFrame = 0;  // loop frame after which the texts were first shown
};

// Runs the toy with the given random offset until the texts show (or a limit).
Draw RunDraw(int offset, std::vector<std::pair<unsigned, int>> presses = {}, unsigned stopAfterTexts = 0)
{
    Draw d;
    int lastFace = 0;
    RunProgram(ovApp::FortuneApplication, [&](unsigned frame) {
        if (frame == 2) ovApp::RandomOffset = offset;  // the load scene drew it in frame 1
        if (frame > 2 && ovApp::Face != lastFace) {
            ++d.steps;
            lastFace = ovApp::Face;
        }
        if (frame > 2 && d.textsFrame == 0 && TextsShown()) d.textsFrame = frame - 1;
        for (auto [at, key] : presses) {
            if (at == frame) hl::PressKey(key);
        }
        if (d.textsFrame && frame >= d.textsFrame + 1 + stopAfterTexts) hl::CloseBox();
    }, 3000);
    d.finalFace = ovApp::Face;
    return d;
}

}  // namespace

TEST_F(HeadlessTest, FirstDrawWithOffsetZeroStopsOnFaceSix)
{
    Draw d = RunDraw(0);
    EXPECT_EQ(d.steps, 17);
    EXPECT_EQ(d.finalFace, 6);
    // Loop frame 1 is the load scene, so scene 2's 327th frame is loop frame 328.
    EXPECT_EQ(d.textsFrame, 328u);
    EXPECT_TRUE(hl::Boxes().empty());
}

TEST_F(HeadlessTest, FirstDrawWithOffsetNineteenStopsOnFaceFive)
{
    Draw d = RunDraw(19);
    EXPECT_EQ(d.steps, 27);
    EXPECT_EQ(d.finalFace, 5);
}

TEST_F(HeadlessTest, SpaceRestartsTheDrawWithEighteenSteps)
{
    // Let the first draw stop, then press Space and count the second draw's steps.
    int stepsAfterSpace = -1, lastFace = -1;
    unsigned spaceFrame = 0, stoppedAgain = 0;
    RunProgram(ovApp::FortuneApplication, [&](unsigned frame) {
        if (frame == 2) ovApp::RandomOffset = 0;
        if (!spaceFrame && frame > 2 && TextsShown()) {
            spaceFrame = frame;
            hl::PressKey(VK_SPACE);
            stepsAfterSpace = 0;
            lastFace = ovApp::Face;
            return;
        }
        if (spaceFrame && !stoppedAgain) {
            if (ovApp::Face != lastFace) {
                ++stepsAfterSpace;
                lastFace = ovApp::Face;
            }
            if (frame > spaceFrame + 1 && TextsShown()) stoppedAgain = frame;
        }
        if (stoppedAgain) hl::CloseBox();
    }, 3000);
    EXPECT_EQ(stepsAfterSpace, 18);
    EXPECT_EQ(ovApp::Face, (6 + 18) % 11);
}

TEST_F(HeadlessTest, TabCyclesEveryFortuneAndBackToFaceZero)
{
    std::vector<int> faces;
    unsigned stopped = 0;
    RunProgram(ovApp::FortuneApplication, [&](unsigned frame) {
        if (frame == 2) ovApp::RandomOffset = 0;
        if (!stopped && frame > 2 && TextsShown()) stopped = frame;
        if (!stopped) return;
        faces.push_back(ovApp::Face);
        if (faces.size() == 12) {
            hl::CloseBox();
            return;
        }
        hl::PressKey(VK_TAB);
    }, 3000);
    EXPECT_EQ(faces, (std::vector<int>{6, 7, 8, 9, 10, 0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(HeadlessTest, EscapeTwiceQuitsOnceWithExitCodeZero)
{
    int rc = RunProgram(ovApp::FortuneApplication, [](unsigned frame) {
        if (frame == 20) {
            hl::PressKey(VK_ESCAPE);
            hl::PressKey(VK_ESCAPE);
        }
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ovSystem::QuitDone, 1);
    EXPECT_EQ(hl::FrameCount(), 19u);
    EXPECT_FALSE(hl::MainWindowInfo().exists);
}

TEST_F(HeadlessTest, MissingStripShowsTheLoadErrorAndTheToyGoesOn)
{
    char dir[] = "/tmp/ovfortune-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    hl::SetExecutablePath(std::string(dir) + "/fuurin");
    Draw d = RunDraw(0);
    ASSERT_EQ(hl::Boxes().size(), 1u);
    // "ovDraw::LoadObject : BMPファイルを読み込めません"
    EXPECT_EQ(hl::Boxes()[0].text,
              "ovDraw::LoadObject : BMP\x83t\x83@\x83" "C\x83\x8B\x82\xF0\x93\xC7\x82\xDD\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1");
    EXPECT_EQ(ovApp::FortuneObject, 0);
    EXPECT_EQ(d.textsFrame, 328u);  // the draw runs on object 0 and the texts still appear
}
