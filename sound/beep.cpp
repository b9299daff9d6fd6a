// sound/beep.cpp - the plain system beep.

#include "sound/sound.h"

#include "platform/boxes.h"

namespace ovSound {

void Beep() { MessageBeep(0xFFFFFFFFu); }

}  // namespace ovSound
