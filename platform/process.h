// platform/process.h - the process: single-instance mutexes, the last error,
// the executable's file name.
//
// A named mutex is a per-user lock. On the SDL backend it is a lock file in
// the user's runtime directory, so a second instance of the same program (the
// same name) finds it taken; on the headless backend names live inside the
// test process, prefixed by the backend's instance name so tests that run in
// parallel never collide.
#pragma once

#include "platform/types.h"

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_NO_MORE_FILES = 18;

// Creates or opens the mutex. When it already existed (another instance holds
// it), the handle is still returned and GetLastError gives ERROR_ALREADY_EXISTS.
HANDLE CreateMutexA(void* security, BOOL initialOwner, const char* name);
BOOL ReleaseMutex(HANDLE mutex);
BOOL CloseHandle(HANDLE handle);
DWORD GetLastError();
void SetLastError(DWORD error);

// The executable's full native path ('/' separators, as the file layer accepts
// both '/' and '\'). Copies at most size - 1 bytes and a terminator; returns
// the length copied (size when it was cut short, as the desktop does).
DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size);
