// app/shell.cpp - the program's spine: the entry point with its start-up
// order, the single-instance guard, the one window, the frame loop that calls
// the current scene, and the quit sequence that releases everything once.
//
// The shell is written once for the engine; an application supplies only its
// hooks (start-up step, scene functions, activation hook, key handler)
// through ovSystem::detail::InstallApplication before the entry point runs.
//
// LIMITATIONS: one window, always created windowed.
// DEPENDENCIES: platform window, message, cursor, mutex and clock services;
// ovDraw (presentation during a fade-out, release at quit).

#include "app/shell_internal.h"

#include "draw/draw.h"
#include "draw/text/text.h"
#include "input/input.h"
#include "platform/platform.h"
#include "system/sjis_text.h"
#include "system/system.h"

#include <cmath>

namespace ovSystem {

HWND WindowHandle = nullptr;
HINSTANCE InstanceHandle = nullptr;
HANDLE MutexHandle = nullptr;
int ClientWidth = 180;
int ClientHeight = 360;
int Options = 0;
int CursorClipOption = 0;
int CursorShown = 1;
int MessageBoxOpen = 0;
int Active = 0;
int SceneNumber = 0;
int PreviousScene = 0;
int SceneChanged = 0;
int PendingScene = 0;
DWORD FrameStartTime = 0;
int BlinkFlag = 1;
DWORD NextBlinkToggle = 0;
int CloseState = 0;
int QuitDone = 0;
int ImeEnabled = 1;
double TwoPi = 0.0;

namespace {

char CommandLineCopy[ov::TEXT_BUFFER] = {};

void NoStartup() {}
void NoActivate(int) {}
void NoKeyHandler(int) {}

const detail::Application kEmptyApplication = {NoStartup, NoActivate, NoKeyHandler, {}};
const detail::Application* App = &kEmptyApplication;

// One pass of the frame loop once the queue is empty and the program runs.
void RunFrame()
{
    // Frame timing: the unsigned difference never goes negative across the wrap.
    DWORD now = timeGetTime();
    FrameDelta = static_cast<float>(static_cast<DWORD>(now - PreviousFrameTime)) / 1000.0f;
    PreviousFrameTime = timeGetTime();

    ovInput::MouseDeltaX = ovInput::MouseX - ovInput::FrameEndMouseX;
    ovInput::MouseDeltaY = ovInput::MouseY - ovInput::FrameEndMouseY;

    // The very first frame is a scene's first frame.
    if (PreviousScene == 0 && SceneNumber != 0) {
        SceneChanged = 1;
        PreviousScene = SceneNumber;
    }

    if (ovDraw::TransitionDirection == 1) {
        // A fade-out runs: only presentation, and the scene switch once it ends.
        ovDraw::Flip();
        if (ovDraw::TransitionDirection == 0) SceneNumber = PendingScene;
    } else {
        FrameStartTime = timeGetTime();
        if (SceneNumber >= 0 && SceneNumber < ov::MAX_SCENES && App->scenes[SceneNumber]) App->scenes[SceneNumber]();
    }

    if (SceneNumber != PreviousScene) {
        SceneChanged = 1;
        if (ovDraw::CurtainState > 0) {
            ovDraw::Clip = ovDraw::SavedClip;
            ovDraw::CurtainState = 0;
        }
    } else {
        SceneChanged = 0;
    }
    PreviousScene = SceneNumber;

    now = timeGetTime();
    if (now >= NextBlinkToggle) {
        BlinkFlag = BlinkFlag ? 0 : 1;
        NextBlinkToggle = now + (BlinkFlag ? 1000u : 200u);
    }

    ovInput::FrameEndMouseX = ovInput::MouseX;
    ovInput::FrameEndMouseY = ovInput::MouseY;
    ovInput::LeftClick = 0;
    ovInput::RightClick = 0;
    ovInput::LeftDoubleClick = 0;
    ovInput::RightDoubleClick = 0;

    // The cursor is hidden over the client area and shown outside it, but
    // left alone in full screen and while a box is open.
    if (!ovDraw::FullScreen && !MessageBoxOpen) {
        POINT p{};
        GetCursorPos(&p);
        bool inside = p.x >= ovInput::ClientOriginX && p.y >= ovInput::ClientOriginY &&
                      p.x < ovInput::ClientOriginX + ClientWidth && p.y < ovInput::ClientOriginY + ClientHeight;
        if (inside && CursorShown == 1) {
            ShowCursor(FALSE);
            CursorShown = 0;
        } else if (!inside && CursorShown == 0) {
            ShowCursor(TRUE);
            CursorShown = 1;
        }
    }
}

}  // namespace

namespace detail {

void InstallApplication(const Application* application) { App = application ? application : &kEmptyApplication; }

const Application& CurrentApplication() { return *App; }

void StaticInitialise()
{
    TwoPi = M_PI + M_PI;
    PreviousFrameTime = timeGetTime();
    NextBlinkToggle = timeGetTime() + 1000;
    ovDraw::detail::InitFpsWindow();
}

}  // namespace detail

int Quit()
{
    if (QuitDone) return 1;
    QuitDone = 1;
    ovInput::FreeCursor();
    ovDraw::detail::ReleaseFontDescription();
    ovDraw::ReleaseScreen();
    if (MutexHandle) {
        ReleaseMutex(MutexHandle);
        MutexHandle = nullptr;  // not closed: the process exit closes it
    }
    if (CloseState == 0) PostMessageA(WindowHandle, WM_CLOSE, 0, 0);
    CloseState = 2;
    return 1;
}

char* CommandLine() { return CommandLineCopy; }

int EnableIME(int on)
{
    ImeEnabled = on;
    return WINNLSEnableIME(nullptr, on ? TRUE : FALSE);
}

}  // namespace ovSystem

using namespace ovSystem;

int WinMain(HINSTANCE instance, HINSTANCE, char* commandLine, int showCommand)
{
    char title[ov::TEXT_BUFFER];
    ov::CopyText(title, sizeof(title), shell::kTitle);

    // Single-instance guard: a second copy brings the first one's window to
    // the front and leaves without a window of its own.
    char mutexName[ov::TEXT_BUFFER];
    ov::CopyText(mutexName, sizeof(mutexName), title);
    ov::AppendText(mutexName, sizeof(mutexName), shell::kMutexSuffix);
    MutexHandle = CreateMutexA(nullptr, TRUE, mutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND other = FindWindowA(shell::kClassName, title)) SetForegroundWindow(other);
        return 0;
    }

    ov::CopyText(CommandLineCopy, sizeof(CommandLineCopy), commandLine ? commandLine : "");

    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = shell::WindowProcedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MAIN");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszMenuName = shell::kClassName;
    wc.lpszClassName = shell::kClassName;
    RegisterClassA(&wc);

    ovDraw::FullScreen = 0;
    ClientWidth = 180;
    ClientHeight = 360;
    ovDraw::DefaultWidth = 180;
    ovDraw::DefaultHeight = 360;
    CursorClipOption = 0;

    SeedRandom(static_cast<std::uint32_t>(ovPlatform::CalendarTime()));

    int outerWidth = ClientWidth + GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXEDGE) +
                     GetSystemMetrics(SM_CXDLGFRAME);
    int outerHeight = ClientHeight + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) +
                      GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYDLGFRAME);
    int x = (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
    WindowHandle = CreateWindowExA(0, shell::kClassName, title, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                                   outerWidth, outerHeight, nullptr, nullptr, instance, nullptr);
    if (!WindowHandle) return 0;

    ShowWindow(WindowHandle, (Options & 4) ? SW_HIDE : showCommand);
    UpdateWindow(WindowHandle);
    if (!ovDraw::FullScreen && !(Options & 1)) {
        SetWindowPos(WindowHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    InstanceHandle = instance;
    SeedRandom(static_cast<std::uint32_t>(ovPlatform::CalendarTime()));
    EnableIME(0);

    App->startup();
    ResetFrameTime();
    App->activate(0);

    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return 0;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (!Active && !(Options & 2)) {
            WaitMessage();
            continue;
        }
        RunFrame();
    }
}
