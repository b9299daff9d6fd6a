// benchmarks/bench_mixer.cpp - the sound mixer against SDL's mixing.
//
// 32 voices of 16-bit stereo 44.1 kHz sound, each a looping one-second
// buffer, mixed into 10 seconds of 16-bit stereo 44.1 kHz output:
//   * Mixer/Direct      every voice at its own rate (no conversion), full volume;
//   * Mixer/Converted   every voice at 41000 Hz (interpolated to 44.1 kHz);
//   * Mixer/PanVolume   no conversion, each voice with its own volume and pan;
// anchors in the same run:
//   * SDL_MixAudioFormat  the same 32 voices added by SDL (no conversion);
//   * Memcpy              copying the 10 s of output bytes once: the floor.
// Time per iteration is the cost of 10 s of sound; real time is 10 s.

#include "platform/audio_driver.h"
#include "platform/dsound.h"
#include "platform/platform.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kVoices = 32;
constexpr int kRate = 44100;
constexpr int kSeconds = 10;
constexpr std::size_t kFrames = static_cast<std::size_t>(kRate) * kSeconds;
constexpr std::size_t kOutBytes = kFrames * 4;
constexpr DWORD kVoiceBytes = kRate * 4;  // one second, stereo 16-bit

std::vector<std::uint8_t> Noise(unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> d(kVoiceBytes);
    auto* s = reinterpret_cast<std::int16_t*>(d.data());
    for (std::size_t i = 0; i < d.size() / 2; ++i) s[i] = static_cast<std::int16_t>((rng() % 4001) - 2000);
    return d;
}

struct Voices {
    IDirectSound* device = nullptr;
    std::vector<IDirectSoundBuffer*> buffers;

    Voices(DWORD frequency, bool panVolume)
    {
        ovPlatform::Start("headless");
        DirectSoundCreate(nullptr, &device, nullptr);
        WAVEFORMATEX f{1, 2, kRate, kRate * 4, 4, 16, 0};
        for (int v = 0; v < kVoices; ++v) {
            DSBUFFERDESC d{sizeof(DSBUFFERDESC), DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME,
                           kVoiceBytes, 0, &f};
            IDirectSoundBuffer* b = nullptr;
            device->CreateSoundBuffer(&d, &b, nullptr);
            void *p1, *p2;
            DWORD n1, n2;
            auto data = Noise(static_cast<unsigned>(v));
            b->Lock(0, kVoiceBytes, &p1, &n1, &p2, &n2, 0);
            std::memcpy(p1, data.data(), n1);
            b->Unlock(p1, n1, p2, n2);
            b->SetFrequency(frequency);
            if (panVolume) {
                b->SetVolume(-100 * (v % 20));
                b->SetPan(-5000 + 300 * v);
            }
            b->Play(0, 0, DSBPLAY_LOOPING);
            buffers.push_back(b);
        }
    }
    ~Voices()
    {
        for (auto* b : buffers) b->Release();
        device->Release();
        ovPlatform::Stop();
    }
};

void RunMixer(benchmark::State& state, DWORD frequency, bool panVolume)
{
    Voices voices(frequency, panVolume);
    std::vector<std::uint8_t> out(kOutBytes);
    const ovPlatform::AudioFormat format{kRate, 2, 16};
    for (auto _ : state) {
        ovPlatform::detail::MixerRender(out.data(), kFrames, format);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kOutBytes);
}

void Mixer_Direct(benchmark::State& state) { RunMixer(state, kRate, false); }
void Mixer_Converted(benchmark::State& state) { RunMixer(state, 41000, false); }
void Mixer_PanVolume(benchmark::State& state) { RunMixer(state, kRate, true); }

void Anchor_SDL_MixAudioFormat(benchmark::State& state)
{
    std::vector<std::vector<std::uint8_t>> sources;
    for (int v = 0; v < kVoices; ++v) sources.push_back(Noise(static_cast<unsigned>(v)));
    std::vector<std::uint8_t> out(kOutBytes);
    for (auto _ : state) {
        std::memset(out.data(), 0, out.size());
        for (int v = 0; v < kVoices; ++v)
            for (int s = 0; s < kSeconds; ++s)
                SDL_MixAudioFormat(out.data() + static_cast<std::size_t>(s) * kVoiceBytes, sources[static_cast<std::size_t>(v)].data(),
                                   AUDIO_S16SYS, kVoiceBytes, SDL_MIX_MAXVOLUME);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kOutBytes);
}

void Anchor_Memcpy(benchmark::State& state)
{
    std::vector<std::uint8_t> in(kOutBytes, 1), out(kOutBytes);
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), kOutBytes);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kOutBytes);
}

}  // namespace

BENCHMARK(Mixer_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(Mixer_Converted)->Unit(benchmark::kMillisecond);
BENCHMARK(Mixer_PanVolume)->Unit(benchmark::kMillisecond);
BENCHMARK(Anchor_SDL_MixAudioFormat)->Unit(benchmark::kMillisecond);
BENCHMARK(Anchor_Memcpy)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
