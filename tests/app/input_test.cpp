// The window procedure's input state and the input queries, driven through
// the real message loop on the headless backend.

#include "draw/draw.h"
#include "input/input.h"
#include "platform/window.h"
#include "system/system.h"
#include "tests/support/program.h"

#include <functional>
#include <map>
#include <vector>

namespace hl = ovPlatform::headless;
using ovtest::HeadlessTest;
using ovtest::RunProgram;

namespace {

std::vector<int> keysHandled;
void Startup() { ovSystem::SceneNumber = 1; }
void Keys(int code) { keysHandled.push_back(code); }
void NoActivate(int) {}

// The scene runs the step of the current test for the frame it is in.
std::function<void(unsigned)> sceneStep;
unsigned sceneFrame = 0;
void Scene()
{
    ++sceneFrame;
    if (sceneStep) sceneStep(sceneFrame);
}

const ovSystem::detail::Application kApp = {Startup, NoActivate, Keys, {nullptr, Scene}};

// Runs the program: before frame n, input[n] is posted; during frame n,
// check(n) looks at the state. The close box ends it after the last entry.
void RunScript(const std::map<unsigned, std::function<void()>>& input, std::function<void(unsigned)> check)
{
    unsigned last = input.empty() ? 1 : input.rbegin()->first + 1;
    sceneStep = std::move(check);
    RunProgram(kApp, [&](unsigned frame) {
        auto it = input.find(frame);
        if (it != input.end()) it->second();
        if (frame == last) hl::CloseBox();
    });
}

}  // namespace

TEST_F(HeadlessTest, ClicksSetHeldPressedAndPerFrameFlags)
{
    std::map<unsigned, std::vector<int>> seen;  // frame -> held, pressed, click, double, heldButton, lastButton
    RunScript({{2, [] { hl::ButtonDown(1, 5, 6); }},
         {3, [] { hl::ButtonUp(1, 5, 6); }},
         {4, [] { hl::ButtonDown(2, 7, 8); }},
         {5, [] { hl::ButtonUp(2, 7, 8); }}},
        [&](unsigned f) {
            using namespace ovInput;
            seen[f] = {LeftHeld, LeftPressed, LeftClick, RightHeld, RightPressed, RightClick, HeldButton, LastButton};
        });
    EXPECT_EQ(seen[2], (std::vector<int>{1, 1, 1, 0, 0, 0, 1, 1}));
    EXPECT_EQ(seen[3], (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 1}));  // click lasts one frame, pressed stays
    EXPECT_EQ(seen[4], (std::vector<int>{0, 1, 0, 1, 1, 1, 2, 2}));
    EXPECT_EQ(seen[5], (std::vector<int>{0, 1, 0, 0, 1, 0, 0, 2}));
    EXPECT_EQ(ovInput::MouseX, 7);
    EXPECT_EQ(ovInput::MouseY, 8);
}

TEST_F(HeadlessTest, DoubleClickSequenceLeavesClickAndPressFlagsToTheFirstPress)
{
    std::vector<int> atFrame3;
    RunScript({{2, [] { hl::Click(1, 3, 3); }},
         {4, [] {}},
         {3,
          [] {
              // The second press of a double click and its release, as a desktop queues them.
              ovInput::LeftPressed = 0;
              ovInput::LastButton = 0;
              PostMessageA(ovSystem::WindowHandle, WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 3));
              PostMessageA(ovSystem::WindowHandle, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
          }}},
        [&](unsigned f) {
            using namespace ovInput;
            if (f == 3) atFrame3 = {LeftDoubleClick, LeftClick, LeftPressed, LeftHeld, LastButton, HeldButton};
            if (f == 4) {
                EXPECT_EQ(LeftDoubleClick, 0);  // one frame only
            }
        });
    EXPECT_EQ(atFrame3, (std::vector<int>{1, 0, 0, 0, 0, 0}));
}

TEST_F(HeadlessTest, RightDoubleClickTogglesConfinementOnlyWithTheClipOption)
{
    std::vector<int> confined;
    RunScript({{2, [] { PostMessageA(ovSystem::WindowHandle, WM_RBUTTONDBLCLK, 0, 0); }},
         {3, [] { ovSystem::CursorClipOption = 1; PostMessageA(ovSystem::WindowHandle, WM_RBUTTONDBLCLK, 0, 0); }},
         {4, [] { PostMessageA(ovSystem::WindowHandle, WM_RBUTTONDBLCLK, 0, 0); }}},
        [&](unsigned f) {
            if (f >= 2) confined.push_back(ovInput::IsCursorConfined() * 10 + (hl::IsCursorConfined() ? 1 : 0));
        });
    EXPECT_EQ(confined, (std::vector<int>{0, 11, 0}));
}

TEST_F(HeadlessTest, KeysReachTheHandlerAndLatch)
{
    std::map<unsigned, std::pair<int, int>> seen;
    RunScript({{2, [] { hl::KeyDown('A'); }}, {3, [] { hl::KeyUp('A'); }}},
        [&](unsigned f) { seen[f] = {ovInput::HeldKey, ovInput::PressedKey}; });
    EXPECT_EQ(seen[2], (std::pair<int, int>{'A', 'A'}));
    EXPECT_EQ(seen[3], (std::pair<int, int>{0, 'A'}));
    EXPECT_EQ(keysHandled, (std::vector<int>{'A'}));
}

struct AltCase {
    int mode;
    bool closes;       // Alt+F4 ends the program through the quit protocol
    int heldAfterAlt;  // held key after the Alt key alone
};

class AltKeyMode : public ovtest::HeadlessTest, public ::testing::WithParamInterface<AltCase> {};

TEST_P(AltKeyMode, SystemKeys)
{
    const AltCase c = GetParam();
    int held = -1;
    bool ranFrame5 = false;
    RunScript({{2, [&] { ovInput::SetAltMode(c.mode); hl::KeyDown(VK_MENU); }},
         {3, [] { hl::KeyDown(VK_F4); }},
         {4, [] { hl::KeyUp(VK_F4); hl::KeyUp(VK_MENU); hl::KeyDown(VK_F10); hl::KeyUp(VK_F10); }},
         {5, [] {}}},
        [&](unsigned f) {
            if (f == 2) held = ovInput::HeldKey;
            if (f == 5) ranFrame5 = true;
        });
    EXPECT_EQ(held, c.heldAfterAlt);
    EXPECT_EQ(ranFrame5, !c.closes);
    EXPECT_EQ(ovSystem::QuitDone, 1);
    if (c.mode == 0) {
        EXPECT_TRUE(keysHandled.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, AltKeyMode,
                         ::testing::Values(AltCase{0, false, 0}, AltCase{2, true, 0}, AltCase{1, true, VK_MENU}));

TEST_F(HeadlessTest, ShiftToggleWatchedKeyAndReleases)
{
    RunScript({{2, [] { ovInput::WatchKey('Q'); hl::PressKey(VK_SHIFT); }},
         {3, [] { hl::PressKey(VK_SHIFT); hl::PressKey('Q'); hl::PressKey('Q'); }}},
        [&](unsigned f) {
            if (f == 2) {
                EXPECT_EQ(ovInput::ShiftToggle, 1);
            }
            if (f == 3) {
                EXPECT_EQ(ovInput::ShiftToggle, 0);
            }
        });
    EXPECT_EQ(ovInput::WatchCount(), 2);
}

TEST_F(HeadlessTest, KeyStateFollowsThePhysicalKey)
{
    std::vector<int> states;
    int state = 0;
    RunScript({{2, [] { hl::KeyDown('Z'); }},
         {3, [] {}},
         {4, [] { hl::KeyUp('Z'); }},
         {5, [] {}},
         {6, [] { hl::KeyDown('Z'); }},
         {7, [] {}},
         {8, [] { hl::KeyUp('Z'); hl::KeyDown('Z'); }},  // released and pressed between two polls
         {9, [] { ovInput::BeginCapture(); }}},
        [&](unsigned f) {
            if (f < 2) return;
            ovInput::KeyState('Z', &state);
            states.push_back(state);
        });
    EXPECT_EQ(states, (std::vector<int>{1, 3, 2, 0, 1, 3, 3, 0}));  // forced to 0 in capture mode
}

TEST_F(HeadlessTest, WaitInputArmsOnlyWhenNothingIsHeld)
{
    static const int codes[] = {VK_RETURN, 1, 0};
    std::vector<int> results;
    RunScript({{2, [] { hl::KeyDown(VK_RETURN); }},  // held before the wait arms
         {3, [] { hl::KeyUp(VK_RETURN); }},
         {4, [] { hl::KeyDown(VK_RETURN); }},
         {5, [] { hl::KeyUp(VK_RETURN); }},
         {6, [] { hl::Click(1, 2, 2); }},
         {7, [] {}}},
        [&](unsigned f) {
            if (f >= 2) results.push_back(ovInput::WaitInput(codes));
        });
    // Frame 2: held, not armed. 3: armed (nothing held) but the old press is
    // still latched, so it matches and is released at once: reported.
    EXPECT_EQ(results, (std::vector<int>{0, VK_RETURN, 0, VK_RETURN, 1, 0}));
    EXPECT_EQ(ovInput::PressedKey, 0);
    EXPECT_EQ(ovInput::LastButton, 0);
}

TEST_F(HeadlessTest, WindowMoveGivesTheClientOriginAndRectangle)
{
    RunScript({{2, [] { ovDraw::DisplayWidth = 180; ovDraw::DisplayHeight = 360; hl::MoveWindow(-50, -20); }},
         {3, [] { hl::MoveWindow(300, 200); }}},
        [&](unsigned f) {
            if (f == 2) {
                EXPECT_EQ(ovInput::ClientOriginX, -50);
                EXPECT_EQ(ovInput::ClientOriginY, -20);
                EXPECT_EQ(ovDraw::WindowRect.right, 130);
                EXPECT_EQ(ovDraw::WindowRect.bottom, 340);
            }
        });
    EXPECT_EQ(ovInput::ClientOriginX, 300);
    EXPECT_EQ(ovInput::SetMousePos(5, 6), TRUE);
    EXPECT_EQ(hl::CursorPosition().x, 305);
    EXPECT_EQ(hl::CursorPosition().y, 206);
}
