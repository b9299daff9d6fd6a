// platform/core/devices_internal.h - how each backend installs its display
// and sound devices into its Backend record (display and audio slots).
#pragma once

#include "platform/backend.h"

namespace ovPlatform::headless {
void InstallHeadlessDevices(Backend& b);
}
namespace ovPlatform::sdl {
void InstallSdlDevices(Backend& b);
}
