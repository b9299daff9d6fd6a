// platform/sdl/sdl_devices.cpp - the SDL backend's display and sound devices.
//
// LIMITATIONS: no sound device is wired yet, so DirectSound creation reports
// failure on this backend.

#include "platform/core/devices_internal.h"
#include "platform/sdl/sdl_internal.h"

namespace ovPlatform::sdl {

void InstallSdlDevices(Backend& b)
{
    InstallSdlDisplay(b);
    b.audio = nullptr;
}

}  // namespace ovPlatform::sdl
