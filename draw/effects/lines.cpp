// draw/effects/lines.cpp - the line effects: waves, scrolling tiles, scan
// lines, jitter, line mosaic and rolling, each built from one-line copies.
//
// Every effect draws one source line (the one-row rectangle left, r, right,
// r + 1) at a time with Put (PutRoll with PutSolid), so each drawn line costs
// one clipped blit. A wave offset is trunc(amplitude * cos(angle)) with the
// angle in whole degrees, so one cosine per line is enough. Each effect keeps
// its animation state engine-wide (one instance shared by every call) and
// advances it once per call by the frame delta.
//
// LIMITATIONS: an empty tile (PutTiled, PutWaveTiled), a mosaic step below 1
// and a roll of one line are outside the effects' range: the first two draw
// nothing, the roll draws its one line once.
// DEPENDENCIES: Put/PutSolid, ovSystem::FrameDelta, ovSystem::Random, ovSystem::TwoPi.

#include "draw/draw.h"
#include "draw/effects/effects_internal.h"
#include "system/system.h"

#include <cmath>

namespace ovDraw::detail {

float WavePhase = 0.0f;
int WaveSign = 1;
float TileOffsetX = 0.0f;
float TileOffsetY = 0.0f;
float WaveScrollPhase = 0.0f;
float WaveScrollOffset = 0.0f;
float WaveTilePhase = 0.0f;
float WaveTileOffset = 0.0f;
float RollPhase = 0.0f;

}  // namespace ovDraw::detail

namespace ovDraw {

namespace {

using namespace detail;

// trunc(amplitude * cos(degrees)), the angle from the line and the phase.
int WaveOffset(int amplitude, int divisor, int line, float phase)
{
    const int angle = (divisor == 0 ? line : line / divisor) + static_cast<int>(phase);
    return static_cast<int>(amplitude * std::cos(angle * ovSystem::TwoPi / 360.0));
}

void AdvancePhase(float& phase, float speed)
{
    phase += ovSystem::FrameDelta * speed;
    if (phase >= 360.0f) phase -= 360.0f;
}

// Scrolls a source-line offset upwards, kept in [0, height).
void AdvanceOffset(float& offset, float scrollSpeed, int height)
{
    offset -= ovSystem::FrameDelta * scrollSpeed;
    if (offset < 0.0f) offset += static_cast<float>(height);
    else if (offset >= static_cast<float>(height)) offset -= static_cast<float>(height);
}

void PutLine(int x, int y, int object, int left, int line, int right)
{
    Put(x, y, object, left, line, right, line + 1);
}

}  // namespace

void PutWave(int x, int y, int amplitude, int divisor, float speed, int object, int left, int top, int right,
             int bottom, int alternate)
{
    for (int r = top; r < bottom; ++r) {
        int offset = WaveOffset(amplitude, divisor, r, WavePhase);
        if (alternate) {
            offset *= WaveSign;
            WaveSign = -WaveSign;
        }
        PutLine(x + offset, y + r - top, object, left, r, right);
    }
    AdvancePhase(WavePhase, speed);
}

void PutTiled(float speedX, float speedY, int object, int left, int top, int right, int bottom)
{
    const int tw = right - left;
    const int th = bottom - top;
    if (tw <= 0 || th <= 0) return;
    const int ox = static_cast<int>(TileOffsetX);
    const int oy = static_cast<int>(TileOffsetY);
    for (int n = 0; n <= DisplayHeight / th + 1; ++n) {
        for (int k = 0; k <= DisplayWidth / tw + 1; ++k) {
            Put(k * tw + ox, n * th + oy, object, left, top, right, bottom);
        }
    }
    TileOffsetX += ovSystem::FrameDelta * speedX;
    if (TileOffsetX < -tw) TileOffsetX += static_cast<float>(tw);
    else if (TileOffsetX > 0.0f) TileOffsetX -= static_cast<float>(tw);
    TileOffsetY += ovSystem::FrameDelta * speedY;
    if (TileOffsetY < -th) TileOffsetY += static_cast<float>(th);
    else if (TileOffsetY > 0.0f) TileOffsetY -= static_cast<float>(th);
}

void PutWaveScroll(int x, int y, int amplitude, int divisor, float speed, float scrollSpeed, int object, int left,
                   int top, int right, int bottom)
{
    const int shift = static_cast<int>(WaveScrollOffset);
    for (int r = top; r < bottom; ++r) {
        const int offset = WaveOffset(amplitude, divisor, r, WaveScrollPhase);
        int s = r + shift;
        if (s >= bottom) s = top + (s - bottom);
        PutLine(x + offset, y + r, object, left, s, right);
    }
    AdvancePhase(WaveScrollPhase, speed);
    AdvanceOffset(WaveScrollOffset, scrollSpeed, bottom - top);
}

void PutWaveTiled(int topRow, int bottomRow, int amplitude, int divisor, float speed, float scrollSpeed, int object,
                  int left, int top, int right, int bottom)
{
    const int tw = right - left;
    const int th = bottom - top;
    if (tw <= 0 || th <= 0) return;
    const int shift = static_cast<int>(WaveTileOffset);
    for (int k = 0; k <= bottomRow - topRow - 1; ++k) {
        int s = top + (k % th + shift);
        if (s >= bottom) s -= th;
        const int offset = WaveOffset(amplitude, divisor, k, WaveTilePhase);
        for (int n = 0; n <= DisplayWidth / tw + 1; ++n) {
            PutLine(n * tw + offset - amplitude, topRow + k, object, left, s, right);
        }
    }
    AdvancePhase(WaveTilePhase, speed);
    AdvanceOffset(WaveTileOffset, scrollSpeed, th);
}

void PutLineMosaic(int x, int y, int step, int object, int left, int top, int right, int bottom)
{
    if (step < 1) return;
    for (int v = top; v < bottom; v += step) {
        for (int w = v; w < v + step; ++w) PutLine(x, y + w - top, object, left, v, right);
    }
}

void PutScanlines(int x, int y, int step, int object, int left, int top, int right, int bottom)
{
    if (step == 0) return;
    // A negative step draws every gap, the first included, at random in 1..-step.
    const long long range = -static_cast<long long>(step);
    auto gap = [&]() -> long long { return step > 0 ? step : ovSystem::Random() % range + 1; };
    for (long long r = top + gap(); r < bottom; r += gap()) {
        PutLine(x, y + static_cast<int>(r) - top, object, left, static_cast<int>(r), right);
    }
}

void PutJitter(int x, int y, int jitter, int object, int left, int top, int right, int bottom)
{
    if (jitter <= 0) {
        Put(x, y, object, left, top, right, bottom);
        return;
    }
    for (int r = top; r < bottom; ++r) {
        PutLine(x + ovSystem::Random() % (2 * jitter) - jitter, y + r - top, object, left, r, right);
    }
}

void PutRoll(int x, int y, int direction, float speed, int object, int left, int top, int right, int bottom)
{
    const int h = bottom - top;
    if (h <= 0) return;
    if (h == 1) {
        PutSolid(x, y, object, left, top, right, bottom);
    } else {
        const int half = h / 2;
        int counter = 0;
        for (int k = 0; k < h; ++k) {
            const int e = static_cast<int>(half + half * std::cos((k + RollPhase) * ovSystem::TwoPi / (h - 1)));
            for (int d = counter; d <= e; ++d) PutSolid(x, y + d, object, left, top + k, right, top + k + 1);
            counter = e + 1;
        }
    }
    if (direction == 0) {
        RollPhase -= ovSystem::FrameDelta * speed;
        if (RollPhase < 0.0f) RollPhase += static_cast<float>(h);
    } else {
        RollPhase += ovSystem::FrameDelta * speed;
        if (RollPhase >= static_cast<float>(h)) RollPhase -= static_cast<float>(h);
    }
}

}  // namespace ovDraw
