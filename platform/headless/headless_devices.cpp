// platform/headless/headless_devices.cpp - the headless backend's display and
// sound devices.
//
// LIMITATIONS: no display device is modelled yet, so DirectDraw creation
// reports failure on this backend. The sound device is headless_audio.cpp.

#include "platform/core/devices_internal.h"

namespace ovPlatform::headless {

void InstallHeadlessAudio(Backend& b);  // headless_audio.cpp

void InstallHeadlessDevices(Backend& b)
{
    b.display = nullptr;
    InstallHeadlessAudio(b);
}

}  // namespace ovPlatform::headless
