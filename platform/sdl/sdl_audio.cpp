// platform/sdl/sdl_audio.cpp - the SDL backend's sound device, the system
// sound player and the beep.
//
// The device is one SDL audio device opened in the mixer's output format;
// SDL's audio callback pulls the mixer, which takes its own lock, so the
// engine's thread never waits on the callback except while a device opens
// or closes. A beep is a short tone added into the device's output by the
// callback, or, while no device is open, queued on a small device of its own
// that stays open for the next beep. The system sound player opens a device
// in the file's format and waits until SDL has played the queued data.
//
// LIMITATIONS: the default output device only; SDL converts the output
// format for the hardware when it has to.
// DEPENDENCIES: SDL2 audio.

#include "platform/audio_driver.h"
#include "platform/core/devices_internal.h"
#include "platform/mmio.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

namespace ovPlatform::sdl {
namespace {

struct SdlAudio {
    bool subsystem = false;
    SDL_AudioDeviceID device = 0;
    AudioFormat format{44100, 2, 16};
    SDL_AudioDeviceID beepDevice = 0;
    SDL_AudioDeviceID playerDevice = 0;
};

SdlAudio S;
std::atomic<int> beepFramesLeft{0};
int beepPhase = 0;  // callback thread only
AudioFormat callbackFormat{44100, 2, 16};  // written before the device starts

constexpr int kBeepMs = 120;
constexpr double kBeepHz = 880.0;
constexpr double kBeepLevel = 6000.0;

bool InitAudio()
{
    if (S.subsystem) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    S.subsystem = true;
    return true;
}

double BeepSample(int index, int total, int rate)
{
    double t = static_cast<double>(index) / rate;
    double fade = std::min(1.0, std::min(index, total - index) / (0.005 * rate));  // 5 ms ramps
    return std::sin(2.0 * M_PI * kBeepHz * t) * kBeepLevel * fade;
}

void Callback(void*, Uint8* stream, int len)
{
    const AudioFormat f = callbackFormat;
    const int frameBytes = f.channels * (f.bits / 8);
    const std::size_t frames = static_cast<std::size_t>(len / frameBytes);
    detail::MixerRender(stream, frames, f);
    int left = beepFramesLeft.load();
    if (left <= 0) return;
    const int total = f.rate * kBeepMs / 1000;
    if (left == total) beepPhase = 0;
    int n = std::min<int>(left, static_cast<int>(frames));
    for (int i = 0; i < n; ++i, ++beepPhase) {
        int add = static_cast<int>(BeepSample(beepPhase, total, f.rate));
        for (int c = 0; c < f.channels; ++c) {
            std::size_t k = static_cast<std::size_t>(i) * f.channels + c;
            if (f.bits == 16) {
                Sint16* s = reinterpret_cast<Sint16*>(stream);
                s[k] = static_cast<Sint16>(std::clamp(s[k] + add, -32768, 32767));
            } else {
                stream[k] = static_cast<Uint8>(std::clamp(stream[k] + add / 256, 0, 255));
            }
        }
    }
    beepFramesLeft.fetch_sub(n);
}

SDL_AudioDeviceID OpenDevice(const AudioFormat& f)
{
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = f.rate;
    want.format = f.bits == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(f.channels);
    want.samples = 1024;
    want.callback = Callback;
    callbackFormat = f;
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id) SDL_PauseAudioDevice(id, 0);
    return id;
}

void CloseSide(SDL_AudioDeviceID* id)
{
    if (*id) SDL_CloseAudioDevice(*id);
    *id = 0;
}

bool Open(Backend&, const AudioFormat& format)
{
    if (!InitAudio()) return false;
    CloseSide(&S.beepDevice);
    S.device = OpenDevice(format);
    if (!S.device) return false;
    S.format = format;
    return true;
}

void Close(Backend&) { CloseSide(&S.device); }

bool ChangeFormat(Backend&, const AudioFormat& format)
{
    if (!S.device) return false;
    SDL_CloseAudioDevice(S.device);
    S.device = OpenDevice(format);
    if (S.device) {
        S.format = format;
        return true;
    }
    S.device = OpenDevice(S.format);  // keep playing in the old format
    return false;
}

void Sync(Backend&) {}
bool GrantPriority(Backend&) { return true; }
bool AllowBuffer(Backend&) { return true; }

bool PlaySystemSound(Backend&, const char* name, UINT flags)
{
    CloseSide(&S.playerDevice);
    WAVEFORMATEX format{};
    std::vector<std::uint8_t> data;
    if (!detail::LoadWaveFile(name, &format, &data) || !InitAudio()) return false;
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(format.nSamplesPerSec);
    want.format = format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = static_cast<Uint8>(format.nChannels);
    want.samples = 1024;
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!id) return false;
    if (SDL_QueueAudio(id, data.data(), static_cast<Uint32>(data.size())) != 0) {
        SDL_CloseAudioDevice(id);
        return false;
    }
    SDL_PauseAudioDevice(id, 0);
    if (!(flags & SND_ASYNC)) {
        while (SDL_GetQueuedAudioSize(id) > 0) SDL_Delay(5);
        SDL_Delay(static_cast<Uint32>(1000 * want.samples / want.freq + 20));  // the device's own buffer
        SDL_CloseAudioDevice(id);
    } else {
        S.playerDevice = id;  // closed by the next call
    }
    return true;
}

void Beep(Backend&, UINT)
{
    if (S.device) {
        beepFramesLeft.store(S.format.rate * kBeepMs / 1000);
        return;
    }
    if (!InitAudio()) return;
    if (!S.beepDevice) {
        SDL_AudioSpec want{};
        want.freq = 44100;
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        want.samples = 512;
        S.beepDevice = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (!S.beepDevice) return;
        SDL_PauseAudioDevice(S.beepDevice, 0);
    }
    const int total = 44100 * kBeepMs / 1000;
    std::vector<Sint16> tone(static_cast<std::size_t>(total));
    for (int i = 0; i < total; ++i) tone[static_cast<std::size_t>(i)] = static_cast<Sint16>(BeepSample(i, total, 44100));
    SDL_ClearQueuedAudio(S.beepDevice);
    SDL_QueueAudio(S.beepDevice, tone.data(), static_cast<Uint32>(tone.size() * sizeof(Sint16)));
}

AudioDriver driver;

}  // namespace

void InstallSdlAudio(Backend& b)
{
    // SDL_Quit (the backend's Quit) closed whatever the previous run opened.
    S = SdlAudio{};
    beepFramesLeft.store(0);
    detail::MixerReset();
    driver = AudioDriver{};
    driver.Open = Open;
    driver.Close = Close;
    driver.ChangeFormat = ChangeFormat;
    driver.Sync = Sync;
    driver.GrantPriority = GrantPriority;
    driver.AllowBuffer = AllowBuffer;
    driver.PlaySystemSound = PlaySystemSound;
    b.audio = &driver;
    b.Beep = Beep;
}

}  // namespace ovPlatform::sdl
