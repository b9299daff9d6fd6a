// platform/sdl/sdl_internal.h - what the SDL backend's files share.
#pragma once

#include <SDL.h>

namespace ovPlatform::sdl {

// The virtual-key code of a physical key, or 0 for keys the engine has no code for.
int VirtualKeyFromScancode(SDL_Scancode scancode);

}  // namespace ovPlatform::sdl
