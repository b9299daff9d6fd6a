// tests/support/x11_window.cpp - Xlib helpers for the window tests.
//
// DEPENDENCIES: Xlib. Key presses are sent as synthetic key events to the
// focused window, which SDL's X11 backend accepts like real ones.

#include "tests/support/x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ovtest::x11 {
namespace {

Display* display = nullptr;

// Windows come and go while a test looks at them: a request about a window
// that has just gone is not an error for the test.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

std::string TitleOf(::Window w)
{
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(display, w, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

void Collect(::Window w, const std::string& title, std::vector<Window>& out, int depth)
{
    if (depth > 3) return;
    ::Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(display, w, &root, &parent, &children, &n)) return;
    for (unsigned i = 0; i < n; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable &&
            TitleOf(children[i]) == title) {
            out.push_back(Window{children[i], a.width, a.height});
        }
        Collect(children[i], title, out, depth + 1);
    }
    if (children) XFree(children);
}

}  // namespace

bool Open()
{
    if (!display) display = XOpenDisplay(nullptr);
    if (display) XSetErrorHandler(IgnoreErrors);
    return display != nullptr;
}

void Close()
{
    if (display) XCloseDisplay(display);
    display = nullptr;
}

std::vector<Window> FindByTitle(const std::string& title)
{
    std::vector<Window> out;
    XSync(display, False);
    Collect(DefaultRootWindow(display), title, out, 0);
    return out;
}

bool WaitForWindow(const std::string& title, int timeoutMs, Window* found)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        auto windows = FindByTitle(title);
        if (windows.size() == 1) {
            *found = windows[0];
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::vector<unsigned> Capture(const Window& w)
{
    std::vector<unsigned> pixels;
    XImage* image = XGetImage(display, w.id, 0, 0, static_cast<unsigned>(w.width), static_cast<unsigned>(w.height),
                              AllPlanes, ZPixmap);
    if (!image) return pixels;
    pixels.reserve(static_cast<std::size_t>(w.width) * static_cast<std::size_t>(w.height));
    for (int y = 0; y < w.height; ++y) {
        for (int x = 0; x < w.width; ++x) pixels.push_back(static_cast<unsigned>(XGetPixel(image, x, y)) & 0xFFFFFF);
    }
    XDestroyImage(image);
    return pixels;
}

void PressKey(const Window& w, const char* keysymName)
{
    KeySym sym = XStringToKeysym(keysymName);
    XKeyEvent e{};
    e.display = display;
    e.window = w.id;
    e.root = DefaultRootWindow(display);
    e.subwindow = None;
    e.time = CurrentTime;
    e.same_screen = True;
    e.keycode = XKeysymToKeycode(display, sym);
    e.type = KeyPress;
    XSendEvent(display, w.id, True, KeyPressMask, reinterpret_cast<XEvent*>(&e));
    e.type = KeyRelease;
    XSendEvent(display, w.id, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&e));
    XFlush(display);
}

void RequestClose(const Window& w)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w.id;
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, w.id, False, NoEventMask, &e);
    XFlush(display);
}

pid_t Spawn(const std::string& path, const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

int WaitExit(pid_t pid, int timeoutMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

double CpuSeconds(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(f, line);
    auto close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream rest(line.substr(close + 2));
    std::string field;
    unsigned long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoul(field);
        if (i == 15) stime = std::stoul(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace ovtest::x11
