// tests/support/display_fixture.h - a headless backend with one plain window
// the display can bind to, for tests of the display and the object table.
#pragma once

#include "draw/draw.h"
#include "draw/objects.h"
#include "input/input.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include "draw/text/text.h"
#include "sound/sound.h"

#include <string>

namespace ovtest {

class DisplayTest : public ::testing::Test {
protected:
    static constexpr int kClientX = 100;
    static constexpr int kClientY = 50;

    void SetUp() override
    {
        ASSERT_TRUE(ovPlatform::Start("headless"));
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "DISPLAYTEST";
        ASSERT_NE(RegisterClassA(&wc), 0);
        ovSystem::WindowHandle =
            CreateWindowExA(0, "DISPLAYTEST", "display", WS_POPUP, kClientX, kClientY, 180, 360, nullptr, nullptr,
                            nullptr, nullptr);
        ASSERT_NE(ovSystem::WindowHandle, nullptr);
        ShowWindow(ovSystem::WindowHandle, SW_SHOW);
        ovInput::ClientOriginX = kClientX;
        ovInput::ClientOriginY = kClientY;
        ovDraw::FullScreen = 0;
        ovDraw::DefaultWidth = 180;
        ovDraw::DefaultHeight = 360;
    }

    // The quit sequence's releases, so a test may bring the display up again.
    void TearDown() override
    {
        ovDraw::detail::ReleaseFontDescription();
        ovSound::Close();
        ovDraw::ReleaseScreen();
        ovPlatform::Stop();
    }

    // The text of the last box, or "" when none was shown.
    static std::string LastBoxText()
    {
        const auto& boxes = ovPlatform::headless::Boxes();
        return boxes.empty() ? std::string() : boxes.back().text;
    }
};

// "context : message" as an error box shows it.
inline std::string ErrorText(const char* context, const char* message)
{
    return std::string(context) + " : " + message;
}

}  // namespace ovtest
