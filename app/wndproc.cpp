// app/wndproc.cpp - the window procedure, which turns window messages into
// the engine-wide input state scenes read, and the input queries on top of it.
//
// Messages arrive between frames (from the frame loop) or inside a message
// box's modal wait; input state never changes during a scene call otherwise.
//
// LIMITATIONS: the end-of-piece notification of MIDI music (MM_MCINOTIFY)
// goes to the default handling: music playback is not part of the engine yet.
// DEPENDENCIES: platform window, cursor and key services; ovSystem::Quit and
// frame timing; ovDraw's display size and window rectangle.

#include "app/shell_internal.h"

#include "draw/draw.h"
#include "input/input.h"
#include "platform/platform.h"
#include "system/system.h"

namespace ovInput {

int MouseX = 0, MouseY = 0;
int MouseDeltaX = 0, MouseDeltaY = 0;
int FrameEndMouseX = 0, FrameEndMouseY = 0;
int LeftHeld = 0, RightHeld = 0;
int LeftPressed = 0, RightPressed = 0;
int LeftClick = 0, RightClick = 0;
int LeftDoubleClick = 0, RightDoubleClick = 0;
int HeldButton = 0;
int LastButton = 0;
int CapturedLeft = 0;
int HeldKey = 0;
int PressedKey = 0;
int ScrollerKey = 0;
int CapturedKey = 0;
int ShiftToggle = 0;
int WatchedKey = 0, WatchedCount = 0;
int CaptureMode = 0;
int AltMode = 0;
int ClientOriginX = 0, ClientOriginY = 0;
int CursorConfined = 0;
int WaitState = 0, WaitMatched = 0;

void KeyState(int virtualKey, int* state)
{
    if (!state) return;
    if (GetKeyState(virtualKey) & 0x80) {
        *state = *state == 0 ? 1 : 3;
    } else {
        *state = (*state == 1 || *state == 3) ? 2 : 0;
    }
    if (ovDraw::TransitionStep != 0 || ovDraw::ScrollerMode || CaptureMode) *state = 0;
}

int WaitInput(const int* codes)
{
    if (!codes) return 0;
    if (WaitState == 0 && HeldKey == 0 && HeldButton == 0) WaitState = 1;
    if (WaitState == 1) {
        for (const int* c = codes; *c != 0; ++c) {
            if (*c == PressedKey || *c == LastButton) {
                WaitMatched = *c;
                WaitState = 2;
                break;
            }
        }
    }
    if (WaitState == 2) {
        bool button = WaitMatched == 1 || WaitMatched == 2;
        if (button ? LastButton != WaitMatched : PressedKey != WaitMatched) {
            WaitState = 0;
        } else if (button ? HeldButton == 0 : HeldKey == 0) {
            WaitState = 0;
            PressedKey = 0;
            LastButton = 0;
            return WaitMatched;
        }
    }
    return 0;
}

int SetMousePos(int x, int y) { return SetCursorPos(ClientOriginX + x, ClientOriginY + y); }

void BeginCapture() { CaptureMode = 1; }

void EndCapture()
{
    CaptureMode = 0;
    HeldKey = 0;
}

void SetAltMode(int mode) { AltMode = mode; }

void WatchKey(int virtualKey)
{
    WatchedKey = virtualKey;
    WatchedCount = 0;
}

int WatchCount() { return WatchedCount; }

int ConfineCursor(int left, int top, int right, int bottom)
{
    RECT r{left, top, right, bottom};
    CursorConfined = 1;
    return ClipCursor(&r);
}

int ConfineCursorToWindow()
{
    if (ovDraw::FullScreen) return ConfineCursor(0, 0, ovDraw::DisplayWidth, ovDraw::DisplayHeight);
    return ConfineCursor(ClientOriginX, ClientOriginY, ClientOriginX + ovDraw::DisplayWidth,
                         ClientOriginY + ovDraw::DisplayHeight);
}

int FreeCursor()
{
    CursorConfined = 0;
    return ClipCursor(nullptr);
}

int IsCursorConfined() { return CursorConfined; }

}  // namespace ovInput

int ovSystem::IsWindowed() { return ovDraw::FullScreen == 0 ? 1 : 0; }

namespace ovSystem::shell {
namespace {

using namespace ovInput;

void KeyPressed(int code)
{
    if (CaptureMode) {
        CapturedKey = code;
        return;
    }
    if (ovDraw::ScrollerMode) {
        ScrollerKey = code;
    } else {
        HeldKey = code;
        PressedKey = code;
    }
    detail::CurrentApplication().keyHandler(code);
}

// A 16-bit screen coordinate of WM_MOVE; above 32768 it is negative.
int SignedCoordinate(unsigned v) { return v > 32768 ? static_cast<int>(v) - 65536 : static_cast<int>(v); }

}  // namespace

LRESULT WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto position = static_cast<std::uintptr_t>(lParam);
    switch (message) {
    case WM_MOUSEMOVE:
        MouseX = LOWORD(position);
        MouseY = HIWORD(position);
        break;
    case WM_LBUTTONDOWN:
        if (CaptureMode) {
            CapturedLeft = 1;
        } else {
            LeftHeld = LeftClick = LeftPressed = 1;
            HeldButton = LastButton = 1;
        }
        break;
    case WM_LBUTTONUP:
        LeftHeld = 0;
        if (HeldButton == 1) HeldButton = 0;
        CapturedLeft = 0;
        break;
    case WM_LBUTTONDBLCLK:
        if (!CaptureMode) LeftDoubleClick = 1;
        return 0;
    case WM_RBUTTONDOWN:
        if (!CaptureMode) {
            RightHeld = RightClick = RightPressed = 1;
            HeldButton = LastButton = 2;
        }
        break;
    case WM_RBUTTONUP:
        RightHeld = 0;
        if (HeldButton == 2) HeldButton = 0;
        break;
    case WM_RBUTTONDBLCLK:
        if (!CaptureMode) RightDoubleClick = 1;
        if (CursorClipOption) {
            if (CursorConfined) FreeCursor();
            else ConfineCursorToWindow();
        }
        return 0;
    case WM_KEYDOWN:
        KeyPressed(static_cast<int>(wParam));
        break;
    case WM_SYSKEYDOWN:
        if (AltMode == 0) return 0;
        if (AltMode == 2 && wParam == VK_MENU) return 0;
        KeyPressed(static_cast<int>(wParam));
        break;
    case WM_KEYUP: {
        int code = static_cast<int>(wParam);
        if (HeldKey == code) HeldKey = 0;
        if (ScrollerKey == code) ScrollerKey = 0;
        if (CapturedKey == code) CapturedKey = 0;
        if (code == VK_SHIFT) ShiftToggle = ShiftToggle ? 0 : 1;
        if (code == WatchedKey) ++WatchedCount;
        break;
    }
    case WM_MOVE:
        ClientOriginX = SignedCoordinate(LOWORD(position));
        ClientOriginY = SignedCoordinate(HIWORD(position));
        ovDraw::WindowRect = RECT{ClientOriginX, ClientOriginY, ClientOriginX + ovDraw::DisplayWidth,
                                  ClientOriginY + ovDraw::DisplayHeight};
        if (CursorClipOption) ConfineCursorToWindow();
        break;
    case WM_ACTIVATEAPP:
        if (!wParam) {
            Active = 0;
            if (CursorShown == 0) {
                ShowCursor(TRUE);
                CursorShown = 1;
            }
            if (CursorClipOption) FreeCursor();
        } else {
            Active = 1;
            ResetFrameTime();
            if (CursorClipOption) ConfineCursorToWindow();
            detail::CurrentApplication().activate(1);
        }
        return 0;
    case WM_SETCURSOR:
        if (ovDraw::FullScreen && !MessageBoxOpen) {
            SetCursor(nullptr);
            return 1;
        }
        break;
    case WM_CLOSE:
        if (CloseState == 0) CloseState = 1;
        if (CloseState < 2) Quit();
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace ovSystem::shell
