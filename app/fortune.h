// app/fortune.h - the fortune toy: its scene state, its fortune table and
// the application hooks the shell runs.
#pragma once

#include "system/system.h"

namespace ovApp {

struct FortuneText {
    const char* grade;  // Shift-JIS
    const char* line1;
    const char* line2;
};

extern int FortuneObject;   // object slot of the strip image
extern int RandomOffset;    // 0..19, drawn once when the strip is loaded
extern int SpinCounter;     // +2 per face step while spinning, +1 per frame while flashing; 0 restarts
extern int StepCounter;     // frames since the last face step
extern int Face;            // current face 0..10, also the fortune shown
extern const FortuneText FortuneTable[11];

void LoadScene();           // scene 1: one frame
void FortuneScene();        // scene 2: every frame after
void KeyHandler(int virtualKey);  // Tab, Escape, Space

extern const ovSystem::detail::Application FortuneApplication;

}  // namespace ovApp
