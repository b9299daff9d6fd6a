// draw/present.cpp - the end of every frame: the tile fade, the scroller
// and the presentation of the back buffer.
//
// Flip draws, over the finished back buffer, the running fade (one 64 x 48
// cell of the transition image tiled 10 x 10 over 640 x 480, one cell per
// frame) and the scroller (a drifting tiled background under a tall picture
// scrolled with the arrow keys), waits for the vertical blank when asked, and
// copies the back buffer to the window's rectangle of the primary surface.
//
// LIMITATIONS: the fade grid is a fixed 640 x 480 whatever the display size.
// Flip reports nothing: a failed refresh wait skips the frame's presentation,
// a lost surface is handed to RestoreAll and the next frame presents again.
// DEPENDENCIES: Put (draw/effects/blit.cpp), draw/objects.h (device, surfaces,
// RestoreAll, object loads), ovSystem::FrameDelta, ovInput::ScrollerKey.

#include "draw/draw.h"
#include "input/input.h"
#include "platform/window.h"
#include "system/system.h"

namespace ovDraw {

int TransitionImage = 0;
int ScrollLimit = 0;
float ScrollPosition = 0.0f;
float TileDriftX = 0.0f;
float TileDriftY = 0.0f;
int VSyncFlag = 1;

namespace {

constexpr int kCellWidth = 64;
constexpr int kCellHeight = 48;
constexpr int kCells = 10;

void DrawTransition()
{
    const int cell = TransitionStep - 1;
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            Put(kCellWidth * i, kCellHeight * j, TransitionImage, kCellWidth * cell, 0, kCellWidth * cell + kCellWidth,
                kCellHeight);
        }
    }
    TransitionStep += TransitionDirection;
    if ((TransitionDirection == -1 && TransitionStep < 1) || (TransitionDirection == 1 && TransitionStep > kCells)) {
        TransitionStep = 0;
        TransitionDirection = 0;
    }
}

void DrawScroller()
{
    // The background tiles drift up and to the left at 10 pixels per second.
    const int driftX = static_cast<int>(TileDriftX);
    const int driftY = static_cast<int>(TileDriftY);
    for (int i = 0; i <= 10; ++i) {
        for (int j = 0; j <= 10; ++j) {
            Put(kCellWidth * i + driftX, kCellHeight * j + driftY, ScrollerTile, 0, 0, kCellWidth, kCellHeight);
        }
    }
    TileDriftX -= ovSystem::FrameDelta * 10.0f;
    TileDriftY -= ovSystem::FrameDelta * 10.0f;
    if (TileDriftX <= -kCellWidth) TileDriftX += kCellWidth;
    if (TileDriftY <= -kCellHeight) TileDriftY += kCellHeight;

    // The picture over it; its colour key lets the background show through.
    const int h = Clip.bottom - Clip.top;
    const int row = static_cast<int>(ScrollPosition);
    Put(Clip.left, Clip.top, ScrollerPicture, 0, row, Clip.right - Clip.left, row + h);

    switch (ovInput::ScrollerKey) {
    case VK_UP: ScrollPosition -= ovSystem::FrameDelta * 100.0f; break;
    case VK_LEFT: ScrollPosition -= ovSystem::FrameDelta * 300.0f; break;
    case VK_DOWN: ScrollPosition += ovSystem::FrameDelta * 100.0f; break;
    case VK_RIGHT: ScrollPosition += ovSystem::FrameDelta * 300.0f; break;
    default: break;
    }
    if (ScrollPosition < 0.0f) ScrollPosition = 0.0f;
    if (ScrollPosition > static_cast<float>(ScrollLimit - h)) ScrollPosition = static_cast<float>(ScrollLimit - h);
}

}  // namespace

int Flip()
{
    if (TransitionStep != 0) DrawTransition();
    if (ScrollerMode) DrawScroller();

    if (DirectDraw == nullptr || PrimarySurface == nullptr || BackBuffer == nullptr) return 0;
    if (VSyncFlag && FAILED(DirectDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr))) return 0;
    // Windowed, the clipper keeps the copy inside the window's visible area;
    // full screen, the primary surface is the display itself.
    RECT source = BackBufferRect;
    RECT destination = WindowRect;
    const HRESULT hr = PrimarySurface->Blt(FullScreen ? nullptr : &destination, BackBuffer, &source, DDBLT_WAIT, nullptr);
    if (hr == DDERR_SURFACELOST) RestoreAll();
    return SUCCEEDED(hr) ? 1 : 0;
}

int LoadTransition(const char* name)
{
    SetDefaultKey(RGB(0, 0, 0));
    TransitionImage = LoadObject(name, 2);
    return TransitionImage;
}

void FadeOut()
{
    TransitionStep = 1;
    TransitionDirection = 1;
}

void FadeIn()
{
    TransitionStep = kCells;
    TransitionDirection = -1;
}

// Reloads in place when the objects exist, so their numbers stay the same.
// Each of the two is decided on its own: a tile whose first load failed is
// loaded anew rather than swapped into object 0 (Buffer).
int LoadScroller(const char* picture, const char* tile, int pictureHeight)
{
    SetDefaultKey(RGB(0, 0, 0));
    int loaded = 1;
    if (ScrollerPicture != 0) loaded &= SwapObject(picture, ScrollerPicture, 2);
    else loaded &= (ScrollerPicture = LoadObject(picture, 2)) != 0 ? 1 : 0;
    if (ScrollerTile != 0) loaded &= SwapObject(tile, ScrollerTile, 2);
    else loaded &= (ScrollerTile = LoadObject(tile, 2)) != 0 ? 1 : 0;
    ScrollPosition = 0.0f;
    ScrollLimit = pictureHeight;
    return loaded;
}

void ToggleScroller()
{
    if (ScrollerMode) ScrollerMode = 0;
    else if (ScrollLimit != 0) ScrollerMode = 1;
}

void SetVSync(int flag)
{
    VSyncFlag = flag;
}

}  // namespace ovDraw
