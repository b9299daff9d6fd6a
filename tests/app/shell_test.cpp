// The shell on the headless backend: start-up, the frame loop's steps, the
// quit sequence and the close protocol, the window procedure's input state.

#include "draw/draw.h"
#include "input/input.h"
#include "platform/boxes.h"
#include "platform/window.h"
#include "system/system.h"
#include "tests/support/program.h"

#include <vector>

namespace hl = ovPlatform::headless;
using ovtest::HeadlessTest;
using ovtest::RunProgram;

namespace {

// A small application: scene 1 hands over to scene 2 like the toy's load
// scene; Escape quits; every scene call is counted.
int sceneCalls[3];
std::vector<int> keysHandled;
std::vector<int> activations;

void SceneOne()
{
    ++sceneCalls[1];
    ovSystem::SceneNumber = 2;
    ovSystem::PreviousScene = 0;
}
void SceneTwo() { ++sceneCalls[2]; }
void Startup()
{
    ovSystem::SceneNumber = 1;
    ovSystem::PreviousScene = 0;
}
void Activate(int on) { activations.push_back(on); }
void Keys(int code)
{
    keysHandled.push_back(code);
    if (code == VK_ESCAPE) ovSystem::Quit();
}

const ovSystem::detail::Application kApp = {Startup, Activate, Keys, {nullptr, SceneOne, SceneTwo}};

}  // namespace

TEST_F(HeadlessTest, StartUpCreatesTheCentredTopmostWindowAndSeeds)
{
    hl::SetScreenSize(800, 600);
    hl::SetSystemMetric(SM_CYCAPTION, 19);
    hl::SetCalendarTime(12345);
    hl::WindowInfo info{};
    std::uint32_t stateAtFirstFrame = 0;
    int rc = RunProgram(kApp, [&](unsigned frame) {
        if (frame == 1) {
            info = hl::MainWindowInfo();
            stateAtFirstFrame = ovSystem::RandomState;
            hl::CloseBox();
        }
    });
    EXPECT_EQ(rc, 0);
    ASSERT_TRUE(info.exists);
    EXPECT_EQ(info.title, "\x95\x97\x97\xE9\x82\xAD\x82\xB6");  // 風鈴くじ
    EXPECT_EQ(info.className, "DEFAULT");
    EXPECT_EQ(info.outerWidth, 180 + 1 + 2 + 3);
    EXPECT_EQ(info.outerHeight, 360 + 19 + 2 + 1 + 3);
    EXPECT_EQ(info.outerX, (800 - 186) / 2);
    EXPECT_EQ(info.outerY, (600 - 385) / 2);
    EXPECT_EQ(info.clientWidth, 180);
    EXPECT_EQ(info.clientHeight, 360);
    EXPECT_TRUE(info.visible);
    EXPECT_TRUE(info.topmost);
    EXPECT_EQ(stateAtFirstFrame, 12345u);  // seeded with the calendar time, nothing drawn yet
    EXPECT_FALSE(hl::IsImeEnabled());
    EXPECT_EQ(ovSystem::ImeEnabled, 0);
    EXPECT_EQ(activations, (std::vector<int>{1, 0}));  // shown (activated), then the start-up hook call
    EXPECT_EQ(ovDraw::FullScreen, 0);
    EXPECT_EQ(ovDraw::DefaultWidth, 180);
    EXPECT_EQ(ovDraw::DefaultHeight, 360);
}

TEST_F(HeadlessTest, SecondInstanceRaisesTheFirstAndLeavesWithoutAWindow)
{
    hl::SimulateOtherInstance("\x95\x97\x97\xE9\x82\xAD\x82\xB6:OvMutex", "DEFAULT", "\x95\x97\x97\xE9\x82\xAD\x82\xB6");
    int rc = RunProgram(kApp, nullptr);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(hl::OtherInstanceRaiseCount(), 1u);
    EXPECT_EQ(ovSystem::WindowHandle, nullptr);
    EXPECT_EQ(hl::FrameCount(), 0u);
}

TEST_F(HeadlessTest, CommandLineIsCopiedAndCutAt255Bytes)
{
    ovSystem::detail::InstallApplication(&kApp);
    hl::SetFrameHook([](unsigned) { hl::CloseBox(); });
    std::string longLine(400, 'x');
    EXPECT_EQ(WinMain(nullptr, nullptr, longLine.data(), SW_SHOWNORMAL), 0);
    EXPECT_EQ(std::string(ovSystem::CommandLine()), std::string(255, 'x'));
}

TEST_F(HeadlessTest, SceneChangedFlagAndSceneDispatch)
{
    std::vector<int> changed, scene;
    RunProgram(kApp, [&](unsigned frame) {
        if (frame > 1) {
            changed.push_back(ovSystem::SceneChanged);  // as the previous frame left it
            scene.push_back(ovSystem::SceneNumber);
        }
        if (frame == 4) ovSystem::SceneNumber = 3;  // a scene number with no function
        if (frame == 7) hl::CloseBox();
    });
    // Frame 1 runs scene 1, which switches to 2: frame 2 is scene 2's first.
    EXPECT_EQ(scene, (std::vector<int>{2, 2, 2, 3, 3, 3}));
    EXPECT_EQ(changed, (std::vector<int>{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(sceneCalls[1], 1);
    EXPECT_EQ(sceneCalls[2], 2);  // frames 2 and 3; frames 4..6 under scene 3 call nothing
    EXPECT_EQ(hl::FrameCount(), 6u);
}

TEST_F(HeadlessTest, FrameDeltaAcrossTheClockWrap)
{
    hl::SetTime(0xFFFFFFFFu - 30);
    std::vector<float> deltas;
    RunProgram(kApp, [&](unsigned frame) {
        if (frame > 1) deltas.push_back(ovSystem::FrameDelta);
        hl::Advance(20);
        if (frame == 4) hl::CloseBox();
    });
    ASSERT_EQ(deltas.size(), 3u);
    for (float d : deltas) EXPECT_FLOAT_EQ(d, 0.020f);
}

TEST_F(HeadlessTest, BlinkFlagFollowsItsRhythmFromProcessStart)
{
    std::vector<std::pair<unsigned, int>> flips;  // clock, new flag
    int last = 1;
    RunProgram(kApp, [&](unsigned frame) {
        if (frame > 1 && ovSystem::BlinkFlag != last) {
            last = ovSystem::BlinkFlag;
            flips.push_back({hl::Now(), last});
        }
        hl::Advance(10);
        if (hl::Now() > 3500) hl::CloseBox();
        (void)frame;
    });
    // A frame runs at every 10 ms step; the flag flips in the frame at each toggle.
    ASSERT_GE(flips.size(), 3u);
    EXPECT_EQ(flips[0], (std::pair<unsigned, int>{1000, 0}));
    EXPECT_EQ(flips[1], (std::pair<unsigned, int>{1200, 1}));
    EXPECT_EQ(flips[2], (std::pair<unsigned, int>{2200, 0}));
}

TEST_F(HeadlessTest, QuitRunsOnceAndBothRoadsEndWithExitCodeZero)
{
    // Escape twice before the posted close is handled.
    int rc = RunProgram(kApp, [](unsigned frame) {
        if (frame == 3) {
            hl::PressKey(VK_ESCAPE);
            hl::PressKey(VK_ESCAPE);
        }
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(keysHandled, (std::vector<int>{VK_ESCAPE, VK_ESCAPE}));
    EXPECT_EQ(ovSystem::QuitDone, 1);
    EXPECT_EQ(ovSystem::CloseState, 2);
    EXPECT_EQ(ovSystem::MutexHandle, nullptr);
    EXPECT_FALSE(hl::MainWindowInfo().exists);
    EXPECT_EQ(hl::FrameCount(), 2u);  // no frame runs between the posted close and the quit message
}

TEST_F(HeadlessTest, CloseBoxRunsTheQuitSequenceFromTheCloseMessage)
{
    int rc = RunProgram(kApp, [](unsigned frame) {
        if (frame == 2) hl::CloseBox();
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ovSystem::QuitDone, 1);
    EXPECT_EQ(ovSystem::CloseState, 2);
    EXPECT_EQ(ovSystem::MutexHandle, nullptr);
    EXPECT_FALSE(hl::MainWindowInfo().exists);
}

TEST_F(HeadlessTest, CursorHiddenOverTheClientAreaShownOutsideLeftAloneDuringABox)
{
    std::vector<bool> visible;
    RunProgram(kApp, [&](unsigned frame) {
        hl::WindowInfo w = hl::MainWindowInfo();
        visible.push_back(hl::IsCursorVisible());
        switch (frame) {
        case 1: hl::SetCursorPosition(w.clientX + 10, w.clientY + 10); break;      // inside
        case 2: hl::SetCursorPosition(w.clientX + 180, w.clientY + 10); break;     // just outside
        case 3: hl::SetCursorPosition(w.clientX + 179, w.clientY + 359); break;    // last inside pixel
        case 4:
            hl::SetCursorPosition(w.clientX - 1, w.clientY);
            ovSystem::MessageBoxOpen = 1;  // a box is open: the loop leaves the cursor alone
            break;
        case 5: ovSystem::MessageBoxOpen = 0; break;
        case 7: hl::CloseBox(); break;
        }
    });
    // Seen before frames 1..7: shown, hidden, shown, hidden, hidden (box), shown.
    EXPECT_EQ(visible, (std::vector<bool>{true, false, true, false, false, true, true}));
    EXPECT_EQ(hl::CursorDisplayCount(), 0);  // every show and hide went through the flag
}

TEST_F(HeadlessTest, ReactivationResetsTheFrameTiming)
{
    std::vector<float> deltas;
    RunProgram(kApp, [&](unsigned frame) {
        hl::Advance(16);
        if (frame > 1) deltas.push_back(ovSystem::FrameDelta);
        if (frame == 3) {
            hl::Activate(false);
            hl::Advance(60000);  // a minute away
            hl::Activate(true);
        }
        if (frame == 5) hl::CloseBox();
    });
    // Deltas of frames 1..4: frame 3, the first after re-activation, does not see the minute.
    ASSERT_EQ(deltas.size(), 4u);
    EXPECT_FLOAT_EQ(deltas[0], 0.016f);
    EXPECT_FLOAT_EQ(deltas[1], 0.016f);
    EXPECT_FLOAT_EQ(deltas[2], 0.0f);
    EXPECT_FLOAT_EQ(deltas[3], 0.016f);
    EXPECT_EQ(activations, (std::vector<int>{1, 0, 1}));
}

TEST_F(HeadlessTest, InactiveProgramRunsNoFramesAndWaits)
{
    hl::SetIdleLimit(5);
    int rc = RunProgram(kApp, [](unsigned frame) {
        if (frame == 2) hl::Activate(false);
    });
    // Nothing can re-activate it: the backend ends the endless wait.
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(hl::FrameCount(), 1u);
    EXPECT_EQ(ovSystem::Active, 0);
    EXPECT_EQ(sceneCalls[1] + sceneCalls[2], 1);
}
