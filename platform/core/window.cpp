// platform/core/window.cpp - window classes, windows, the message queue, the
// default window procedure, the cursor's display count and the key states.
//
// One process-wide queue holds posted messages in order; WM_QUIT is queued
// like any other message. Input reported by a backend becomes the messages a
// desktop queues for it (ReportKey and friends). Sent messages call the
// window procedure at once.
//
// LIMITATIONS: top-level windows only (no parents, no menus, no painting);
// at most kMaxClasses classes and kMaxWindows windows in a process.
// DEPENDENCIES: the backend's window, event, cursor and metric slots.

#include "platform/core/window_internal.h"

#include "platform/backend.h"
#include "platform/timer.h"
#include "platform/window.h"

#include <cstring>
#include <deque>

namespace ovPlatform::detail {
namespace {

constexpr int kMaxClasses = 16;
constexpr int kMaxWindows = 16;
constexpr int kMaxQueue = 4096;  // posted messages beyond this are dropped, as a desktop does

struct WindowClass {
    bool used;
    char name[64];
    WNDCLASSA wc;
};

struct PlatformCursorRecord {
    int id;
};

struct CoreState {
    WindowClass classes[kMaxClasses];
    PlatformWindow windows[kMaxWindows];
    PlatformWindow* mainWindow;
    std::deque<MSG> queue;
    int cursorCount;        // ShowCursor's display count
    HCURSOR cursorShape;    // SetCursor's current shape; null = none
    bool cursorVisible;     // what the backend was last told
    bool keyDown[256];
    bool keyToggled[256];
    bool applicationActive;
    bool imeEnabled;
};

CoreState S{};
PlatformCursorRecord arrowCursor{32512};

HCURSOR ArrowCursor() { return reinterpret_cast<HCURSOR>(&arrowCursor); }

bool Alive(HWND hwnd)
{
    if (!hwnd) return false;
    for (auto& w : S.windows) {
        if (&w == hwnd) return w.magic == kWindowMagic;
    }
    return false;
}

WindowClass* FindClass(const char* name)
{
    if (!name) return nullptr;
    for (auto& c : S.classes) {
        if (c.used && std::strcmp(c.name, name) == 0) return &c;
    }
    return nullptr;
}

void UpdateCursorVisibility()
{
    bool visible = S.cursorCount >= 0 && S.cursorShape != nullptr;
    if (visible != S.cursorVisible) {
        S.cursorVisible = visible;
        CurrentBackend().SetCursorVisible(CurrentBackend(), visible);
    }
}

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (S.queue.size() >= static_cast<std::size_t>(kMaxQueue)) return;
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = timeGetTime();
    S.queue.push_back(m);
}

// Frame insets of a captioned window, from the metrics the outer size is
// computed with: the left, right and bottom edges share the horizontal frame
// width, the caption takes the rest of the vertical one.
void ClientInsets(DWORD style, int* left, int* top, int* extraWidth, int* extraHeight)
{
    if (!(style & WS_CAPTION)) {
        *left = *top = *extraWidth = *extraHeight = 0;
        return;
    }
    int w = GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXDLGFRAME);
    int h = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) + GetSystemMetrics(SM_CYBORDER) +
            GetSystemMetrics(SM_CYDLGFRAME);
    *extraWidth = w;
    *extraHeight = h;
    *left = w / 2;
    *top = h - w / 2;
}

}  // namespace

PlatformWindow* MainWindow() { return Alive(S.mainWindow) ? S.mainWindow : nullptr; }
bool IsApplicationActive() { return S.applicationActive; }
const char* WindowClassName(const PlatformWindow& w)
{
    if (w.remote) return static_cast<const char*>(w.native);
    return S.classes[w.classIndex].name;
}
UINT WindowClassStyle(const PlatformWindow& w) { return w.remote ? 0 : S.classes[w.classIndex].wc.style; }
int CursorDisplayCount() { return S.cursorCount; }

void ResetCoreState()
{
    S.queue.clear();
    S = CoreState{};
    S.cursorShape = ArrowCursor();
    S.cursorVisible = true;
    S.imeEnabled = true;
}

// * * * Reported input * * *

void ReportKey(int vk, bool down)
{
    if (vk <= 0 || vk > 255) return;
    bool wasDown = S.keyDown[vk];
    bool altDown = S.keyDown[VK_MENU] || vk == VK_MENU;
    if (down) {
        S.keyDown[vk] = true;
        if (!wasDown) S.keyToggled[vk] = !S.keyToggled[vk];
    } else {
        S.keyDown[vk] = false;
    }
    PlatformWindow* w = MainWindow();
    if (!w) return;
    // Repeat count 1; bit 29 Alt down, bit 30 previous state, bit 31 release.
    LPARAM lParam = 1;
    if (altDown) lParam |= KF_ALTDOWN_BIT;
    if (wasDown) lParam |= LPARAM{1} << 30;
    if (!down) lParam |= static_cast<LPARAM>(0x80000000u);
    bool system = altDown || vk == VK_F10;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    Post(w, message, static_cast<WPARAM>(vk), lParam);
}

void ReportMouseMove(int x, int y)
{
    PlatformWindow* w = MainWindow();
    if (!w) return;
    LPARAM position = MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y));
    // Consecutive moves collapse into the latest one, as a desktop does.
    if (!S.queue.empty() && S.queue.back().message == WM_MOUSEMOVE && S.queue.back().hwnd == w) {
        S.queue.back().lParam = position;
        return;
    }
    Post(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Post(w, WM_MOUSEMOVE, 0, position);
}

void ReportButton(int button, bool down, int clicks, int x, int y)
{
    PlatformWindow* w = MainWindow();
    if (button != 1 && button != 2) return;
    S.keyDown[button == 1 ? VK_LBUTTON : VK_RBUTTON] = down;
    if (!w) return;
    LPARAM position = MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y));
    bool doubleClicks = (S.classes[w->classIndex].wc.style & CS_DBLCLKS) != 0;
    UINT message;
    if (button == 1) {
        message = !down ? WM_LBUTTONUP : (clicks >= 2 && doubleClicks) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    } else {
        message = !down ? WM_RBUTTONUP : (clicks >= 2 && doubleClicks) ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    }
    Post(w, message, 0, position);
}

void ReportWindowMoved(int x, int y)
{
    PlatformWindow* w = MainWindow();
    if (!w) return;
    int left, top, extraWidth, extraHeight;
    ClientInsets(w->style, &left, &top, &extraWidth, &extraHeight);
    w->clientX = x;
    w->clientY = y;
    w->outerX = x - left;
    w->outerY = y - top;
    Post(w, WM_MOVE, 0, MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y)));
}

void ReportActivation(bool active)
{
    if (S.applicationActive == active) return;  // focus churn that changes nothing
    S.applicationActive = active;
    if (PlatformWindow* w = MainWindow()) Post(w, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

void ReportCloseRequest()
{
    if (PlatformWindow* w = MainWindow()) Post(w, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void ReportRaiseRequest()
{
    if (PlatformWindow* w = MainWindow()) CurrentBackend().RaiseNativeWindow(CurrentBackend(), *w);
}

}  // namespace ovPlatform::detail

using namespace ovPlatform;
using namespace ovPlatform::detail;

// * * * Classes and windows * * *

ATOM RegisterClassA(const WNDCLASSA* wc)
{
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName || !wc->lpfnWndProc) return 0;
    if (std::strlen(wc->lpszClassName) >= sizeof(WindowClass::name)) return 0;
    if (FindClass(wc->lpszClassName)) return 0;
    for (int i = 0; i < kMaxClasses; ++i) {
        WindowClass& c = S.classes[i];
        if (c.used) continue;
        c.used = true;
        std::strcpy(c.name, wc->lpszClassName);
        c.wc = *wc;
        c.wc.lpszClassName = c.name;
        c.wc.lpszMenuName = nullptr;  // no menu resources
        return static_cast<ATOM>(0xC000 + i);
    }
    return 0;
}

HWND CreateWindowExA(DWORD, const char* className, const char* title, DWORD style, int x, int y,
                     int width, int height, HWND, HMENU, HINSTANCE, void*)
{
    WindowClass* cls = FindClass(className);
    if (!cls) return nullptr;
    PlatformWindow* w = nullptr;
    for (auto& slot : S.windows) {
        if (slot.magic != kWindowMagic) {
            w = &slot;
            break;
        }
    }
    if (!w) return nullptr;
    *w = PlatformWindow{};
    w->classIndex = static_cast<int>(cls - S.classes);
    if (title) {
        std::strncpy(w->title, title, sizeof(w->title) - 1);
        w->title[sizeof(w->title) - 1] = '\0';
    }
    w->style = style;
    int left, top, extraWidth, extraHeight;
    ClientInsets(style, &left, &top, &extraWidth, &extraHeight);
    w->outerX = x;
    w->outerY = y;
    w->outerWidth = width;
    w->outerHeight = height;
    w->clientX = x + left;
    w->clientY = y + top;
    w->clientWidth = width - extraWidth > 0 ? width - extraWidth : 0;
    w->clientHeight = height - extraHeight > 0 ? height - extraHeight : 0;
    w->magic = kWindowMagic;
    if (!CurrentBackend().CreateNativeWindow(CurrentBackend(), *w)) {
        w->magic = 0;
        return nullptr;
    }
    if (!MainWindow()) S.mainWindow = w;
    SendMessageA(w, WM_CREATE, 0, 0);
    return w;
}

BOOL ShowWindow(HWND hwnd, int showCommand)
{
    if (!Alive(hwnd) || hwnd->remote) return FALSE;
    BOOL previous = hwnd->visible ? TRUE : FALSE;
    if (showCommand == SW_MINIMIZE) {
        CloseWindow(hwnd);
        return previous;
    }
    bool visible = showCommand != SW_HIDE;
    if (visible == hwnd->visible) return previous;
    hwnd->visible = visible;
    Backend& b = CurrentBackend();
    b.ShowNativeWindow(b, *hwnd, visible);
    if (visible) {
        b.PublishWindow(b, *hwnd);
        // A newly shown top-level window learns where its client area is and
        // becomes the active application, as on the desktop the engine was
        // made for; later moves and focus changes come from the backend.
        SendMessageA(hwnd, WM_MOVE, 0,
                     MAKELPARAM(static_cast<unsigned>(hwnd->clientX), static_cast<unsigned>(hwnd->clientY)));
        if (hwnd == MainWindow() && !S.applicationActive) {
            S.applicationActive = true;
            SendMessageA(hwnd, WM_ACTIVATEAPP, TRUE, 0);
        }
    }
    return previous;
}

BOOL UpdateWindow(HWND hwnd) { return Alive(hwnd) ? TRUE : FALSE; }

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (!Alive(hwnd) || hwnd->remote) return FALSE;
    Backend& b = CurrentBackend();
    if (insertAfter == HWND_TOPMOST) {
        hwnd->topmost = true;
        b.SetNativeWindowTopmost(b, *hwnd, true);
    }
    (void)x;
    (void)y;
    (void)cx;
    (void)cy;
    // Moving and sizing through SetWindowPos is not used by the engine: the
    // window keeps its place and size unless the flags ask for neither.
    return (flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND hwnd)
{
    if (!Alive(hwnd)) return FALSE;
    if (!hwnd->remote) {
        SendMessageA(hwnd, WM_DESTROY, 0, 0);
        CurrentBackend().DestroyNativeWindow(CurrentBackend(), *hwnd);
    }
    hwnd->magic = 0;
    if (S.mainWindow == hwnd) S.mainWindow = nullptr;
    return TRUE;
}

BOOL CloseWindow(HWND hwnd)
{
    if (!Alive(hwnd) || hwnd->remote) return FALSE;
    hwnd->minimized = true;
    CurrentBackend().MinimizeNativeWindow(CurrentBackend(), *hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Alive(hwnd) ? TRUE : FALSE; }

HWND FindWindowA(const char* className, const char* title)
{
    for (auto& w : S.windows) {
        if (w.magic != kWindowMagic || w.remote) continue;
        if (className && std::strcmp(S.classes[w.classIndex].name, className) != 0) continue;
        if (title && std::strcmp(w.title, title) != 0) continue;
        return &w;
    }
    if (!className || !title) return nullptr;
    Backend& b = CurrentBackend();
    if (!b.RaiseRemoteWindow(b, className, title, true)) return nullptr;
    // A stand-in record for the other instance's window.
    WindowClass* cls = FindClass(className);
    for (auto& slot : S.windows) {
        if (slot.magic == kWindowMagic) continue;
        slot = PlatformWindow{};
        slot.magic = kWindowMagic;
        slot.remote = true;
        slot.classIndex = cls ? static_cast<int>(cls - S.classes) : -1;
        std::strncpy(slot.title, title, sizeof(slot.title) - 1);
        // The class name of a remote window is kept in its native field.
        slot.native = const_cast<char*>(className);
        return &slot;
    }
    return nullptr;
}

BOOL SetForegroundWindow(HWND hwnd)
{
    if (!Alive(hwnd)) return FALSE;
    Backend& b = CurrentBackend();
    if (hwnd->remote) {
        return b.RaiseRemoteWindow(b, static_cast<const char*>(hwnd->native), hwnd->title, false) ? TRUE : FALSE;
    }
    b.RaiseNativeWindow(b, *hwnd);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    if (!Alive(hwnd) || hwnd->remote || !rect) return FALSE;
    *rect = RECT{0, 0, hwnd->clientWidth, hwnd->clientHeight};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point)
{
    if (!Alive(hwnd) || hwnd->remote || !point) return FALSE;
    point->x += hwnd->clientX;
    point->y += hwnd->clientY;
    return TRUE;
}

// * * * Messages * * *

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    Backend& b = CurrentBackend();
    b.PumpEvents(b);
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (auto it = S.queue.begin(); it != S.queue.end(); ++it) {
            if (hwnd && it->hwnd != hwnd && it->message != WM_QUIT) continue;
            if ((filterMin || filterMax) && (it->message < filterMin || it->message > filterMax)) continue;
            if (msg) *msg = *it;
            if (removeFlags & PM_REMOVE) S.queue.erase(it);
            return TRUE;
        }
        if (attempt == 0) b.QueueEmpty(b);
    }
    return FALSE;
}

BOOL WaitMessage()
{
    Backend& b = CurrentBackend();
    b.PumpEvents(b);
    while (S.queue.empty()) {
        b.WaitEvents(b);
        b.PumpEvents(b);
    }
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg)
{
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    int vk = static_cast<int>(msg->wParam);
    int ch = 0;
    if (vk >= 'A' && vk <= 'Z') ch = S.keyDown[VK_SHIFT] ? vk : vk - 'A' + 'a';
    else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE) ch = vk;
    else if (vk == VK_RETURN || vk == VK_TAB || vk == VK_BACK || vk == VK_ESCAPE) ch = vk == VK_RETURN ? '\r' : vk;
    if (!ch) return FALSE;
    Post(msg->hwnd, WM_CHAR, static_cast<WPARAM>(ch), msg->lParam);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (!msg || !Alive(msg->hwnd) || msg->hwnd->remote) return 0;
    return S.classes[msg->hwnd->classIndex].wc.lpfnWndProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Alive(hwnd) || hwnd->remote) return 0;
    return S.classes[hwnd->classIndex].wc.lpfnWndProc(hwnd, message, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && (!Alive(hwnd) || hwnd->remote)) return FALSE;
    if (S.queue.size() >= static_cast<std::size_t>(kMaxQueue)) return FALSE;
    Post(hwnd, message, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    Post(nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<unsigned>(exitCode)), 0);
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Alive(hwnd) || hwnd->remote) return 0;
    switch (message) {
    case WM_SYSKEYDOWN:
        if (static_cast<int>(wParam) == VK_F4 && (lParam & KF_ALTDOWN_BIT)) {
            PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT) {
            SetCursor(S.classes[hwnd->classIndex].wc.hCursor);
            return TRUE;
        }
        return FALSE;
    default:
        return 0;
    }
}

// * * * Metrics, cursor, keys * * *

int GetSystemMetrics(int index) { return CurrentBackend().GetSystemMetric(CurrentBackend(), index); }

BOOL GetCursorPos(POINT* point)
{
    if (!point) return FALSE;
    int x = 0, y = 0;
    if (!CurrentBackend().GetCursorPos(CurrentBackend(), &x, &y)) return FALSE;
    point->x = x;
    point->y = y;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) { return CurrentBackend().SetCursorPos(CurrentBackend(), x, y) ? TRUE : FALSE; }

int ShowCursor(BOOL show)
{
    S.cursorCount += show ? 1 : -1;
    UpdateCursorVisibility();
    return S.cursorCount;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR previous = S.cursorShape;
    S.cursorShape = cursor;
    UpdateCursorVisibility();
    return previous;
}

HCURSOR LoadCursorA(HINSTANCE instance, const char* name)
{
    if (!instance && name == IDC_ARROW) return ArrowCursor();
    return nullptr;
}

HICON LoadIconA(HINSTANCE, const char*) { return nullptr; }

BOOL ClipCursor(const RECT* rect) { return CurrentBackend().ClipCursor(CurrentBackend(), rect) ? TRUE : FALSE; }

SHORT GetKeyState(int vk)
{
    if (vk <= 0 || vk > 255) return 0;
    unsigned v = 0;
    if (S.keyDown[vk]) v |= 0xFF80u;
    if (S.keyToggled[vk]) v |= 1u;
    return static_cast<SHORT>(v);
}

BOOL WINNLSEnableIME(HWND, BOOL enable)
{
    BOOL previous = S.imeEnabled ? TRUE : FALSE;
    S.imeEnabled = enable != FALSE;
    CurrentBackend().EnableIME(CurrentBackend(), S.imeEnabled);
    return previous;
}
