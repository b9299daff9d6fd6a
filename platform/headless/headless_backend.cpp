// platform/headless/headless_backend.cpp - the headless backend: a virtual
// clock, a virtual screen and cursor, scripted input, recorded boxes.
//
// LIMITATIONS: one program window is modelled in detail (the main window);
// modal boxes do not run a message loop of their own, but a box hook may act
// while the box is "open".
// DEPENDENCIES: none beyond the platform core.

#include "platform/headless/headless.h"

#include "platform/backend.h"
#include "platform/boxes.h"
#include "platform/core/devices_internal.h"
#include "platform/core/process_internal.h"
#include "platform/core/window_internal.h"
#include "platform/sysinfo.h"
#include "platform/window.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <unistd.h>

namespace ovPlatform::headless {
namespace {

struct RemoteInstance {
    std::string className;
    std::string title;
};

struct HeadlessState {
    std::uint32_t clock = 0;
    std::uint32_t lastRead = 0;
    unsigned sameReads = 0;
    std::int64_t calendar = 1700000000;
    int localOffset = 0;
    int screenWidth = 1024;
    int screenHeight = 768;
    std::map<int, int> metrics;
    int cursorX = 0;
    int cursorY = 0;
    bool cursorVisible = true;
    bool confined = false;
    RECT confinement{};
    bool imeEnabled = true;
    std::function<void(unsigned)> frameHook;
    unsigned frameCount = 0;
    unsigned hookCalledFor = 0;
    unsigned idleLimit = 1000;
    unsigned idleWaits = 0;
    std::deque<int> answers;
    std::function<void(const BoxRecord&)> boxHook;
    std::vector<BoxRecord> boxes;
    unsigned beeps = 0;
    UINT lastBeep = 0;
    std::string instanceName;
    std::set<std::string> locks;  // names held in this Start, prefixed
    std::map<std::string, RemoteInstance> others;  // lock name -> its window
    unsigned otherRaises = 0;
    int raiseCount = 0;
    std::string executablePath;
    std::string systemDirectory = "/tmp";
    DWORD sectorsPerCluster = 8;
    DWORD bytesPerSector = 512;
    DWORD freeClusters = 262144;
    DWORD totalClusters = 1048576;
    bool diskAvailable = true;
    std::string lastDiskFolder;
    MEMORYSTATUS memory{32, 50, 268435456u, 134217728u, 536870912u, 402653184u, 2147352576u, 2000000000u};
    OSVERSIONINFOA version{148, 5, 1, 2600, VER_PLATFORM_WIN32_NT, {}};
};

HeadlessState H;
std::atomic<unsigned> startCounter{0};

std::string OwnExecutablePath()
{
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0) return "/tmp/headless-program";
    buffer[n] = '\0';
    return buffer;
}

// * * * Slots * * *

// A program that spins on the clock (a busy wait) would never see it move;
// after kSpinReads readings in a row without anything else moving it, the
// clock advances by one millisecond, so busy waits end after a known number
// of readings and everything else sees a still clock.
constexpr unsigned kSpinReads = 64;

std::uint32_t GetTicks(Backend&)
{
    if (H.clock == H.lastRead) {
        if (++H.sameReads >= kSpinReads) {
            H.sameReads = 0;
            ++H.clock;
        }
    } else {
        H.sameReads = 0;
    }
    H.lastRead = H.clock;
    return H.clock;
}
void Delay(Backend&, std::uint32_t ms) { H.clock += ms; }
std::int64_t GetCalendarTimeSlot(Backend&) { return H.calendar; }

void ShowNativeWindow(Backend&, PlatformWindow&, bool) {}
void RaiseNativeWindow(Backend&, PlatformWindow&) { ++H.raiseCount; }

void QueueEmpty(Backend&)
{
    H.sameReads = 0;  // a message loop is not a busy wait
    if (!detail::IsApplicationActive()) return;
    H.idleWaits = 0;
    unsigned next = H.frameCount + 1;
    if (H.frameHook && H.hookCalledFor != next) {
        H.hookCalledFor = next;
        H.frameHook(next);
        // If the hook queued messages they are delivered first; the frame
        // begins once the queue is empty again.
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) return;
    }
    H.frameCount = next;
}

void WaitEvents(Backend&)
{
    // Nothing can arrive from outside: give a frame hook the chance to act as
    // the user would, and end a program that would otherwise wait for ever.
    if (++H.idleWaits >= H.idleLimit) {
        std::fprintf(stderr, "headless: the program waited for input that can never come; posting WM_QUIT\n");
        H.idleWaits = 0;
        PostQuitMessage(125);
    }
}

int GetSystemMetric(Backend&, int index)
{
    if (index == SM_CXSCREEN) return H.screenWidth;
    if (index == SM_CYSCREEN) return H.screenHeight;
    auto it = H.metrics.find(index);
    return it == H.metrics.end() ? 0 : it->second;
}

bool GetCursorPosSlot(Backend&, int* x, int* y)
{
    *x = H.cursorX;
    *y = H.cursorY;
    return true;
}

void ClampToConfinement()
{
    if (!H.confined) return;
    if (H.cursorX < H.confinement.left) H.cursorX = H.confinement.left;
    if (H.cursorY < H.confinement.top) H.cursorY = H.confinement.top;
    if (H.cursorX >= H.confinement.right) H.cursorX = H.confinement.right - 1;
    if (H.cursorY >= H.confinement.bottom) H.cursorY = H.confinement.bottom - 1;
}

bool SetCursorPosSlot(Backend&, int x, int y)
{
    H.cursorX = x;
    H.cursorY = y;
    ClampToConfinement();
    return true;
}

void SetCursorVisible(Backend&, bool visible) { H.cursorVisible = visible; }

bool ClipCursorSlot(Backend&, const RECT* rect)
{
    if (!rect) {
        H.confined = false;
        return true;
    }
    H.confined = true;
    H.confinement = *rect;
    ClampToConfinement();
    return true;
}

bool EnableIME(Backend&, bool enable)
{
    H.imeEnabled = enable;
    return true;
}

int MessageBoxSlot(Backend&, PlatformWindow*, const char* text, const char* caption, UINT style)
{
    int answer;
    if (!H.answers.empty()) {
        answer = H.answers.front();
        H.answers.pop_front();
    } else {
        answer = (style & 0x0F) == MB_YESNO ? IDYES : IDOK;
    }
    H.boxes.push_back(BoxRecord{caption, text, style, answer});
    if (H.boxHook) H.boxHook(H.boxes.back());
    return answer;
}

void Beep(Backend&, UINT type)
{
    ++H.beeps;
    H.lastBeep = type;
}

int AcquireNamedLock(Backend&, const char* name, void** token)
{
    *token = nullptr;
    if (H.others.count(name)) return 1;
    std::string key = H.instanceName + "/" + name;
    if (H.locks.count(key)) return 1;
    H.locks.insert(key);
    // The token is the set's own copy of the key; it lives until release.
    *token = const_cast<std::string*>(&*H.locks.find(key));
    return 0;
}

void ReleaseNamedLock(Backend&, void* token)
{
    if (!token) return;
    H.locks.erase(*static_cast<std::string*>(token));
}

bool RaiseRemoteWindow(Backend&, const char* className, const char* title, bool probeOnly)
{
    for (auto& [lock, other] : H.others) {
        if (other.className == className && other.title == title) {
            if (!probeOnly) ++H.otherRaises;
            return true;
        }
    }
    return false;
}

bool CopyPath(const std::string& path, char* buffer, std::size_t size)
{
    if (size == 0) return false;
    std::size_t n = path.size() < size - 1 ? path.size() : size - 1;
    std::memcpy(buffer, path.data(), n);
    buffer[n] = '\0';
    return n == path.size();
}

bool GetExecutablePath(Backend&, char* buffer, std::size_t size) { return CopyPath(H.executablePath, buffer, size); }
bool GetSystemDirectorySlot(Backend&, char* buffer, std::size_t size) { return CopyPath(H.systemDirectory, buffer, size); }

long GetLocalTimeOffsetSlot(Backend&, std::int64_t) { return H.localOffset; }

bool GetDiskSpaceSlot(Backend&, const char* folder, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                      DWORD* freeClusters, DWORD* totalClusters)
{
    H.lastDiskFolder = folder ? folder : "";
    if (!H.diskAvailable) return false;
    *sectorsPerCluster = H.sectorsPerCluster;
    *bytesPerSector = H.bytesPerSector;
    *freeClusters = H.freeClusters;
    *totalClusters = H.totalClusters;
    return true;
}

void GetMemoryStatusSlot(Backend&, MEMORYSTATUS* status) { *status = H.memory; }

void GetVersionRecordSlot(Backend&, OSVERSIONINFOA* info) { *info = H.version; }

void QuitSlot(Backend&) { H.frameHook = nullptr; H.boxHook = nullptr; }

bool Create(Backend& b)
{
    H = HeadlessState{};
    H.metrics[SM_CXBORDER] = 1;
    H.metrics[SM_CYBORDER] = 1;
    H.metrics[SM_CXEDGE] = 2;
    H.metrics[SM_CYEDGE] = 2;
    H.metrics[SM_CXDLGFRAME] = 3;
    H.metrics[SM_CYDLGFRAME] = 3;
    H.metrics[SM_CYCAPTION] = 23;
    H.executablePath = OwnExecutablePath();
    char name[64];
    std::snprintf(name, sizeof(name), "headless-%ld-%u", static_cast<long>(getpid()), startCounter.fetch_add(1));
    H.instanceName = name;

    b.Quit = QuitSlot;
    b.GetTicks = GetTicks;
    b.Delay = Delay;
    b.GetCalendarTime = GetCalendarTimeSlot;
    b.ShowNativeWindow = ShowNativeWindow;
    b.RaiseNativeWindow = RaiseNativeWindow;
    b.QueueEmpty = QueueEmpty;
    b.WaitEvents = WaitEvents;
    b.GetSystemMetric = GetSystemMetric;
    b.GetCursorPos = GetCursorPosSlot;
    b.SetCursorPos = SetCursorPosSlot;
    b.SetCursorVisible = SetCursorVisible;
    b.ClipCursor = ClipCursorSlot;
    b.EnableIME = EnableIME;
    b.MessageBox = MessageBoxSlot;
    b.Beep = Beep;
    b.AcquireNamedLock = AcquireNamedLock;
    b.ReleaseNamedLock = ReleaseNamedLock;
    b.RaiseRemoteWindow = RaiseRemoteWindow;
    b.GetExecutablePath = GetExecutablePath;
    b.GetSystemDirectory = GetSystemDirectorySlot;
    b.GetLocalTimeOffset = GetLocalTimeOffsetSlot;
    b.GetDiskSpace = GetDiskSpaceSlot;
    b.GetMemoryStatus = GetMemoryStatusSlot;
    b.GetVersionRecord = GetVersionRecordSlot;
    InstallHeadlessDevices(b);
    return true;
}

}  // namespace

// * * * Control interface * * *

void SetTime(std::uint32_t ms)
{
    H.clock = ms;
    H.sameReads = 0;
}
void Advance(std::uint32_t ms)
{
    H.clock += ms;
    H.sameReads = 0;
}
std::uint32_t Now() { return H.clock; }
void SetCalendarTime(std::int64_t seconds) { H.calendar = seconds; }
std::int64_t GetCalendarTime() { return H.calendar; }
void SetLocalTimeOffset(int seconds) { H.localOffset = seconds; }
int GetLocalTimeOffset() { return H.localOffset; }

void SetScreenSize(int width, int height)
{
    H.screenWidth = width;
    H.screenHeight = height;
}
void SetSystemMetric(int index, int value) { H.metrics[index] = value; }
void SetCursorPosition(int x, int y)
{
    H.cursorX = x;
    H.cursorY = y;
}
POINT CursorPosition() { return POINT{H.cursorX, H.cursorY}; }
bool IsCursorVisible() { return H.cursorVisible; }
int CursorDisplayCount() { return detail::CursorDisplayCount(); }
bool IsCursorConfined(RECT* rect)
{
    if (rect && H.confined) *rect = H.confinement;
    return H.confined;
}
bool IsImeEnabled() { return H.imeEnabled; }

WindowInfo MainWindowInfo()
{
    WindowInfo info{};
    PlatformWindow* w = detail::MainWindow();
    if (!w) return info;
    info.exists = true;
    info.title = w->title;
    info.className = detail::WindowClassName(*w);
    info.outerX = w->outerX;
    info.outerY = w->outerY;
    info.outerWidth = w->outerWidth;
    info.outerHeight = w->outerHeight;
    info.clientX = w->clientX;
    info.clientY = w->clientY;
    info.clientWidth = w->clientWidth;
    info.clientHeight = w->clientHeight;
    info.visible = w->visible;
    info.topmost = w->topmost;
    info.minimized = w->minimized;
    info.raiseCount = H.raiseCount;
    return info;
}

void KeyDown(int vk) { detail::ReportKey(vk, true); }
void KeyUp(int vk) { detail::ReportKey(vk, false); }
void PressKey(int vk)
{
    KeyDown(vk);
    KeyUp(vk);
}

namespace {
// Puts the pointer at (x, y) of the client area; a desktop reports the move
// before a button message at a new place.
void PointerTo(int x, int y)
{
    PlatformWindow* w = detail::MainWindow();
    if (!w) return;
    int sx = w->clientX + x, sy = w->clientY + y;
    if (sx == H.cursorX && sy == H.cursorY) return;
    H.cursorX = sx;
    H.cursorY = sy;
    ClampToConfinement();
    detail::ReportMouseMove(H.cursorX - w->clientX, H.cursorY - w->clientY);
}
}  // namespace

void MoveMouse(int x, int y)
{
    PlatformWindow* w = detail::MainWindow();
    if (!w) return;
    H.cursorX = w->clientX + x;
    H.cursorY = w->clientY + y;
    ClampToConfinement();
    detail::ReportMouseMove(H.cursorX - w->clientX, H.cursorY - w->clientY);
}
void ButtonDown(int button, int x, int y)
{
    PointerTo(x, y);
    detail::ReportButton(button, true, 1, x, y);
}
void ButtonUp(int button, int x, int y)
{
    PointerTo(x, y);
    detail::ReportButton(button, false, 1, x, y);
}
void Click(int button, int x, int y)
{
    ButtonDown(button, x, y);
    ButtonUp(button, x, y);
}
void DoubleClick(int button, int x, int y)
{
    Click(button, x, y);
    PointerTo(x, y);
    detail::ReportButton(button, true, 2, x, y);
    detail::ReportButton(button, false, 2, x, y);
}
void MoveWindow(int clientX, int clientY) { detail::ReportWindowMoved(clientX, clientY); }
void Activate(bool active) { detail::ReportActivation(active); }
void CloseBox() { detail::ReportCloseRequest(); }

void SetFrameHook(std::function<void(unsigned)> hook) { H.frameHook = std::move(hook); }
unsigned FrameCount() { return H.frameCount; }
void SetIdleLimit(unsigned waits) { H.idleLimit = waits ? waits : 1; }

void QueueBoxAnswer(int answer) { H.answers.push_back(answer); }
void SetBoxHook(std::function<void(const BoxRecord&)> hook) { H.boxHook = std::move(hook); }
const std::vector<BoxRecord>& Boxes() { return H.boxes; }
void ClearBoxes() { H.boxes.clear(); }
unsigned BeepCount() { return H.beeps; }
UINT LastBeepType() { return H.lastBeep; }

void SimulateOtherInstance(const char* lockName, const char* className, const char* title)
{
    H.others[lockName] = RemoteInstance{className, title};
}
unsigned OtherInstanceRaiseCount() { return H.otherRaises; }
std::string InstanceName() { return H.instanceName; }

void SetExecutablePath(const std::string& path) { H.executablePath = path; }
void SetSystemDirectory(const std::string& path) { H.systemDirectory = path; }

void SetDiskSpace(DWORD sectorsPerCluster, DWORD bytesPerSector, DWORD freeClusters, DWORD totalClusters,
                  bool available)
{
    H.sectorsPerCluster = sectorsPerCluster;
    H.bytesPerSector = bytesPerSector;
    H.freeClusters = freeClusters;
    H.totalClusters = totalClusters;
    H.diskAvailable = available;
}
std::string LastDiskSpaceFolder() { return H.lastDiskFolder; }
void SetMemoryStatus(const MEMORYSTATUS& status) { H.memory = status; }
void SetVersionRecord(DWORD platformId, DWORD major, DWORD minor, DWORD build, const char* servicePack)
{
    H.version = OSVERSIONINFOA{148, major, minor, build, platformId, {}};
    std::snprintf(H.version.szCSDVersion, sizeof(H.version.szCSDVersion), "%s", servicePack ? servicePack : "");
}

}  // namespace ovPlatform::headless

namespace ovPlatform {
const Bootstrap headlessBootstrap = {"headless", "no display, no devices; deterministic, for tests",
                                     headless::Create};
}
