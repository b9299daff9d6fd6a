// draw/present.cpp - presentation of the back buffer.
//
// LIMITATIONS: the display device is not built yet; with no display there is
// nothing to release and nothing to present.

#include "draw/draw.h"
#include "draw/draw_internal.h"

namespace ovDraw {

void ReleaseScreen() {}

}  // namespace ovDraw

namespace ovDraw::detail {

bool DeviceExists() { return false; }
void ShowDesktopSurface() {}

}  // namespace ovDraw::detail
