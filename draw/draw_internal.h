// draw/draw_internal.h - ovDraw internals other modules of the engine use.
#pragma once

namespace ovDraw::detail {

// True once the display device exists (between Screen and ReleaseScreen).
bool DeviceExists();
// Make the desktop's surface the visible one so a message box can be seen
// over an exclusive full-screen display (FlipToGDISurface); nothing without a device.
void ShowDesktopSurface();

}  // namespace ovDraw::detail
