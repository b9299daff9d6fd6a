// draw/draw_state.cpp - the display's engine-wide state that the shell and
// the window procedure read.

#include "draw/draw.h"

namespace ovDraw {

int FullScreen = 1;  // the shell clears it before creating its window
int DefaultWidth = 0;
int DefaultHeight = 0;
int DisplayWidth = 0;
int DisplayHeight = 0;
int DisplayDepth = 16;
RECT WindowRect{};
RECT Clip{};

int TransitionStep = 0;
int TransitionDirection = 0;
int ScrollerMode = 0;
int CurtainState = 0;
RECT SavedClip{};

}  // namespace ovDraw
