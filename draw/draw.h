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

// * * * Transitions, scroller and curtain: operations and the rest of their state * * *
// Flip draws a running fade (ten frames, one 64 x 48 cell of the transition
// image tiled over 640 x 480 each) and the scroller, then presents.

extern int TransitionImage;             // object whose top row holds ten 64 x 48 cells; 0 = none loaded
extern int ScrollLimit;                 // the scroller picture's height in pixels; 0 keeps the scroller off
extern float ScrollPosition;            // picture row shown at the clip's top, 0..ScrollLimit - clip height
extern float TileDriftX, TileDriftY;    // scroller background offsets, in (-64, 0] and (-48, 0]
extern int VSyncFlag;                   // 1: Flip waits for the vertical blank (start: 1)
extern int CurtainDirection;            // 0 opening, other values closing
extern int CurtainType;                 // 1..9, the shape (0 asks for a random one)
extern float CurtainSpeed;              // pixels per second (at least one pixel per step)
extern int CurtainGap;                  // width of the slit types 8 and 9 start from or close to

int LoadTransition(const char* name);   // black key; loads the tile sheet; its object number, or 0
void FadeOut();                         // step 1, direction +1: cells 0..9 on the next ten Flips
void FadeIn();                          // step 10, direction -1: cells 9..0
int LoadScroller(const char* picture, const char* tile, int pictureHeight);  // 1, or 0 when a load failed
void ToggleScroller();                  // off -> on only once a picture height was given
void SetVSync(int flag);                // 1 wait for the vertical blank in Flip, 0 never wait
int Curtain(int direction, int type, float speed, int gap);  // 1 started; 0 while one runs
void CurtainClose();                    // the clip becomes empty at once (state -1)
int CurtainStep();                      // one frame of the running curtain; 0 when none runs

// * * * Copies (clipped to Clip; a lost surface calls RestoreAll and gives up) * * *
// (x, y) is the destination; left, top, right, bottom the object's rectangle.

void Put(int x, int y, int object, int left, int top, int right, int bottom);       // colour-keyed
void PutSolid(int x, int y, int object, int left, int top, int right, int bottom);  // no key
void PutObject(int destination, int x, int y, int object, int left, int top, int right, int bottom);
void PutObjectSolid(int destination, int x, int y, int object, int left, int top, int right, int bottom);
void GrabScreen(int object, int left, int top, int right, int bottom);  // back-buffer rect to (0, 0) of object; not clipped

// * * * Fills (not clipped; the device's result) * * *

HRESULT Clear();                                        // the whole display, black
HRESULT ClearObject(int object);                        // the whole object, 0
HRESULT ClearRect(int left, int top, int right, int bottom);
HRESULT FrameRect(int left, int top, int right, int bottom);  // a 1-pixel black frame; the last band's result
HRESULT White();                                        // the whole back buffer, PixelFormat.whiteMask
HRESULT WhiteRect(int left, int top, int right, int bottom);
HRESULT FillRect(int left, int top, int right, int bottom, int pixel);  // raw 16-bit pixel (low 16 bits)

// * * * Stretches, mirror and half mix * * *

int HalfRect(int left, int top, int right, int bottom, int pixel);  // 50% mix with a raw pixel; 1, 0 lock failed
// The rectangle scaled to width x height at (x, y): a device blit when it can
// stretch (object's key, not clipped), else GDI into Buffer and Put (Buffer's
// black key, clipped; at most the display's size).
void Stretch(int x, int y, int object, int left, int top, int right, int bottom, int width, int height);
void StretchSolid(int x, int y, int object, int left, int top, int right, int bottom, int width, int height);
// mode 0 copy, 1 left-right, 2 top-bottom, 3 both; pixel 0 is transparent. 1, or 0 when a lock failed.
int PutMirror(int x, int y, int mode, int object, int left, int top, int right, int bottom);

// * * * Line effects: one source line at a time through Put * * *
// Offsets are trunc(amplitude * cos(angle degrees)); angle = line + phase, or
// line / divisor + phase when divisor is not 0. Speeds are per second.

void PutWave(int x, int y, int amplitude, int divisor, float speed, int object, int left, int top, int right,
             int bottom, int alternate);       // alternate: every other line waves the other way
void PutTiled(float speedX, float speedY, int object, int left, int top, int right, int bottom);  // over the display
void PutWaveScroll(int x, int y, int amplitude, int divisor, float speed, float scrollSpeed, int object, int left,
                   int top, int right, int bottom);  // lines also scroll upwards; drawn at y + line
void PutWaveTiled(int topRow, int bottomRow, int amplitude, int divisor, float speed, float scrollSpeed, int object,
                  int left, int top, int right, int bottom);  // rows topRow..bottomRow-1, tiled across
void PutLineMosaic(int x, int y, int step, int object, int left, int top, int right, int bottom);  // step >= 1
void PutScanlines(int x, int y, int step, int object, int left, int top, int right, int bottom);   // < 0: random gaps
void PutJitter(int x, int y, int jitter, int object, int left, int top, int right, int bottom);
void PutRoll(int x, int y, int direction, float speed, int object, int left, int top, int right, int bottom);

}  // namespace ovDraw
