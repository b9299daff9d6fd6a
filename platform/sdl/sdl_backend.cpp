// platform/sdl/sdl_backend.cpp - the SDL2 backend: a real window on the
// desktop, its events, the pointer, message boxes, and the per-user
// single-instance lock with its "come to the front" channel.
//
// Single instance: a named lock is an flock()ed file in the user's runtime
// directory. A shown window is published on an abstract Unix socket named
// after the user, its class and its title; another instance that finds the
// socket connects and sends 'R', and a small listener thread turns that into
// an SDL user event, which the engine's thread handles in PumpEvents by
// raising the window. That thread touches nothing but the socket and
// SDL_PushEvent (which is thread-safe).
//
// LIMITATIONS: X11 and Wayland through SDL; window placement and stacking are
// the window manager's last word.
// DEPENDENCIES: SDL2 (2.0.18 or later for the pointer confinement).

#include "platform/backend.h"
#include "platform/boxes.h"
#include "platform/core/devices_internal.h"
#include "platform/core/process_internal.h"
#include "platform/core/sjis.h"
#include "platform/core/window_internal.h"
#include "platform/sdl/sdl_internal.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace ovPlatform::sdl {
namespace {

struct NamedLock {
    int fd;
};

// The listener thread is held by pointer: a process that ends without
// stopping the backend (an X I/O error, say) must not destroy a joinable thread.
struct Publication {
    int socket = -1;
    std::thread* listener = nullptr;
};

struct SdlState {
    Uint32 raiseEvent = 0;
    bool quitSeen = false;
    Publication publication;
};

SdlState G;

std::uint64_t Fnv1a(const std::string& text)
{
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string RuntimeDirectory()
{
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (dir && *dir) return dir;
    return "/tmp";
}

// The abstract socket address of a published window.
socklen_t WindowAddress(const char* className, const char* title, sockaddr_un* address)
{
    std::memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    char name[96];
    std::snprintf(name, sizeof(name), "ovwindow-%u-%016llx", static_cast<unsigned>(getuid()),
                  static_cast<unsigned long long>(Fnv1a(std::string(className) + '\x1f' + title)));
    std::size_t n = std::strlen(name);
    std::memcpy(address->sun_path + 1, name, n);  // sun_path[0] = 0: abstract namespace
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

// * * * Time * * *

std::uint32_t GetTicks(Backend&) { return static_cast<std::uint32_t>(SDL_GetTicks64()); }
void Delay(Backend&, std::uint32_t ms) { SDL_Delay(ms); }
std::int64_t GetCalendarTime(Backend&) { return static_cast<std::int64_t>(std::time(nullptr)); }

// * * * Windows * * *

bool CreateNativeWindow(Backend&, PlatformWindow& w)
{
    std::string title = SjisToUtf8(w.title);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), w.clientX, w.clientY, w.clientWidth > 0 ? w.clientWidth : 1,
                                          w.clientHeight > 0 ? w.clientHeight : 1, SDL_WINDOW_HIDDEN);
    if (!window) return false;
    w.native = window;
    return true;
}

void DestroyNativeWindow(Backend&, PlatformWindow& w)
{
    if (w.native) SDL_DestroyWindow(static_cast<SDL_Window*>(w.native));
    w.native = nullptr;
}

void ShowNativeWindow(Backend&, PlatformWindow& w, bool visible)
{
    auto* window = static_cast<SDL_Window*>(w.native);
    if (visible) {
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
    } else {
        SDL_HideWindow(window);
    }
}

void SetNativeWindowTopmost(Backend&, PlatformWindow& w, bool topmost)
{
    SDL_SetWindowAlwaysOnTop(static_cast<SDL_Window*>(w.native), topmost ? SDL_TRUE : SDL_FALSE);
}

void MinimizeNativeWindow(Backend&, PlatformWindow& w) { SDL_MinimizeWindow(static_cast<SDL_Window*>(w.native)); }

void RaiseNativeWindow(Backend&, PlatformWindow& w)
{
    auto* window = static_cast<SDL_Window*>(w.native);
    if (w.minimized) {
        SDL_RestoreWindow(window);
        w.minimized = false;
    }
    SDL_RaiseWindow(window);
}

// * * * Events * * *

void HandleEvent(const SDL_Event& e)
{
    if (G.raiseEvent && e.type == G.raiseEvent) {
        detail::ReportRaiseRequest();
        return;
    }
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int vk = VirtualKeyFromScancode(e.key.keysym.scancode);
        if (vk) detail::ReportKey(vk, e.type == SDL_KEYDOWN);
        break;
    }
    case SDL_MOUSEMOTION:
        detail::ReportMouseMove(e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int button = e.button.button == SDL_BUTTON_LEFT ? 1 : e.button.button == SDL_BUTTON_RIGHT ? 2 : 0;
        if (button) detail::ReportButton(button, e.type == SDL_MOUSEBUTTONDOWN, e.button.clicks, e.button.x, e.button.y);
        break;
    }
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_MOVED:
            detail::ReportWindowMoved(e.window.data1, e.window.data2);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            detail::ReportActivation(true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            detail::ReportActivation(false);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (PlatformWindow* w = detail::MainWindow()) w->minimized = true;
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (PlatformWindow* w = detail::MainWindow()) w->minimized = false;
            break;
        case SDL_WINDOWEVENT_CLOSE:
            detail::ReportCloseRequest();
            break;
        default:
            break;
        }
        break;
    case SDL_QUIT:
        // The session asks the program to end (SIGINT, SIGTERM, logout): the
        // same road as the close box, once.
        if (!G.quitSeen) {
            G.quitSeen = true;
            detail::ReportCloseRequest();
        }
        break;
    default:
        break;
    }
}

void PumpEvents(Backend&)
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(e);
}

void WaitEvents(Backend&) { SDL_WaitEvent(nullptr); }

// * * * Screen, cursor, keys * * *

int GetSystemMetric(Backend&, int index)
{
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return index == SM_CXSCREEN ? 1024 : 768;
        return index == SM_CXSCREEN ? mode.w : mode.h;
    }
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CYCAPTION:
        return 23;
    default:
        return 0;
    }
}

bool GetCursorPos(Backend&, int* x, int* y)
{
    SDL_GetGlobalMouseState(x, y);
    return true;
}

bool SetCursorPos(Backend&, int x, int y) { return SDL_WarpMouseGlobal(x, y) == 0; }

void SetCursorVisible(Backend&, bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

bool ClipCursor(Backend&, const RECT* rect)
{
    PlatformWindow* w = detail::MainWindow();
    if (!w || !w->native) return rect == nullptr;
    auto* window = static_cast<SDL_Window*>(w->native);
    if (!rect) return SDL_SetWindowMouseRect(window, nullptr) == 0;
    SDL_Rect r{rect->left - w->clientX, rect->top - w->clientY, rect->right - rect->left, rect->bottom - rect->top};
    return SDL_SetWindowMouseRect(window, &r) == 0;
}

bool EnableIME(Backend&, bool enable)
{
    if (enable) SDL_StartTextInput();
    else SDL_StopTextInput();
    return true;
}

// * * * Boxes * * *

int MessageBox(Backend&, PlatformWindow* owner, const char* text, const char* caption, UINT style)
{
    std::string utf8Text = SjisToUtf8(text);
    std::string utf8Caption = SjisToUtf8(caption);
    // The box's words also go to standard error, for a program started from a terminal.
    std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    UINT icon = style & 0xF0;
    if (icon == MB_ICONHAND) flags = SDL_MESSAGEBOX_ERROR;
    else if (icon == MB_ICONEXCLAMATION) flags = SDL_MESSAGEBOX_WARNING;
    SDL_MessageBoxButtonData buttons[2];
    int count;
    if ((style & 0x0F) == MB_YESNO) {
        buttons[0] = SDL_MessageBoxButtonData{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "はい"};
        buttons[1] = SDL_MessageBoxButtonData{SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "いいえ"};
        count = 2;
    } else {
        buttons[0] = SDL_MessageBoxButtonData{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                                              IDOK, "OK"};
        count = 1;
    }
    SDL_MessageBoxData data{};
    data.flags = flags;
    data.window = owner ? static_cast<SDL_Window*>(owner->native) : nullptr;
    data.title = utf8Caption.c_str();
    data.message = utf8Text.c_str();
    data.numbuttons = count;
    data.buttons = buttons;
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) return 0;
    if (pressed < 0) return (style & 0x0F) == MB_YESNO ? IDNO : IDOK;  // closed by the window manager
    return pressed;
}

// * * * Instances * * *

int AcquireNamedLock(Backend&, const char* name, void** token)
{
    *token = nullptr;
    char path[512];
    std::snprintf(path, sizeof(path), "%s/ovlock-%u-%016llx.lock", RuntimeDirectory().c_str(),
                  static_cast<unsigned>(getuid()), static_cast<unsigned long long>(Fnv1a(name)));
    int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(fd);
        return error == EWOULDBLOCK ? 1 : -1;
    }
    *token = new NamedLock{fd};
    return 0;
}

void ReleaseNamedLock(Backend&, void* token)
{
    auto* lock = static_cast<NamedLock*>(token);
    if (!lock) return;
    flock(lock->fd, LOCK_UN);
    close(lock->fd);
    delete lock;
}

void Listen(int server, Uint32 raiseEvent)
{
    for (;;) {
        int client = accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR) continue;
            return;  // the socket was shut down
        }
        char request = 0;
        if (read(client, &request, 1) == 1 && request == 'R') {
            SDL_Event e{};
            e.type = raiseEvent;
            SDL_PushEvent(&e);
            const char reply = 'K';
            ssize_t ignored = write(client, &reply, 1);
            (void)ignored;
        }
        close(client);
    }
}

void StopPublication()
{
    if (G.publication.socket >= 0) {
        shutdown(G.publication.socket, SHUT_RDWR);
        if (G.publication.listener) {
            G.publication.listener->join();
            delete G.publication.listener;
            G.publication.listener = nullptr;
        }
        close(G.publication.socket);
        G.publication.socket = -1;
    }
}

void PublishWindow(Backend&, PlatformWindow& w)
{
    if (G.publication.socket >= 0 || !G.raiseEvent) return;
    sockaddr_un address;
    socklen_t length = WindowAddress(detail::WindowClassName(w), w.title, &address);
    int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (server < 0) return;
    if (bind(server, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(server, 4) != 0) {
        close(server);  // another instance already published this window
        return;
    }
    G.publication.socket = server;
    G.publication.listener = new std::thread(Listen, server, G.raiseEvent);
}

bool RaiseRemoteWindow(Backend&, const char* className, const char* title, bool probeOnly)
{
    sockaddr_un address;
    socklen_t length = WindowAddress(className, title, &address);
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    bool found = connect(s, reinterpret_cast<sockaddr*>(&address), length) == 0;
    if (found && !probeOnly) {
        const char request = 'R';
        char reply = 0;
        found = write(s, &request, 1) == 1 && read(s, &reply, 1) == 1 && reply == 'K';
    }
    close(s);
    return found;
}

// * * * Files * * *

bool GetExecutablePath(Backend&, char* buffer, std::size_t size)
{
    if (size == 0) return false;
    ssize_t n = readlink("/proc/self/exe", buffer, size - 1);
    if (n <= 0) {
        buffer[0] = '\0';
        return false;
    }
    buffer[n] = '\0';
    return static_cast<std::size_t>(n) < size - 1;
}

// The per-user directory the engine treats as its system directory:
// $XDG_CONFIG_HOME/ovengine, or ~/.config/ovengine; made on first use.
bool GetSystemDirectory(Backend&, char* buffer, std::size_t size)
{
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (config && *config) base = config;
    else if (home && *home) base = std::string(home) + "/.config";
    else base = "/tmp";
    mkdir(base.c_str(), 0700);
    std::string dir = base + "/ovengine";
    mkdir(dir.c_str(), 0700);
    if (size == 0 || dir.size() >= size) return false;
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return true;
}

void Quit(Backend&)
{
    StopPublication();
    SDL_Quit();
    G = SdlState{};
}

bool Create(Backend& b)
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    static const char* kNoDisplay =
        "no display: neither DISPLAY nor WAYLAND_DISPLAY is set (run it on a desktop, or under xvfb-run)";
    static const char* kNoVideo =
        "the display named by DISPLAY / WAYLAND_DISPLAY cannot be opened (run it on a desktop, or under xvfb-run)";
    if ((!x11 || !*x11) && (!wayland || !*wayland)) {
        detail::SetStartFailureReason(kNoDisplay);
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        detail::SetStartFailureReason(kNoVideo);
        return false;
    }
    G = SdlState{};
    G.raiseEvent = SDL_RegisterEvents(1);
    if (G.raiseEvent == static_cast<Uint32>(-1)) G.raiseEvent = 0;
    SDL_StopTextInput();
    SDL_StartTextInput();

    b.Quit = Quit;
    b.GetTicks = GetTicks;
    b.Delay = Delay;
    b.GetCalendarTime = GetCalendarTime;
    b.CreateNativeWindow = CreateNativeWindow;
    b.DestroyNativeWindow = DestroyNativeWindow;
    b.ShowNativeWindow = ShowNativeWindow;
    b.SetNativeWindowTopmost = SetNativeWindowTopmost;
    b.MinimizeNativeWindow = MinimizeNativeWindow;
    b.RaiseNativeWindow = RaiseNativeWindow;
    b.PumpEvents = PumpEvents;
    b.WaitEvents = WaitEvents;
    b.GetSystemMetric = GetSystemMetric;
    b.GetCursorPos = GetCursorPos;
    b.SetCursorPos = SetCursorPos;
    b.SetCursorVisible = SetCursorVisible;
    b.ClipCursor = ClipCursor;
    b.EnableIME = EnableIME;
    b.MessageBox = MessageBox;
    b.AcquireNamedLock = AcquireNamedLock;
    b.ReleaseNamedLock = ReleaseNamedLock;
    b.PublishWindow = PublishWindow;
    b.RaiseRemoteWindow = RaiseRemoteWindow;
    b.GetExecutablePath = GetExecutablePath;
    b.GetSystemDirectory = GetSystemDirectory;
    InstallSdlDevices(b);
    return true;
}

}  // namespace
}  // namespace ovPlatform::sdl

namespace ovPlatform {
const Bootstrap sdlBootstrap = {"sdl", "a real desktop window through SDL2", sdl::Create};
}
