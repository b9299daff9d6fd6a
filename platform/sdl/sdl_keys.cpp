// platform/sdl/sdl_keys.cpp - physical keys to virtual-key codes.
//
// Keys are mapped by position (scancode), so the codes do not depend on the
// keyboard layout in use, as games expect: the key left of '1' and the row
// below it always give the same codes.

#include "platform/sdl/sdl_internal.h"
#include "platform/window.h"

namespace ovPlatform::sdl {

int VirtualKeyFromScancode(SDL_Scancode sc)
{
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;        // the keypad's Enter is Return
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDL_SCANCODE_RETURN: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return VK_SHIFT;            // either Shift is Shift (16)
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return VK_CONTROL;           // either Control (17)
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return VK_MENU;               // either Alt (18)
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_SEMICOLON: return 0xBA;             // ;:
    case SDL_SCANCODE_EQUALS: return 0xBB;                // =+
    case SDL_SCANCODE_COMMA: return 0xBC;                 // ,<
    case SDL_SCANCODE_MINUS: return 0xBD;                 // -_
    case SDL_SCANCODE_PERIOD: return 0xBE;                // .>
    case SDL_SCANCODE_SLASH: return 0xBF;                 // /?
    case SDL_SCANCODE_GRAVE: return 0xC0;                 // `~
    case SDL_SCANCODE_LEFTBRACKET: return 0xDB;           // [{
    case SDL_SCANCODE_BACKSLASH: return 0xDC;             // \|
    case SDL_SCANCODE_RIGHTBRACKET: return 0xDD;          // ]}
    case SDL_SCANCODE_APOSTROPHE: return 0xDE;            // '"
    default: return 0;
    }
}

}  // namespace ovPlatform::sdl
