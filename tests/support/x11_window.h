// tests/support/x11_window.h - driving a real program window on an X display
// (Xvfb in CI) from a test: find it by title, read its size and pixels,
// press keys, ask it to close as the window manager's close button does.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace ovtest::x11 {

struct Window {
    unsigned long id = 0;
    int width = 0;
    int height = 0;
};

// Opens the display named by DISPLAY; false when there is none.
bool Open();
void Close();
// All top-level windows whose UTF-8 title (_NET_WM_NAME or WM_NAME) is title.
std::vector<Window> FindByTitle(const std::string& title);
// Waits up to timeoutMs for exactly one such window.
bool WaitForWindow(const std::string& title, int timeoutMs, Window* found);
// The window's pixels as 0xRRGGBB, row by row.
std::vector<unsigned> Capture(const Window& w);
// Key press and release with the X keysym (XStringToKeysym names: "space", "Escape").
void PressKey(const Window& w, const char* keysymName);
// WM_DELETE_WINDOW, as a window manager sends for the close button.
void RequestClose(const Window& w);

// Starts a program; returns its pid.
pid_t Spawn(const std::string& path, const std::vector<std::string>& args = {});
// Waits up to timeoutMs; the exit status, or -1 on timeout (then it is killed).
int WaitExit(pid_t pid, int timeoutMs);
// Processor time (user + system) the process has used, in seconds.
double CpuSeconds(pid_t pid);

}  // namespace ovtest::x11
