// platform/core/backend.cpp - choosing, starting and stopping a backend, and
// the Default* slots that make every backend slot safe to call.

#include "platform/backend.h"

#include "platform/boxes.h"
#include "platform/core/process_internal.h"
#include "platform/core/sysinfo_internal.h"
#include "platform/core/window_internal.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ovPlatform {
namespace {

const Bootstrap* const bootstrap[] = {&sdlBootstrap, &headlessBootstrap, nullptr};

Backend current{};
bool started = false;

// * * * Defaults for empty slots: do nothing, report "not available" * * *

void DefaultQuit(Backend&) {}
std::uint32_t DefaultGetTicks(Backend&) { return 0; }
void DefaultDelay(Backend&, std::uint32_t) {}
std::int64_t DefaultGetCalendarTime(Backend&) { return 0; }
bool DefaultCreateNativeWindow(Backend&, PlatformWindow&) { return true; }
void DefaultWindowOp(Backend&, PlatformWindow&) {}
void DefaultShowNativeWindow(Backend&, PlatformWindow&, bool) {}
void DefaultPumpEvents(Backend&) {}
void DefaultWaitEvents(Backend&) {}
void DefaultQueueEmpty(Backend&) {}
int DefaultGetSystemMetric(Backend&, int) { return 0; }
bool DefaultGetCursorPos(Backend&, int* x, int* y)
{
    *x = *y = 0;
    return true;
}
bool DefaultSetCursorPos(Backend&, int, int) { return false; }
void DefaultSetCursorVisible(Backend&, bool) {}
bool DefaultClipCursor(Backend&, const RECT*) { return true; }
bool DefaultEnableIME(Backend&, bool) { return true; }
int DefaultMessageBox(Backend&, PlatformWindow*, const char*, const char*, UINT) { return 0; }
void DefaultBeep(Backend&, UINT) {}
int DefaultAcquireNamedLock(Backend&, const char*, void** token)
{
    *token = nullptr;
    return 0;
}
void DefaultReleaseNamedLock(Backend&, void*) {}
void DefaultPublishWindow(Backend&, PlatformWindow&) {}
bool DefaultRaiseRemoteWindow(Backend&, const char*, const char*, bool) { return false; }
bool DefaultGetPath(Backend&, char* buffer, std::size_t size)
{
    if (size) buffer[0] = '\0';
    return false;
}

void FillDefaults(Backend& b)
{
    if (!b.Quit) b.Quit = DefaultQuit;
    if (!b.GetTicks) b.GetTicks = DefaultGetTicks;
    if (!b.Delay) b.Delay = DefaultDelay;
    if (!b.GetCalendarTime) b.GetCalendarTime = DefaultGetCalendarTime;
    if (!b.CreateNativeWindow) b.CreateNativeWindow = DefaultCreateNativeWindow;
    if (!b.DestroyNativeWindow) b.DestroyNativeWindow = DefaultWindowOp;
    if (!b.ShowNativeWindow) b.ShowNativeWindow = DefaultShowNativeWindow;
    if (!b.SetNativeWindowTopmost) b.SetNativeWindowTopmost = DefaultShowNativeWindow;
    if (!b.MinimizeNativeWindow) b.MinimizeNativeWindow = DefaultWindowOp;
    if (!b.RaiseNativeWindow) b.RaiseNativeWindow = DefaultWindowOp;
    if (!b.PumpEvents) b.PumpEvents = DefaultPumpEvents;
    if (!b.WaitEvents) b.WaitEvents = DefaultWaitEvents;
    if (!b.QueueEmpty) b.QueueEmpty = DefaultQueueEmpty;
    if (!b.GetSystemMetric) b.GetSystemMetric = DefaultGetSystemMetric;
    if (!b.GetCursorPos) b.GetCursorPos = DefaultGetCursorPos;
    if (!b.SetCursorPos) b.SetCursorPos = DefaultSetCursorPos;
    if (!b.SetCursorVisible) b.SetCursorVisible = DefaultSetCursorVisible;
    if (!b.ClipCursor) b.ClipCursor = DefaultClipCursor;
    if (!b.EnableIME) b.EnableIME = DefaultEnableIME;
    if (!b.MessageBox) b.MessageBox = DefaultMessageBox;
    if (!b.Beep) b.Beep = DefaultBeep;
    if (!b.AcquireNamedLock) b.AcquireNamedLock = DefaultAcquireNamedLock;
    if (!b.ReleaseNamedLock) b.ReleaseNamedLock = DefaultReleaseNamedLock;
    if (!b.PublishWindow) b.PublishWindow = DefaultPublishWindow;
    if (!b.RaiseRemoteWindow) b.RaiseRemoteWindow = DefaultRaiseRemoteWindow;
    if (!b.GetExecutablePath) b.GetExecutablePath = DefaultGetPath;
    if (!b.GetSystemDirectory) b.GetSystemDirectory = DefaultGetPath;
    // The system queries default to asking the real system (a backend that
    // must not, such as the headless one, fills its own).
    if (!b.GetLocalTimeOffset) b.GetLocalTimeOffset = detail::SystemLocalTimeOffset;
    if (!b.GetDiskSpace) b.GetDiskSpace = detail::SystemDiskSpace;
    if (!b.GetMemoryStatus) b.GetMemoryStatus = detail::SystemMemoryStatus;
    if (!b.GetVersionRecord) b.GetVersionRecord = detail::SystemVersionRecord;
}

}  // namespace

Backend& CurrentBackend()
{
    if (!started) {
        std::fprintf(stderr, "ovPlatform: a platform service was called before ovPlatform::Start\n");
        std::abort();
    }
    return current;
}

bool Start(const char* backendName, const char** reason)
{
    static const char* kNoBackend = "unknown platform backend";
    static const char* kUnavailable = "the platform backend is not available here";
    if (started) Stop();
    for (const Bootstrap* const* entry = bootstrap; *entry; ++entry) {
        if (std::strcmp((*entry)->name, backendName) != 0) continue;
        current = Backend{};
        current.name = (*entry)->name;
        detail::ResetCoreState();
        detail::ResetProcessState();
        detail::SetStartFailureReason(nullptr);
        if (!(*entry)->create(current)) {
            if (reason) *reason = detail::StartFailureReason() ? detail::StartFailureReason() : kUnavailable;
            current = Backend{};
            return false;
        }
        FillDefaults(current);
        started = true;
        return true;
    }
    if (reason) *reason = kNoBackend;
    return false;
}

void Stop()
{
    if (!started) return;
    detail::ReleaseAllNamedLocks();
    for (int i = 0; i < 64; ++i) {
        PlatformWindow* w = detail::MainWindow();
        if (!w) break;
        DestroyWindow(w);
    }
    current.Quit(current);
    current = Backend{};
    started = false;
}

bool IsStarted() { return started; }

}  // namespace ovPlatform
