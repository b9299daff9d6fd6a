// input/input.h - ovInput: keyboard and mouse state kept by the window
// procedure, the input queries on top of it, and the joysticks.
//
// Every field is an engine-wide int, 0 at start, written by the window
// procedure between frames and read directly by scenes. Virtual-key codes are
// the desktop's (VK_SPACE 32, VK_ESCAPE 27, letters 'A'..'Z'); button code 1
// is the left button, 2 the right one.
#pragma once

#include "platform/types.h"

namespace ovInput {

// * * * Mouse * * *

extern int MouseX, MouseY;              // client coordinates of the last WM_MOUSEMOVE
extern int MouseDeltaX, MouseDeltaY;    // movement since the previous frame (the frame loop)
extern int FrameEndMouseX, FrameEndMouseY;  // position at the end of the previous frame
extern int LeftHeld, RightHeld;         // button down now
extern int LeftPressed, RightPressed;   // latched by a press; the application clears them
extern int LeftClick, RightClick;       // pressed during this frame
extern int LeftDoubleClick, RightDoubleClick;  // double-clicked during this frame
extern int HeldButton;                  // 1 or 2 while that button is down, else 0
extern int LastButton;                  // 1 or 2, the last button pressed; cleared by WaitInput
extern int CapturedLeft;                // left button down in capture mode

// * * * Keyboard * * *

extern int HeldKey;                     // last key pressed (normal mode); 0 after its release
extern int PressedKey;                  // the same code, latched; cleared by WaitInput
extern int ScrollerKey;                 // last key pressed while the scroller mode is on
extern int CapturedKey;                 // last key pressed in capture mode
extern int ShiftToggle;                 // inverted by every release of Shift
extern int WatchedKey, WatchedCount;    // releases of the watched key

// * * * Modes, window position, cursor * * *

extern int CaptureMode;                 // 1: input goes only to the captured fields
extern int AltMode;                     // system keys: 0 swallow all; 2 swallow Alt itself; else pass
extern int ClientOriginX, ClientOriginY;  // screen position of the client area (WM_MOVE)
extern int CursorConfined;              // 1 while ConfineCursor holds the cursor
extern int WaitState, WaitMatched;      // WaitInput: 0 idle, 1 armed, 2 matched; the matched code

// * * * Queries * * *

void KeyState(int virtualKey, int* state);  // state: 0 up, 1 just pressed, 2 just released, 3 held
int WaitInput(const int* codes);            // codes ended by 0; the code once pressed and released
int SetMousePos(int x, int y);              // client coordinates; the system's result
void BeginCapture();
void EndCapture();                          // also clears the held key
void SetAltMode(int mode);
void WatchKey(int virtualKey);              // and zero the count
int WatchCount();
int ConfineCursor(int left, int top, int right, int bottom);  // screen coordinates
int ConfineCursorToWindow();                // the display (full screen) or the client area
int FreeCursor();
int IsCursorConfined();

}  // namespace ovInput
