// The toy in a real window on the SDL backend (run under xvfb-run): its
// title and client size, the single-instance guard, and the close button.

#include "tests/support/x11_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace x11 = ovtest::x11;

namespace {

const std::string kTitle = "風鈴くじ";
const std::string kProgram = std::string(OV_BUILD_DIR) + "/fuurin";

class ToyWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!x11::Open()) GTEST_SKIP() << "no X display: run the window tests under xvfb-run";
    }
    void TearDown() override { x11::Close(); }
};

}  // namespace

TEST_F(ToyWindow, OpensOnceAndClosesWithExitCodeZero)
{
    pid_t first = x11::Spawn(kProgram);
    ASSERT_GT(first, 0);
    x11::Window w;
    ASSERT_TRUE(x11::WaitForWindow(kTitle, 10000, &w)) << "no window titled " << kTitle;
    EXPECT_EQ(w.width, 180);
    EXPECT_EQ(w.height, 360);

    // A second instance leaves at once, with 0, and opens no window.
    pid_t second = x11::Spawn(kProgram);
    ASSERT_GT(second, 0);
    EXPECT_EQ(x11::WaitExit(second, 5000), 0);
    auto windows = x11::FindByTitle(kTitle);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].id, w.id);  // the same window all along

    x11::RequestClose(w);
    EXPECT_EQ(x11::WaitExit(first, 10000), 0);
    EXPECT_TRUE(x11::FindByTitle(kTitle).empty());
}

namespace {

// The navy box of the fortune texts at the grade's line, as the window shows it.
bool TextsShown(const x11::Window& w)
{
    std::vector<unsigned> pixels = x11::Capture(w);
    if (pixels.size() < static_cast<std::size_t>(w.width) * 360) return false;
    unsigned p = pixels[static_cast<std::size_t>(301) * w.width + 16];
    return ((p >> 16) & 0xFF) < 16 && ((p >> 8) & 0xFF) < 16 && (p & 0xFF) >= 96;
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return condition();
}

}  // namespace

TEST_F(ToyWindow, DrawStopsShowsTheTextsAndAnswersSpaceAndEscape)
{
    pid_t pid = x11::Spawn(kProgram);
    ASSERT_GT(pid, 0);
    x11::Window w;
    ASSERT_TRUE(x11::WaitForWindow(kTitle, 10000, &w));
    // The first draw stops within about 14 s at 60 frames a second.
    ASSERT_TRUE(WaitFor([&] { return TextsShown(w); }, 30000)) << "the fortune's texts never appeared";
    // The face above the texts is the enlarged strip: not the black of a cleared buffer.
    std::vector<unsigned> pixels = x11::Capture(w);
    unsigned face = pixels[static_cast<std::size_t>(100) * w.width + 90];
    EXPECT_NE(face, 0u);

    x11::PressKey(w, "space");
    EXPECT_TRUE(WaitFor([&] { return !TextsShown(w); }, 3000)) << "Space did not start a new draw";

    x11::PressKey(w, "Escape");
    EXPECT_EQ(x11::WaitExit(pid, 10000), 0);
}
