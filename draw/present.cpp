// draw/present.cpp - presentation of the back buffer.
//
// LIMITATIONS: presentation is not built yet; Flip presents nothing.

#include "draw/draw.h"

namespace ovDraw {

int Flip() { return 0; }

}  // namespace ovDraw
