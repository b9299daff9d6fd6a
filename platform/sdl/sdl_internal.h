// platform/sdl/sdl_internal.h - what the SDL backend's files share.
#pragma once

#include <SDL.h>

#include "platform/backend.h"

namespace ovPlatform::sdl {

// The virtual-key code of a physical key, or 0 for keys the engine has no code for.
int VirtualKeyFromScancode(SDL_Scancode scancode);

// Ready a new, still hidden window for presentation (its renderer).
void PrepareWindowForPresentation(SDL_Window* window);

// * * * Display (sdl_display.cpp) * * *

// Fill Backend::display with the SDL display driver.
void InstallSdlDisplay(ovPlatform::Backend& b);
// Draw the last presented picture again (the window was exposed).
void RedrawDisplay();
// Free the renderer before SDL shuts down.
void ReleaseDisplay();

}  // namespace ovPlatform::sdl
