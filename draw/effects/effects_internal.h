// draw/effects/effects_internal.h - what the copies, fills and line effects
// share inside the engine: the copy clipping and the line effects' animation
// state.
#pragma once

#include "draw/draw.h"

namespace ovDraw::detail {

// Clips a copy of the source rectangle (left, top, right, bottom) to (x, y)
// against Clip, moving the source edges the clip cuts off. False when nothing
// is left to draw (an empty remainder included).
inline bool ClipCopy(int& x, int& y, int& left, int& top, int& right, int& bottom)
{
    if (x + (right - left) > Clip.right) right = left + Clip.right - x;
    if (y + (bottom - top) > Clip.bottom) bottom = top + Clip.bottom - y;
    if (x < Clip.left) {
        left += Clip.left - x;
        x = Clip.left;
    }
    if (y < Clip.top) {
        top += Clip.top - y;
        y = Clip.top;
    }
    return right > left && bottom > top;
}

// * * * Animation state of the line effects (engine-wide, start 0; advanced once per call) * * *

extern float WavePhase;         // PutWave: degrees, [0, 360)
extern int WaveSign;            // PutWave alternate mode: +1 or -1, start +1
extern float TileOffsetX;       // PutTiled: pixels, (-tile width, 0]
extern float TileOffsetY;       // PutTiled: pixels, (-tile height, 0]
extern float WaveScrollPhase;   // PutWaveScroll: degrees
extern float WaveScrollOffset;  // PutWaveScroll: source lines, [0, rectangle height)
extern float WaveTilePhase;     // PutWaveTiled: degrees
extern float WaveTileOffset;    // PutWaveTiled: source lines, [0, rectangle height)
extern float RollPhase;         // PutRoll: lines, [0, rectangle height)

}  // namespace ovDraw::detail
