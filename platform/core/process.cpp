// platform/core/process.cpp - named mutexes over the backend's per-user locks,
// the last-error word, the module file name, the clock and the boxes.

#include "platform/core/process_internal.h"
#include "platform/core/window_internal.h"

#include "platform/backend.h"
#include "platform/boxes.h"
#include "platform/process.h"
#include "platform/timer.h"

#include <cstring>

struct PlatformObject {
    bool used;
    bool owned;    // this process owns the mutex (ReleaseMutex gives it up)
    bool holding;  // this process holds the backend's lock
    void* token;
};

namespace ovPlatform::detail {
namespace {

constexpr int kMaxObjects = 32;

struct ProcessState {
    PlatformObject objects[kMaxObjects];
    DWORD lastError;
    const char* startFailure;
};

ProcessState P{};

bool ValidObject(HANDLE h)
{
    for (auto& o : P.objects) {
        if (&o == h) return o.used;
    }
    return false;
}

}  // namespace

void ResetProcessState()
{
    const char* failure = P.startFailure;
    P = ProcessState{};
    P.startFailure = failure;
}

void ReleaseAllNamedLocks()
{
    for (auto& o : P.objects) {
        if (o.used && o.holding) CurrentBackend().ReleaseNamedLock(CurrentBackend(), o.token);
        o = PlatformObject{};
    }
}

void SetStartFailureReason(const char* reason) { P.startFailure = reason; }
const char* StartFailureReason() { return P.startFailure; }

}  // namespace ovPlatform::detail

using namespace ovPlatform;
using namespace ovPlatform::detail;

HANDLE CreateMutexA(void*, BOOL initialOwner, const char* name)
{
    PlatformObject* o = nullptr;
    for (auto& slot : P.objects) {
        if (!slot.used) {
            o = &slot;
            break;
        }
    }
    if (!o) {
        P.lastError = 8;  // not enough memory
        return nullptr;
    }
    *o = PlatformObject{};
    if (!name || !*name) {
        // An unnamed mutex is private to the process.
        o->used = true;
        o->owned = initialOwner != FALSE;
        P.lastError = ERROR_SUCCESS;
        return o;
    }
    void* token = nullptr;
    int result = CurrentBackend().AcquireNamedLock(CurrentBackend(), name, &token);
    if (result < 0) {
        P.lastError = 5;  // access denied
        return nullptr;
    }
    o->used = true;
    o->token = token;
    o->holding = result == 0;
    o->owned = result == 0 && initialOwner != FALSE;
    P.lastError = result == 0 ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS;
    return o;
}

// Ownership ends; the name stays taken until the handle is closed or the
// process ends, so an instance started while this one closes still sees it.
BOOL ReleaseMutex(HANDLE mutex)
{
    if (!ValidObject(mutex) || !mutex->owned) return FALSE;
    mutex->owned = false;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle)
{
    if (!ValidObject(handle)) return FALSE;
    if (handle->holding) CurrentBackend().ReleaseNamedLock(CurrentBackend(), handle->token);
    *handle = PlatformObject{};
    return TRUE;
}

DWORD GetLastError() { return P.lastError; }
void SetLastError(DWORD error) { P.lastError = error; }

DWORD GetModuleFileNameA(HMODULE, char* buffer, DWORD size)
{
    if (!buffer || size == 0) return 0;
    char path[4096];
    if (!CurrentBackend().GetExecutablePath(CurrentBackend(), path, sizeof(path))) {
        buffer[0] = '\0';
        return 0;
    }
    std::size_t length = std::strlen(path);
    if (length >= size) {
        std::memcpy(buffer, path, size - 1);
        buffer[size - 1] = '\0';
        return size;
    }
    std::memcpy(buffer, path, length + 1);
    return static_cast<DWORD>(length);
}

DWORD timeGetTime() { return CurrentBackend().GetTicks(CurrentBackend()); }

void Sleep(DWORD milliseconds) { CurrentBackend().Delay(CurrentBackend(), milliseconds); }

std::int64_t ovPlatform::CalendarTime() { return CurrentBackend().GetCalendarTime(CurrentBackend()); }

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style)
{
    PlatformWindow* window = IsWindow(owner) && !owner->remote ? owner : nullptr;
    return CurrentBackend().MessageBox(CurrentBackend(), window, text ? text : "", caption ? caption : "", style);
}

BOOL MessageBeep(UINT type)
{
    CurrentBackend().Beep(CurrentBackend(), type);
    return TRUE;
}
