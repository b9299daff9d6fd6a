// sound/sound.h - ovSound: the system beep; sound objects, packs, streams
// and MIDI music.
#pragma once

namespace ovSound {

void Beep();  // the plain system beep

}  // namespace ovSound
