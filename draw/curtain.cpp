// draw/curtain.cpp - the curtain: an animation of the clip rectangle that
// opens or closes the drawable area in nine shapes.
//
// Opening starts from a collapsed clip rectangle and moves its edges out,
// frame by frame, until it equals the rectangle saved when the curtain
// started; closing moves the edges in from the saved rectangle until nothing
// can be drawn. Every step moves an edge by trunc(frame delta * speed) + 1
// pixels, so at least one pixel per frame. Scenes call CurtainStep once per
// frame while a curtain runs; nothing calls it for them.
//
//   type 1..4  one edge: top, bottom, left or right moves
//   type 5, 6  two edges from (to) the middle: vertically, horizontally
//   type 7     all four edges from (to) the centre
//   type 8, 9  a slit `gap` wide (8: horizontal, 9: vertical) opens along one
//              axis, then along the other; closing runs the other way
//
// LIMITATIONS: a closed curtain leaves the clip rectangle empty; except for
// type 7 its moving edges may have crossed by up to one step. A type outside
// 1..9 never moves, and the curtain then runs until the scene changes.
// DEPENDENCIES: Clip, ovSystem::FrameDelta, ovSystem::Random.

#include "draw/draw.h"
#include "system/system.h"

namespace ovDraw {

int CurtainDirection = 0;
int CurtainType = 0;
float CurtainSpeed = 0.0f;
int CurtainGap = 0;

namespace {

constexpr int kIdle = 0;
constexpr int kClosed = -1;
constexpr int kOpening = 1;
constexpr int kClosing = 2;

int MidX()
{
    return SavedClip.left + (SavedClip.right - SavedClip.left) / 2;
}

int MidY()
{
    return SavedClip.top + (SavedClip.bottom - SavedClip.top) / 2;
}

bool EqualsSaved()
{
    return Clip.left == SavedClip.left && Clip.top == SavedClip.top && Clip.right == SavedClip.right &&
           Clip.bottom == SavedClip.bottom;
}

// Two facing edges move apart by d; when either reaches its saved edge both are set there.
// Returns true once they are there.
bool OpenPair(LONG& low, LONG& high, LONG savedLow, LONG savedHigh, int d)
{
    low -= d;
    high += d;
    if (low <= savedLow || high >= savedHigh) {
        low = savedLow;
        high = savedHigh;
    }
    return low == savedLow && high == savedHigh;
}

// Two facing edges move together by d until they reach the slit (targetLow,
// targetHigh); when either passes it both are set there.
bool ClosePairToSlit(LONG& low, LONG& high, int targetLow, int targetHigh, int d)
{
    low += d;
    high -= d;
    if (low >= targetLow || high <= targetHigh) {
        low = targetLow;
        high = targetHigh;
    }
    return low == targetLow && high == targetHigh;
}

void StartOpening()
{
    const int mx = MidX();
    const int my = MidY();
    switch (CurtainType) {
    case 1: Clip.top = SavedClip.bottom; break;
    case 2: Clip.bottom = SavedClip.top; break;
    case 3: Clip.left = SavedClip.right; break;
    case 4: Clip.right = SavedClip.left; break;
    case 5: Clip.top = Clip.bottom = my; break;
    case 6: Clip.left = Clip.right = mx; break;
    case 7:
        Clip.left = Clip.right = mx;
        Clip.top = Clip.bottom = my;
        break;
    case 8:
        Clip.left = mx - CurtainGap / 2;
        Clip.right = mx + CurtainGap / 2;
        Clip.top = Clip.bottom = my;
        break;
    case 9:
        Clip.top = my - CurtainGap / 2;
        Clip.bottom = my + CurtainGap / 2;
        Clip.left = Clip.right = mx;
        break;
    default: break;
    }
}

// One opening step; true when the clip rectangle equals the saved one.
bool OpenStep(int d)
{
    RECT& c = Clip;
    const RECT& s = SavedClip;
    switch (CurtainType) {
    case 1:
        c.top -= d;
        if (c.top < s.top) c.top = s.top;
        break;
    case 2:
        c.bottom += d;
        if (c.bottom > s.bottom) c.bottom = s.bottom;
        break;
    case 3:
        c.left -= d;
        if (c.left < s.left) c.left = s.left;
        break;
    case 4:
        c.right += d;
        if (c.right > s.right) c.right = s.right;
        break;
    case 5: OpenPair(c.top, c.bottom, s.top, s.bottom, d); break;
    case 6: OpenPair(c.left, c.right, s.left, s.right, d); break;
    case 7:
        OpenPair(c.left, c.right, s.left, s.right, d);
        OpenPair(c.top, c.bottom, s.top, s.bottom, d);
        break;
    case 8:
        // The slit grows to the full height first, then to the full width.
        if (c.top != s.top || c.bottom != s.bottom) OpenPair(c.top, c.bottom, s.top, s.bottom, d);
        else OpenPair(c.left, c.right, s.left, s.right, d);
        break;
    case 9:
        if (c.left != s.left || c.right != s.right) OpenPair(c.left, c.right, s.left, s.right, d);
        else OpenPair(c.top, c.bottom, s.top, s.bottom, d);
        break;
    default: return false;
    }
    return EqualsSaved();
}

// One closing step; true when nothing is left to draw.
bool CloseStep(int d)
{
    RECT& c = Clip;
    const RECT& s = SavedClip;
    const int mx = MidX();
    const int my = MidY();
    switch (CurtainType) {
    case 1: c.top += d; return c.top >= s.bottom;
    case 2: c.bottom -= d; return s.top >= c.bottom;
    case 3: c.left += d; return c.left >= s.right;
    case 4: c.right -= d; return s.left >= c.right;
    case 5:
        c.top += d;
        c.bottom -= d;
        return c.top >= c.bottom;
    case 6:
        c.left += d;
        c.right -= d;
        return c.left >= c.right;
    case 7:
        c.left += d;
        c.right -= d;
        c.top += d;
        c.bottom -= d;
        if (c.left >= c.right) c.left = c.right = mx;
        if (c.top >= c.bottom) c.top = c.bottom = my;
        return c.left == c.right && c.top == c.bottom;
    case 8:
        // Left and right close to the slit first, then top and bottom meet.
        if (c.left != mx - CurtainGap / 2 || c.right != mx + CurtainGap / 2) {
            ClosePairToSlit(c.left, c.right, mx - CurtainGap / 2, mx + CurtainGap / 2, d);
            return false;
        }
        c.top += d;
        c.bottom -= d;
        return c.top >= c.bottom;
    case 9:
        if (c.top != my - CurtainGap / 2 || c.bottom != my + CurtainGap / 2) {
            ClosePairToSlit(c.top, c.bottom, my - CurtainGap / 2, my + CurtainGap / 2, d);
            return false;
        }
        c.left += d;
        c.right -= d;
        return c.left >= c.right;
    default: return false;
    }
}

}  // namespace

int Curtain(int direction, int type, float speed, int gap)
{
    if (CurtainState > kIdle) return 0;
    if (CurtainState == kClosed) Clip = SavedClip;
    SavedClip = Clip;
    if (type == 0) type = ovSystem::Random() % 9 + 1;
    CurtainDirection = direction;
    CurtainType = type;
    CurtainSpeed = speed;
    CurtainGap = gap;
    if (direction != 0) {
        CurtainState = kClosing;
        return 1;
    }
    CurtainState = kOpening;
    StartOpening();
    return 1;
}

void CurtainClose()
{
    SavedClip = Clip;
    Clip.right = Clip.left;
    Clip.bottom = Clip.top;
    CurtainState = kClosed;
}

int CurtainStep()
{
    if (CurtainState == kIdle || CurtainState == kClosed) return 0;
    const int d = static_cast<int>(ovSystem::FrameDelta * CurtainSpeed) + 1;
    if (CurtainState == kOpening) {
        if (OpenStep(d)) CurtainState = kIdle;
    } else if (CloseStep(d)) {
        CurtainState = kClosed;
    }
    return 1;
}

}  // namespace ovDraw
