// system/config.h - the engine's fixed limits, in one place.
//
// Every table of the engine is a fixed-size array of these sizes; indices,
// not pointers, cross the engine's interface.
#pragma once

namespace ov {

inline constexpr int MAX_OBJECTS = 1024;       // graphic objects; 0..3 are internal
inline constexpr int FIRST_USER_OBJECT = 4;
inline constexpr int MAX_SOUNDS = 70;          // sound objects
inline constexpr int MAX_SOUND_COPIES = 10;    // simultaneous copies of one sound
inline constexpr int WAIT_SLOTS = 11;          // 1..10 for applications, 11 for ovSystem::Wait
inline constexpr int MAX_FONTS = 200;
inline constexpr int MAX_CHAR_BOXES = 3200;
inline constexpr int MAX_JOYSTICKS = 2;
inline constexpr int TEXT_BUFFER = 256;        // paths, messages, formatted texts
inline constexpr int MAX_SCENES = 16;          // scene numbers an application may use, 0..15

}  // namespace ov
