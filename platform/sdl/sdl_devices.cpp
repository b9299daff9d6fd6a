// platform/sdl/sdl_devices.cpp - the SDL backend's display and sound devices:
// the display is sdl_display.cpp, the sound device sdl_audio.cpp.

#include "platform/core/devices_internal.h"
#include "platform/sdl/sdl_internal.h"

namespace ovPlatform::sdl {

void InstallSdlAudio(Backend& b);  // sdl_audio.cpp

void InstallSdlDevices(Backend& b)
{
    InstallSdlDisplay(b);
    InstallSdlAudio(b);
}

}  // namespace ovPlatform::sdl
