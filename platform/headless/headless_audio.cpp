// platform/headless/headless_audio.cpp - the headless backend's sound device.
//
// There is no device thread: the mixer is pulled on the engine's thread, up
// to the virtual clock, whenever a sound-buffer call asks for the present
// (Sync), and by RenderAudio for tests. Refusals on demand stand for the
// failures of a real device. The system sound player is recorded and takes
// the virtual time the sound lasts.
//
// LIMITATIONS: mixed output outside RenderAudio is discarded.
// DEPENDENCIES: the platform core's mixer and WAVE reader.

#include "platform/audio_driver.h"
#include "platform/headless/headless.h"
#include "platform/mmio.h"

#include <algorithm>
#include <cstring>

namespace ovPlatform::headless {
namespace {

struct AudioState {
    bool present = true;
    bool refusePriority = false;
    bool refuseFormat = false;
    int buffersAllowed = -1;
    bool open = false;
    AudioFormat format{44100, 2, 16};
    std::uint32_t lastTime = 0;
    std::uint64_t elapsedMs = 0;       // since open or the last format change
    std::uint64_t framesRendered = 0;  // in the same span
    bool capturing = false;
    std::vector<std::uint8_t> captured;
    std::vector<std::uint8_t> scratch;
    std::vector<SystemSoundRecord> systemSounds;
};

AudioState A;

void SyncSlot(Backend&)
{
    if (!A.open) return;
    std::uint32_t now = Now();
    A.elapsedMs += static_cast<std::uint32_t>(now - A.lastTime);
    A.lastTime = now;
    std::uint64_t target = A.elapsedMs * static_cast<std::uint64_t>(A.format.rate) / 1000;
    const std::size_t frameBytes = static_cast<std::size_t>(A.format.channels) * (A.format.bits / 8);
    const std::size_t chunk = 4096;
    while (A.framesRendered < target) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, target - A.framesRendered));
        std::uint8_t* out;
        if (A.capturing) {
            std::size_t at = A.captured.size();
            A.captured.resize(at + n * frameBytes);
            out = A.captured.data() + at;
        } else {
            A.scratch.resize(chunk * frameBytes);
            out = A.scratch.data();
        }
        detail::MixerRender(out, n, A.format);
        A.framesRendered += n;
    }
}

void Restart()
{
    A.lastTime = Now();
    A.elapsedMs = 0;
    A.framesRendered = 0;
}

bool OpenSlot(Backend&, const AudioFormat& format)
{
    if (!A.present) return false;
    A.open = true;
    A.format = format;
    Restart();
    return true;
}

void CloseSlot(Backend& b)
{
    SyncSlot(b);
    A.open = false;
}

bool ChangeFormatSlot(Backend& b, const AudioFormat& format)
{
    if (A.refuseFormat) return false;
    SyncSlot(b);
    A.format = format;
    Restart();
    return true;
}

bool GrantPrioritySlot(Backend&) { return !A.refusePriority; }

bool AllowBufferSlot(Backend&)
{
    if (A.buffersAllowed < 0) return true;
    if (A.buffersAllowed == 0) return false;
    --A.buffersAllowed;
    return true;
}

bool PlaySystemSoundSlot(Backend&, const char* name, UINT flags)
{
    SystemSoundRecord record{name ? name : "", flags, false, 0};
    WAVEFORMATEX format{};
    std::vector<std::uint8_t> data;
    if (name && detail::LoadWaveFile(name, &format, &data) && format.nAvgBytesPerSec) {
        record.played = true;
        record.lengthMs = static_cast<std::uint32_t>(
            (static_cast<std::uint64_t>(data.size()) * 1000 + format.nAvgBytesPerSec - 1) / format.nAvgBytesPerSec);
        if (!(flags & SND_ASYNC)) Advance(record.lengthMs);  // SND_SYNC is 0
    }
    A.systemSounds.push_back(record);
    return record.played;
}

AudioDriver driver;

}  // namespace

void InstallHeadlessAudio(Backend& b)
{
    A = AudioState{};
    detail::MixerReset();
    driver = AudioDriver{};
    driver.Open = OpenSlot;
    driver.Close = CloseSlot;
    driver.ChangeFormat = ChangeFormatSlot;
    driver.Sync = SyncSlot;
    driver.GrantPriority = GrantPrioritySlot;
    driver.AllowBuffer = AllowBufferSlot;
    driver.PlaySystemSound = PlaySystemSoundSlot;
    b.audio = &driver;
}

// * * * Control interface * * *

void SetAudioDevicePresent(bool present) { A.present = present; }
void RefusePriorityLevel(bool refuse) { A.refusePriority = refuse; }
void RefuseOutputFormat(bool refuse) { A.refuseFormat = refuse; }
void LimitSoundBuffers(int count) { A.buffersAllowed = count < 0 ? -1 : count; }
bool IsAudioOpen() { return A.open; }

AudioOutputFormat AudioOutput() { return AudioOutputFormat{A.format.rate, A.format.channels, A.format.bits}; }

std::vector<std::int16_t> RenderAudio(std::uint32_t ms)
{
    std::vector<std::int16_t> samples;
    if (!A.open) {
        Advance(ms);
        return samples;
    }
    Backend& b = CurrentBackend();
    SyncSlot(b);  // what came before is not part of the span
    A.captured.clear();
    A.capturing = true;
    Advance(ms);
    SyncSlot(b);
    A.capturing = false;
    if (A.format.bits == 16) {
        samples.resize(A.captured.size() / 2);
        std::memcpy(samples.data(), A.captured.data(), samples.size() * 2);
    } else {
        samples.resize(A.captured.size());
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>((A.captured[i] - 128) << 8);
    }
    A.captured.clear();
    return samples;
}

const std::vector<SystemSoundRecord>& SystemSounds() { return A.systemSounds; }

}  // namespace ovPlatform::headless
