// platform/window.h - the window, its message queue, the cursor and the keys.
//
// One process-wide message queue feeds every window. Backends turn native
// events (SDL events, or a test's script on the headless backend) into the
// messages below; PeekMessageA pumps the backend first, so a message loop
// sees input as soon as it arrives. Messages are dispatched to the window
// procedure of the window's class; DefWindowProcA gives the default handling
// the engine relies on (Alt+F4 and the close box end in WM_CLOSE, WM_CLOSE
// destroys the window, WM_SETCURSOR shows the class cursor).
//
// Coordinates: client coordinates for mouse messages, screen coordinates for
// the cursor calls and WM_MOVE's client origin.
#pragma once

#include "platform/types.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

// * * * Messages * * *

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;        // lParam: client origin x (low), y (high), 16 bits each
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;        // wParam: exit code
inline constexpr UINT WM_ACTIVATEAPP = 0x001C; // wParam: TRUE activated, FALSE deactivated
inline constexpr UINT WM_SETCURSOR = 0x0020;   // lParam low: hit-test code
inline constexpr UINT WM_KEYDOWN = 0x0100;     // wParam: virtual-key code
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;  // keys pressed with Alt held, F10, Alt itself
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;   // lParam: client x (low), y (high)
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT MM_MCINOTIFY = 0x03B9;   // wParam: notification code
inline constexpr UINT WM_USER = 0x0400;

inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr LPARAM HTCLIENT = 1;
inline constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 0x0001;

// Bit 29 of a key message's lParam: the Alt key was down.
inline constexpr LPARAM KF_ALTDOWN_BIT = LPARAM{1} << 29;

// * * * Virtual-key codes * * *
// Letters and digits are their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).

inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_RBUTTON = 0x02;
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;  // Alt
inline constexpr int VK_PAUSE = 0x13;
inline constexpr int VK_CAPITAL = 0x14;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;  // Page Up
inline constexpr int VK_NEXT = 0x22;   // Page Down
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_NUMPAD0 = 0x60;  // through VK_NUMPAD9 = 0x69
inline constexpr int VK_MULTIPLY = 0x6A;
inline constexpr int VK_ADD = 0x6B;
inline constexpr int VK_SUBTRACT = 0x6D;
inline constexpr int VK_DECIMAL = 0x6E;
inline constexpr int VK_DIVIDE = 0x6F;
inline constexpr int VK_F1 = 0x70;  // through VK_F12 = 0x7B
inline constexpr int VK_F4 = 0x73;
inline constexpr int VK_F10 = 0x79;
inline constexpr int VK_F12 = 0x7B;
inline constexpr int VK_NUMLOCK = 0x90;

// * * * Window and class styles * * *

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_DBLCLKS = 0x0008;

inline constexpr DWORD WS_POPUP = 0x80000000u;
inline constexpr DWORD WS_CAPTION = 0x00C00000u;
inline constexpr DWORD WS_SYSMENU = 0x00080000u;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000u;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000u;
inline constexpr DWORD WS_THICKFRAME = 0x00040000u;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;

inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// * * * System metrics * * *

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;

// * * * Cursor and icons * * *

inline const char* const IDC_ARROW = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(32512));

// * * * Window class and window * * *

ATOM RegisterClassA(const WNDCLASSA* wc);  // 0 when the name is empty or taken
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title, DWORD style,
                     int x, int y, int width, int height,  // outer rectangle, screen coordinates
                     HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL ShowWindow(HWND hwnd, int showCommand);   // previous visibility
BOOL UpdateWindow(HWND hwnd);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL DestroyWindow(HWND hwnd);                 // sends WM_DESTROY, then the handle is dead
BOOL CloseWindow(HWND hwnd);                   // minimises the window
BOOL IsWindow(HWND hwnd);
// Finds a window by class and title, in this process or (SDL backend) in
// another instance of this user's session; the handle may name a window of
// another process, so only SetForegroundWindow may be called on it.
HWND FindWindowA(const char* className, const char* title);
BOOL SetForegroundWindow(HWND hwnd);
BOOL GetClientRect(HWND hwnd, RECT* rect);     // (0, 0, width, height)
BOOL ClientToScreen(HWND hwnd, POINT* point);

// * * * Message queue * * *

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);  // never waits
BOOL WaitMessage();  // blocks until the queue holds a message
BOOL TranslateMessage(const MSG* msg);  // posts WM_CHAR for printable key presses
LRESULT DispatchMessageA(const MSG* msg);
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);  // calls the procedure now
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// * * * Metrics, cursor, keys, input method * * *

int GetSystemMetrics(int index);
BOOL GetCursorPos(POINT* point);  // screen coordinates
BOOL SetCursorPos(int x, int y);
int ShowCursor(BOOL show);  // the new display count; the cursor shows while it is >= 0
HCURSOR SetCursor(HCURSOR cursor);  // null removes the cursor shape; returns the previous one
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);  // IDC_ARROW with a null instance
HICON LoadIconA(HINSTANCE instance, const char* name);  // the executable has no icon resources: null
BOOL ClipCursor(const RECT* rect);  // null frees the cursor
SHORT GetKeyState(int virtualKey);  // bit 0x8000 (0x80 in the low byte too): down; bit 1: toggled
BOOL WINNLSEnableIME(HWND hwnd, BOOL enable);  // the previous state
