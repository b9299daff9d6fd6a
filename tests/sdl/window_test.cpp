// The toy in a real window on the SDL backend (run under xvfb-run): its
// title and client size, the single-instance guard, and the close button.

#include "tests/support/x11_window.h"

#include <gtest/gtest.h>

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
