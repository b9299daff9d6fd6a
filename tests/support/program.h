// tests/support/program.h - running the real shell on the headless backend.
//
// A test starts the headless backend (HeadlessTest does it), installs an
// application (its own hooks, or the toy's), scripts input per frame with
// ovPlatform::headless::SetFrameHook, and runs the engine's entry point to
// the end with RunProgram. The frame hook must end the program (CloseBox, or
// a key the application quits on) or the run stops after maxFrames frames.
//
// Engine state is engine-wide and starts at its start values once per
// process, so each test case runs in a process of its own (ctest does this:
// gtest_discover_tests registers every case separately).
#pragma once

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <functional>

namespace ovtest {

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ovPlatform::Start("headless")); }
    void TearDown() override { ovPlatform::Stop(); }
};

// Runs StaticInitialise and WinMain with the application; hook(frame) runs
// before each frame. After maxFrames frames the window's close box is pressed.
int RunProgram(const ovSystem::detail::Application& app, std::function<void(unsigned)> hook,
               unsigned maxFrames = 10000);

}  // namespace ovtest
