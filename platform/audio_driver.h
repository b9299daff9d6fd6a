// platform/audio_driver.h - the contract between the sound mixer and a backend's
// audio device.
//
// The mixer (platform/core/mixer.cpp) owns the sound buffers and mixes them;
// a backend's AudioDriver only moves the mixed output to a device and tells
// the mixer how far time has gone. The SDL driver pulls MixerRender from SDL's
// audio callback; the headless driver pulls it on the engine's thread up to
// the virtual clock whenever the mixer asks (Sync).
//
// Only platform/ includes this header.
#pragma once

#include "platform/backend.h"
#include "platform/dsound.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ovPlatform {

// The output format of the mixer.
struct AudioFormat {
    int rate;      // frames per second, 100..100000
    int channels;  // 1 or 2
    int bits;      // 8 (unsigned) or 16 (signed)
};

struct AudioDriver {
    // Open the output device in format and start pulling the mixer. False
    // when there is no device to be had (DirectSoundCreate then fails).
    bool (*Open)(Backend& b, const AudioFormat& format);
    // Stop pulling and close the device.
    void (*Close)(Backend& b);
    // Change the output format of the open device. False when refused; the
    // old format then stays in force.
    bool (*ChangeFormat)(Backend& b, const AudioFormat& format);
    // Bring the mixer up to the present before the engine reads or changes a
    // buffer (headless: mix up to the virtual clock). Called without the
    // mixer's lock held. The SDL driver has nothing to do here.
    void (*Sync)(Backend& b);
    // Whether the priority level (which allows SetFormat) is granted.
    bool (*GrantPriority)(Backend& b);
    // Whether one more buffer may be created now.
    bool (*AllowBuffer)(Backend& b);
    // The system sound player: play the WAVE file name (read with
    // detail::LoadWaveFile) to its end before returning when flags has
    // SND_SYNC. False when it could not be read or played.
    bool (*PlaySystemSound)(Backend& b, const char* name, UINT flags);
};

namespace detail {

// * * * What drivers call (platform/core/mixer.cpp) * * *

// Mix frames frames of output in format (the format the driver's device
// plays) into out. Takes the mixer's lock; safe from the audio thread.
void MixerRender(void* out, std::size_t frames, const AudioFormat& format);
// The output format last opened or set (what the primary buffer reports).
AudioFormat MixerOutputFormat();
// Forget every device and buffer state kept between Start and Stop; called
// by the backends when they install their devices.
void MixerReset();

// * * * Shared helpers (platform/core/riff.cpp) * * *

// Reads a RIFF WAVE file holding PCM data into format and data. False, with
// both left empty, when it is not such a file or is damaged.
bool LoadWaveFile(const char* path, WAVEFORMATEX* format, std::vector<std::uint8_t>* data);

}  // namespace detail
}  // namespace ovPlatform
