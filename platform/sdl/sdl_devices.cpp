// platform/sdl/sdl_devices.cpp - the SDL backend's display and sound devices.
//
// LIMITATIONS: no display device is wired yet, so DirectDraw creation
// reports failure on this backend. The sound device is sdl_audio.cpp.

#include "platform/core/devices_internal.h"

namespace ovPlatform::sdl {

void InstallSdlAudio(Backend& b);  // sdl_audio.cpp

void InstallSdlDevices(Backend& b)
{
    b.display = nullptr;
    InstallSdlAudio(b);
}

}  // namespace ovPlatform::sdl
