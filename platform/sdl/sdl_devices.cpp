// platform/sdl/sdl_devices.cpp - the SDL backend's display and sound devices.
//
// LIMITATIONS: no display device and no sound device are wired yet, so
// DirectDraw and DirectSound creation report failure on this backend.

#include "platform/core/devices_internal.h"

namespace ovPlatform::sdl {

void InstallSdlDevices(Backend& b)
{
    b.display = nullptr;
    b.audio = nullptr;
}

}  // namespace ovPlatform::sdl
