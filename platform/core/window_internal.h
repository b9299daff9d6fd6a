// platform/core/window_internal.h - the window and event records the core and
// the backends share. Not for the engine.
#pragma once

#include "platform/backend.h"
#include "platform/window.h"

#include <cstdint>

struct PlatformWindow {
    std::uint32_t magic;  // kWindowMagic while alive
    int classIndex;
    char title[256];      // Shift-JIS
    DWORD style;
    int outerX, outerY, outerWidth, outerHeight;
    int clientX, clientY;  // client origin, screen coordinates
    int clientWidth, clientHeight;
    bool visible;
    bool topmost;
    bool minimized;
    bool remote;  // a window of another instance, found by FindWindowA
    void* native; // backend data
};

namespace ovPlatform::detail {

inline constexpr std::uint32_t kWindowMagic = 0x57494E44;  // "WIND"

// * * * What backends report * * *
// Each call turns one input event into the window messages a desktop would
// queue for it, for the program's main window.

// A key went down or up (virtual-key code). Alt held (or the key is Alt or
// F10) makes it a system key message; keeps the key-state table.
void ReportKey(int virtualKey, bool down);
// Pointer at (x, y) in client coordinates: WM_SETCURSOR, then WM_MOUSEMOVE.
void ReportMouseMove(int x, int y);
// Button 1 left, 2 right; clicks 2 for the second press of a double click.
void ReportButton(int button, bool down, int clicks, int x, int y);
// The client origin moved to (x, y), screen coordinates: WM_MOVE.
void ReportWindowMoved(int x, int y);
// The application gained or lost the focus: WM_ACTIVATEAPP.
void ReportActivation(bool active);
// The window's close box: WM_CLOSE.
void ReportCloseRequest();
// Another instance asked this one to come to the front.
void ReportRaiseRequest();

PlatformWindow* MainWindow();
const char* WindowClassName(const PlatformWindow& window);
UINT WindowClassStyle(const PlatformWindow& window);    // the first window created and not destroyed
bool IsApplicationActive();      // the last WM_ACTIVATEAPP state
int CursorDisplayCount();
void ResetCoreState();           // forget every window, message, key and count

}  // namespace ovPlatform::detail
