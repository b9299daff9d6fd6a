// draw/draw.h - ovDraw: the display, the graphic object table, presentation,
// and the drawing operations.
//
// All state is engine-wide plain data. Object numbers 4..1023 belong to the
// application; 0..3 are the internal objects. Coordinates are back-buffer
// pixels; the clip rectangle's left and top are inclusive, right and bottom
// exclusive.
#pragma once

#include "draw/objects.h"
#include "platform/types.h"

namespace ovDraw {

// * * * Display state * * *

extern int FullScreen;                  // 1 exclusive full screen, 0 windowed (the shell sets 0)
extern int DefaultWidth, DefaultHeight; // the size Screen uses when given width -1
extern int DisplayWidth, DisplayHeight; // the back buffer's size
extern int DisplayDepth;                // bits per pixel asked for, then in use
extern RECT WindowRect;                 // the client area on the desktop: presentation's target
extern RECT Clip;                       // the clip rectangle of copies and effects

// * * * Transitions, scroller and curtain (the frame loop reads these) * * *

extern int TransitionStep;              // 0 when no fade runs
extern int TransitionDirection;         // +1 fading out, -1 fading in, 0 idle
extern int ScrollerMode;                // 1 while the scroller owns the keys
extern int CurtainState;                // > 0 while a curtain opens or closes; 0 idle
extern RECT SavedClip;                  // the clip rectangle a curtain restores

// * * * Display start-up and presentation * * *

int Screen(int width, int height, int mode);  // 1 when the display is up; 0 after an error box
void ReleaseScreen();
int Flip();                             // present the back buffer (transitions, scroller, refresh wait)

}  // namespace ovDraw
