// platform/platform.h - every service the engine calls on, and the choice of backend.
//
// A program names its backend once, before anything else touches the
// platform: the toy starts "sdl", tests and the headless run tool "headless".
// Nothing else (no environment variable, no file) chooses it.
#pragma once

#include "platform/boxes.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/sysinfo.h"
#include "platform/timer.h"
#include "platform/types.h"
#include "platform/window.h"

namespace ovPlatform {

// Starts the named backend ("sdl" or "headless"). Returns false, with a
// one-line reason in *reason when given, when it cannot run here (no display
// for the SDL backend, for instance).
bool Start(const char* backendName, const char** reason = nullptr);
// Stops the backend, destroys every window and releases every lock.
void Stop();
bool IsStarted();

}  // namespace ovPlatform
