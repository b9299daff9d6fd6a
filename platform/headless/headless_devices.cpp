// platform/headless/headless_devices.cpp - the headless backend's display and
// sound devices.
//
// LIMITATIONS: no display device and no sound device are modelled yet, so
// DirectDraw and DirectSound creation report failure on this backend.

#include "platform/core/devices_internal.h"

namespace ovPlatform::headless {

void InstallHeadlessDevices(Backend& b)
{
    b.display = nullptr;
    b.audio = nullptr;
}

}  // namespace ovPlatform::headless
