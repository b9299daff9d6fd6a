// tests/draw/draw_fixture.h - a windowed 180 x 360 display on the headless
// backend (5-6-5 desktop, rows padded past the width), and small helpers to
// make objects of known pixels and read the back buffer.
#pragma once

#include "draw/draw.h"
#include "input/input.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace ovtest {

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ovPlatform::Start("headless"));
        ovSystem::detail::StaticInitialise();  // the 2-pi constant the waves use
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "DRAWTEST";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "DRAWTEST", "draw", WS_POPUP, 100, 50, 180, 360, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        ovSystem::WindowHandle = window;
        ovInput::ClientOriginX = 100;
        ovInput::ClientOriginY = 50;
        ovDraw::FullScreen = 0;
        ovSystem::FrameDelta = 0.0f;
        ASSERT_EQ(ovDraw::Screen(180, 360, 1), 1);
    }
    void TearDown() override
    {
        ovDraw::ReleaseScreen();
        ovPlatform::Stop();
    }

public:
    // A blank object whose pixel (x, y) is pixel(x, y); its key is black (0).
    static int MakeObject(int width, int height, const std::function<std::uint16_t(int, int)>& pixel)
    {
        const int object = ovDraw::CreateObject(width, height, 2);
        EXPECT_NE(object, 0);
        if (object == 0) return 0;
        IDirectDrawSurface* s = ovDraw::Objects[object].surface;
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(desc);
        EXPECT_EQ(s->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(desc.lpSurface) + y * desc.lPitch);
            for (int x = 0; x < width; ++x) row[x] = pixel(x, y);
        }
        s->Unlock(nullptr);
        return object;
    }

    // The back buffer filled with one raw value, outside the clip rectangle too.
    static void Paint(std::uint16_t value) { ovDraw::FillRect(0, 0, 180, 360, value); }

    static ovPlatform::headless::Image Shot() { return ovPlatform::headless::SurfaceImage(ovDraw::BackBuffer); }
    static std::uint32_t At(int x, int y) { return Shot().At(x, y); }

protected:
    HWND window = nullptr;
};

}  // namespace ovtest
