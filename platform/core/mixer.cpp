// platform/core/mixer.cpp - the sound device: secondary buffers mixed in
// software into one output, for both backends.
//
// Every buffer keeps its own PCM data, format, playback frequency, volume and
// pan. A render pass adds each playing buffer into a stereo 32-bit
// accumulator that starts at zero, then converts the sum to the output
// format with clamping. A buffer's position is a 32.32 fixed-point frame
// index; it advances by (frequency / output rate) per output frame, and
// buffers whose step is exactly one frame take a plain add path while the
// others interpolate linearly between neighbouring frames. Gains are 16.16
// fixed point: 10^(volume / 2000) times, on the side away from the pan,
// 10^(-|pan| / 2000); -10000 on either gives silence.
//
// Threads: engine calls come from one thread; the SDL backend renders from
// its audio thread. One mutex guards the buffers' shared state (cursor,
// playing flags, settings, the voice list). Lock gives the engine a staging
// copy of the range, and Unlock copies it in under the mutex, so the audio
// thread never reads bytes the engine is writing.
//
// LIMITATIONS: PCM only, 8 or 16 bits, mono or stereo; one output device at
// a time (further DirectSoundCreate calls share it); no 3D, no effects, no
// notifications. Buffers without DSBCAPS_GLOBALFOCUS are muted (while still
// advancing) when the program has a window and is not the active application.
// DEPENDENCIES: the backend's AudioDriver (platform/audio_driver.h).

#include "platform/audio_driver.h"
#include "platform/dsound.h"

#include "platform/core/window_internal.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

struct IDirectSound::Impl {
    DWORD refs = 1;
    DWORD level = 0;
    bool alive = true;
};

struct IDirectSoundBuffer::Impl {
    DWORD refs = 1;
    IDirectSound::Impl* device = nullptr;
    bool primary = false;
    DWORD flags = 0;
    WAVEFORMATEX format{};
    std::vector<std::uint8_t> data;
    DWORD frames = 0;
    // Lock staging, engine thread only.
    std::vector<std::uint8_t> staging;
    bool locked = false;
    DWORD lockOffset = 0;
    DWORD lockBytes = 0;
    // Shared with the render pass (under the mixer mutex).
    bool playing = false;
    bool looping = false;
    std::uint64_t position = 0;  // 32.32 frames
    LONG volume = 0;
    LONG pan = 0;
    DWORD frequency = 0;
    std::int32_t gainLeft = 65536;
    std::int32_t gainRight = 65536;
};

namespace ovPlatform::detail {
namespace {

using Buffer = IDirectSoundBuffer::Impl;

struct MixerState {
    std::mutex mutex;
    std::vector<Buffer*> voices;       // every live secondary buffer
    AudioFormat output{44100, 2, 16};  // what the device plays
    int devices = 0;                   // live IDirectSound objects
    bool open = false;                 // the driver's device is open
    std::vector<std::int32_t> accumulator;
};

MixerState& M()
{
    static MixerState* state = new MixerState;  // lives until exit; the audio thread may outlive statics
    return *state;
}

std::atomic<bool> focusMuted{false};

// Engine-thread entry of every operation: the mixer catches up with the
// present and the focus rule is brought up to date.
void Enter()
{
    Backend& b = CurrentBackend();
    PlatformWindow* w = MainWindow();
    focusMuted.store(w != nullptr && !IsApplicationActive(), std::memory_order_relaxed);
    if (b.audio && M().open) b.audio->Sync(b);
}

std::int32_t Attenuation(LONG hundredthsOfDb)
{
    if (hundredthsOfDb <= DSBVOLUME_MIN) return 0;
    if (hundredthsOfDb >= 0) return 65536;
    return static_cast<std::int32_t>(std::lround(65536.0 * std::pow(10.0, hundredthsOfDb / 2000.0)));
}

void UpdateGains(Buffer& buffer)
{
    std::int32_t volume = Attenuation(buffer.volume);
    std::int32_t left = buffer.pan > 0 ? Attenuation(-buffer.pan) : 65536;
    std::int32_t right = buffer.pan < 0 ? Attenuation(buffer.pan) : 65536;
    buffer.gainLeft = static_cast<std::int32_t>((static_cast<std::int64_t>(volume) * left) >> 16);
    buffer.gainRight = static_cast<std::int32_t>((static_cast<std::int64_t>(volume) * right) >> 16);
}

bool ValidPcm(const WAVEFORMATEX& f)
{
    if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
    if (f.nChannels < 1 || f.nChannels > 2) return false;
    if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
    if (f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) return false;
    return f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

// * * * Render kernels * * *

template <int Bits>
inline std::int32_t Sample(const std::uint8_t* p)
{
    if constexpr (Bits == 8) {
        return (static_cast<std::int32_t>(p[0]) - 128) << 8;
    } else {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    }
}

template <int Bits, int Channels>
inline void Frame(const std::uint8_t* data, DWORD index, std::int32_t* left, std::int32_t* right)
{
    const std::uint8_t* p = data + static_cast<std::size_t>(index) * Channels * (Bits / 8);
    *left = Sample<Bits>(p);
    *right = Channels == 2 ? Sample<Bits>(p + Bits / 8) : *left;
}

// Adds frames output frames of one voice at step 1.0 from frame index,
// without crossing the end of the data.
template <int Bits, int Channels>
void AddDirect(const Buffer& v, DWORD index, std::int32_t* acc, std::size_t frames, std::int32_t gl, std::int32_t gr)
{
    const std::uint8_t* p = v.data.data() + static_cast<std::size_t>(index) * Channels * (Bits / 8);
    if constexpr (Bits == 16 && Channels == 2) {
        const std::int16_t* s = reinterpret_cast<const std::int16_t*>(p);
        for (std::size_t i = 0; i < frames; ++i) {
            acc[2 * i] += (s[2 * i] * gl) >> 16;
            acc[2 * i + 1] += (s[2 * i + 1] * gr) >> 16;
        }
    } else {
        for (std::size_t i = 0; i < frames; ++i) {
            std::int32_t l, r;
            Frame<Bits, Channels>(v.data.data(), index + static_cast<DWORD>(i), &l, &r);
            acc[2 * i] += (l * gl) >> 16;
            acc[2 * i + 1] += (r * gr) >> 16;
        }
    }
}

// Mixes one voice into acc for frames output frames; advances its position
// and ends a one-shot voice at the end of its data.
template <int Bits, int Channels>
void MixVoice(Buffer& v, std::int32_t* acc, std::size_t frames, std::uint64_t step, bool muted)
{
    const std::uint64_t end = static_cast<std::uint64_t>(v.frames) << 32;
    const std::int32_t gl = muted ? 0 : v.gainLeft;
    const std::int32_t gr = muted ? 0 : v.gainRight;
    std::size_t done = 0;
    while (done < frames && v.playing) {
        if (v.position >= end) {
            if (!v.looping) {
                v.playing = false;
                v.position = 0;
                break;
            }
            v.position -= end;
            continue;
        }
        std::size_t left = frames - done;
        if (gl == 0 && gr == 0) {
            // Silent: only the cursor moves.
            std::uint64_t room = (end - v.position + step - 1) / step;
            std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(room, left));
            v.position += step * n;
            done += n;
            continue;
        }
        if (step == (1ull << 32) && (v.position & 0xFFFFFFFFull) == 0) {
            DWORD index = static_cast<DWORD>(v.position >> 32);
            std::size_t n = std::min<std::size_t>(left, v.frames - index);
            AddDirect<Bits, Channels>(v, index, acc + 2 * done, n, gl, gr);
            v.position += static_cast<std::uint64_t>(n) << 32;
            done += n;
            continue;
        }
        // Interpolating: the run in which the next frame is inside the data
        // needs no wrap test; the last frame of the data takes the slow step.
        const std::uint64_t safeEnd = end - (1ull << 32);
        std::size_t n = 0;
        if (v.position < safeEnd) {
            std::uint64_t room = (safeEnd - v.position + step - 1) / step;
            n = static_cast<std::size_t>(std::min<std::uint64_t>(room, left));
        }
        std::int32_t* out = acc + 2 * done;
        std::uint64_t pos = v.position;
        for (std::size_t i = 0; i < n; ++i) {
            DWORD index = static_cast<DWORD>(pos >> 32);
            std::int32_t frac = static_cast<std::int32_t>((pos >> 16) & 0xFFFF);
            std::int32_t l0, r0, l1, r1;
            Frame<Bits, Channels>(v.data.data(), index, &l0, &r0);
            Frame<Bits, Channels>(v.data.data(), index + 1, &l1, &r1);
            std::int32_t l = l0 + (((l1 - l0) * frac) >> 16);
            std::int32_t r = r0 + (((r1 - r0) * frac) >> 16);
            out[2 * i] += (l * gl) >> 16;
            out[2 * i + 1] += (r * gr) >> 16;
            pos += step;
        }
        v.position = pos;
        done += n;
        if (done < frames && v.position >= safeEnd && v.position < end) {
            // The last frame: interpolate towards the loop start, or hold.
            DWORD index = static_cast<DWORD>(v.position >> 32);
            std::int32_t frac = static_cast<std::int32_t>((v.position >> 16) & 0xFFFF);
            std::int32_t l0, r0, l1, r1;
            Frame<Bits, Channels>(v.data.data(), index, &l0, &r0);
            if (v.looping) {
                Frame<Bits, Channels>(v.data.data(), 0, &l1, &r1);
            } else {
                l1 = l0;
                r1 = r0;
            }
            std::int32_t l = l0 + (((l1 - l0) * frac) >> 16);
            std::int32_t r = r0 + (((r1 - r0) * frac) >> 16);
            acc[2 * done] += (l * gl) >> 16;
            acc[2 * done + 1] += (r * gr) >> 16;
            v.position += step;
            ++done;
        }
    }
}

void MixAny(Buffer& v, std::int32_t* acc, std::size_t frames, std::uint64_t step, bool muted)
{
    bool eight = v.format.wBitsPerSample == 8;
    bool mono = v.format.nChannels == 1;
    if (eight && mono) MixVoice<8, 1>(v, acc, frames, step, muted);
    else if (eight) MixVoice<8, 2>(v, acc, frames, step, muted);
    else if (mono) MixVoice<16, 1>(v, acc, frames, step, muted);
    else MixVoice<16, 2>(v, acc, frames, step, muted);
}

inline std::int32_t Clamp16(std::int32_t s) { return s < -32768 ? -32768 : (s > 32767 ? 32767 : s); }

void Convert(const std::int32_t* acc, void* out, std::size_t frames, const AudioFormat& f)
{
    if (f.bits == 16) {
        std::int16_t* o = static_cast<std::int16_t*>(out);
        if (f.channels == 2) {
            for (std::size_t i = 0; i < frames * 2; ++i) o[i] = static_cast<std::int16_t>(Clamp16(acc[i]));
        } else {
            for (std::size_t i = 0; i < frames; ++i)
                o[i] = static_cast<std::int16_t>(Clamp16((acc[2 * i] + acc[2 * i + 1]) / 2));
        }
    } else {
        std::uint8_t* o = static_cast<std::uint8_t*>(out);
        if (f.channels == 2) {
            for (std::size_t i = 0; i < frames * 2; ++i) o[i] = static_cast<std::uint8_t>((Clamp16(acc[i]) >> 8) + 128);
        } else {
            for (std::size_t i = 0; i < frames; ++i)
                o[i] = static_cast<std::uint8_t>((Clamp16((acc[2 * i] + acc[2 * i + 1]) / 2) >> 8) + 128);
        }
    }
}

DWORD ByteCursor(const Buffer& b)
{
    std::uint64_t frame = b.position >> 32;
    if (frame >= b.frames) frame = b.frames ? frame % b.frames : 0;
    return static_cast<DWORD>(frame * b.format.nBlockAlign);
}

}  // namespace

void MixerRender(void* out, std::size_t frames, const AudioFormat& f)
{
    MixerState& m = M();
    std::lock_guard<std::mutex> guard(m.mutex);
    const bool muted = focusMuted.load(std::memory_order_relaxed);
    const std::size_t chunk = 1024;
    std::uint8_t* o = static_cast<std::uint8_t*>(out);
    const std::size_t outFrameBytes = static_cast<std::size_t>(f.channels) * (f.bits / 8);
    if (m.accumulator.size() < chunk * 2) m.accumulator.assign(chunk * 2, 0);
    for (std::size_t done = 0; done < frames;) {
        std::size_t n = std::min(chunk, frames - done);
        std::int32_t* acc = m.accumulator.data();
        std::fill(acc, acc + 2 * n, 0);
        for (Buffer* v : m.voices) {
            if (!v->playing || v->frames == 0) continue;
            std::uint64_t step = (static_cast<std::uint64_t>(v->frequency) << 32) / static_cast<std::uint64_t>(f.rate);
            if (step == 0) step = 1;
            MixAny(*v, acc, n, step, muted && !(v->flags & DSBCAPS_GLOBALFOCUS));
        }
        Convert(acc, o + done * outFrameBytes, n, f);
        done += n;
    }
}

AudioFormat MixerOutputFormat()
{
    std::lock_guard<std::mutex> guard(M().mutex);
    return M().output;
}

void MixerReset()
{
    MixerState& m = M();
    std::lock_guard<std::mutex> guard(m.mutex);
    m.voices.clear();
    m.output = AudioFormat{44100, 2, 16};
    m.devices = 0;
    m.open = false;
    focusMuted.store(false);
}

}  // namespace ovPlatform::detail

using ovPlatform::detail::Enter;
using ovPlatform::detail::M;

// * * * The device * * *

HRESULT DirectSoundCreate(const void* guid, IDirectSound** device, void* outer)
{
    if (!device) return DSERR_INVALIDPARAM;
    *device = nullptr;
    if (guid || outer) return DSERR_INVALIDPARAM;
    ovPlatform::Backend& b = ovPlatform::CurrentBackend();
    if (!b.audio) return DSERR_NODRIVER;
    auto& m = M();
    if (m.devices == 0) {
        ovPlatform::AudioFormat format;
        {
            std::lock_guard<std::mutex> guard(m.mutex);
            format = m.output;
        }
        if (!b.audio->Open(b, format)) return DSERR_NODRIVER;
        m.open = true;
    }
    IDirectSound* d = new (std::nothrow) IDirectSound;
    if (!d) return DSERR_OUTOFMEMORY;
    d->impl = new (std::nothrow) IDirectSound::Impl;
    if (!d->impl) {
        delete d;
        return DSERR_OUTOFMEMORY;
    }
    ++m.devices;
    *device = d;
    return DS_OK;
}

HRESULT IDirectSound::SetCooperativeLevel(HWND, DWORD level)
{
    if (!impl->alive) return DSERR_INVALIDCALL;
    if (level != DSSCL_NORMAL && level != DSSCL_PRIORITY) return DSERR_INVALIDPARAM;
    ovPlatform::Backend& b = ovPlatform::CurrentBackend();
    if (level == DSSCL_PRIORITY && !b.audio->GrantPriority(b)) return DSERR_ALLOCATED;
    impl->level = level;
    return DS_OK;
}

HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, void* outer)
{
    if (!buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (!desc || outer || desc->dwSize != sizeof(DSBUFFERDESC) || !impl->alive) return DSERR_INVALIDPARAM;
    ovPlatform::Backend& b = ovPlatform::CurrentBackend();
    Enter();
    bool primary = (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0;
    if (!primary) {
        if (!desc->lpwfxFormat || !ovPlatform::detail::ValidPcm(*desc->lpwfxFormat)) return DSERR_BADFORMAT;
        if (desc->dwBufferBytes < 4 || desc->dwBufferBytes > 0x0FFFFFFFu) return DSERR_INVALIDPARAM;
    } else if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) {
        return DSERR_INVALIDPARAM;
    }
    if (!b.audio->AllowBuffer(b)) return DSERR_OUTOFMEMORY;
    IDirectSoundBuffer* out = new (std::nothrow) IDirectSoundBuffer;
    if (!out) return DSERR_OUTOFMEMORY;
    out->impl = new (std::nothrow) IDirectSoundBuffer::Impl;
    if (!out->impl) {
        delete out;
        return DSERR_OUTOFMEMORY;
    }
    auto& v = *out->impl;
    v.device = impl;
    v.primary = primary;
    v.flags = desc->dwFlags;
    if (!primary) {
        v.format = *desc->lpwfxFormat;
        v.format.cbSize = 0;
        v.format.nAvgBytesPerSec = v.format.nSamplesPerSec * v.format.nBlockAlign;
        try {
            v.data.assign(desc->dwBufferBytes, v.format.wBitsPerSample == 8 ? 0x80 : 0);
        } catch (const std::bad_alloc&) {
            delete out->impl;
            delete out;
            return DSERR_OUTOFMEMORY;
        }
        v.frames = desc->dwBufferBytes / v.format.nBlockAlign;
        v.frequency = v.format.nSamplesPerSec;
        ovPlatform::detail::UpdateGains(v);
        std::lock_guard<std::mutex> guard(M().mutex);
        M().voices.push_back(out->impl);
    }
    ++impl->refs;  // a buffer keeps its device
    *buffer = out;
    return DS_OK;
}

namespace {

// Drops one reference to a device; the last one closes the driver's output.
void ReleaseDeviceImpl(IDirectSound::Impl* device)
{
    if (--device->refs != 0) return;
    delete device;
    auto& m = M();
    if (--m.devices == 0 && m.open) {
        ovPlatform::Backend& b = ovPlatform::CurrentBackend();
        b.audio->Close(b);
        m.open = false;
    }
}

bool Usable(const IDirectSoundBuffer::Impl& v) { return v.device && v.device->alive; }

}  // namespace

DWORD IDirectSound::Release()
{
    // The program's one reference. Buffers still alive keep the device's
    // record (stopped and unusable) until they are released too.
    IDirectSound::Impl* device = impl;
    device->alive = false;
    {
        std::lock_guard<std::mutex> guard(M().mutex);
        for (auto* v : M().voices)
            if (v->device == device) v->playing = false;
    }
    delete this;
    DWORD left = device->refs - 1;
    ReleaseDeviceImpl(device);
    return left;
}

// * * * Buffers * * *

DWORD IDirectSoundBuffer::Release()
{
    DWORD left = --impl->refs;
    if (left != 0) return left;
    Enter();
    {
        std::lock_guard<std::mutex> guard(M().mutex);
        auto& voices = M().voices;
        voices.erase(std::remove(voices.begin(), voices.end(), impl), voices.end());
    }
    IDirectSound::Impl* device = impl->device;
    delete impl;
    delete this;
    ReleaseDeviceImpl(device);
    return 0;
}

HRESULT IDirectSoundBuffer::Lock(DWORD offset, DWORD bytes, void** region1, DWORD* size1, void** region2,
                                 DWORD* size2, DWORD)
{
    if (!region1 || !size1) return DSERR_INVALIDPARAM;
    *region1 = nullptr;
    *size1 = 0;
    if (region2) *region2 = nullptr;
    if (size2) *size2 = 0;
    auto& v = *impl;
    if (v.primary || !Usable(v) || v.locked) return DSERR_INVALIDCALL;
    DWORD size = static_cast<DWORD>(v.data.size());
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    DWORD first = std::min(bytes, size - offset);
    if (first < bytes && (!region2 || !size2)) return DSERR_INVALIDPARAM;
    try {
        v.staging.resize(bytes);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    {
        std::lock_guard<std::mutex> guard(M().mutex);
        std::memcpy(v.staging.data(), v.data.data() + offset, first);
        if (first < bytes) std::memcpy(v.staging.data() + first, v.data.data(), bytes - first);
    }
    v.locked = true;
    v.lockOffset = offset;
    v.lockBytes = bytes;
    *region1 = v.staging.data();
    *size1 = first;
    if (first < bytes) {
        *region2 = v.staging.data() + first;
        *size2 = bytes - first;
    }
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(void* region1, DWORD size1, void*, DWORD size2)
{
    auto& v = *impl;
    if (!v.locked || region1 != v.staging.data() || size1 + size2 > v.lockBytes) return DSERR_INVALIDPARAM;
    DWORD size = static_cast<DWORD>(v.data.size());
    DWORD first = std::min(v.lockBytes, size - v.lockOffset);
    {
        std::lock_guard<std::mutex> guard(M().mutex);
        std::memcpy(v.data.data() + v.lockOffset, v.staging.data(), first);
        if (first < v.lockBytes) std::memcpy(v.data.data(), v.staging.data() + first, v.lockBytes - first);
    }
    v.locked = false;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Play(DWORD, DWORD, DWORD flags)
{
    auto& v = *impl;
    if (!Usable(v)) return DSERR_INVALIDCALL;
    if (v.primary) return DS_OK;
    Enter();
    std::lock_guard<std::mutex> guard(M().mutex);
    v.looping = (flags & DSBPLAY_LOOPING) != 0;
    v.playing = v.frames != 0;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Stop()
{
    auto& v = *impl;
    if (v.primary) return DS_OK;
    Enter();
    std::lock_guard<std::mutex> guard(M().mutex);
    v.playing = false;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD position)
{
    auto& v = *impl;
    if (v.primary || !Usable(v)) return DSERR_INVALIDCALL;
    if (position >= v.data.size()) return DSERR_INVALIDPARAM;
    Enter();
    std::lock_guard<std::mutex> guard(M().mutex);
    v.position = static_cast<std::uint64_t>(position / v.format.nBlockAlign) << 32;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetCurrentPosition(DWORD* play, DWORD* write)
{
    auto& v = *impl;
    if (v.primary) return DSERR_INVALIDCALL;
    Enter();
    std::lock_guard<std::mutex> guard(M().mutex);
    DWORD cursor = ovPlatform::detail::ByteCursor(v);
    if (play) *play = cursor;
    if (write) {
        // About 10 ms ahead of the play cursor while playing.
        DWORD ahead = v.playing ? (v.frequency / 100) * v.format.nBlockAlign : 0;
        DWORD size = static_cast<DWORD>(v.data.size());
        *write = size ? static_cast<DWORD>((static_cast<std::uint64_t>(cursor) + ahead) % size) : 0;
    }
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetStatus(DWORD* status)
{
    if (!status) return DSERR_INVALIDPARAM;
    auto& v = *impl;
    Enter();
    std::lock_guard<std::mutex> guard(M().mutex);
    *status = 0;
    if (v.primary) {
        if (M().open) *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
        return DS_OK;
    }
    if (v.playing) *status = DSBSTATUS_PLAYING | (v.looping ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetVolume(LONG volume)
{
    auto& v = *impl;
    if (v.primary || !(v.flags & DSBCAPS_CTRLVOLUME)) return DSERR_INVALIDCALL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    Enter();
    std::lock_guard<std::mutex> guard(M().mutex);
    v.volume = volume;
    ovPlatform::detail::UpdateGains(v);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetVolume(LONG* volume)
{
    if (!volume) return DSERR_INVALIDPARAM;
    *volume = impl->volume;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetPan(LONG pan)
{
    auto& v = *impl;
    if (v.primary || !(v.flags & DSBCAPS_CTRLPAN)) return DSERR_INVALIDCALL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    Enter();
    std::lock_guard<std::mutex> guard(M().mutex);
    v.pan = pan;
    ovPlatform::detail::UpdateGains(v);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetPan(LONG* pan)
{
    if (!pan) return DSERR_INVALIDPARAM;
    *pan = impl->pan;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetFrequency(DWORD frequency)
{
    auto& v = *impl;
    if (v.primary || !(v.flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_INVALIDCALL;
    if (frequency == 0) frequency = v.format.nSamplesPerSec;
    if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
    Enter();
    std::lock_guard<std::mutex> guard(M().mutex);
    v.frequency = frequency;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetFrequency(DWORD* frequency)
{
    if (!frequency) return DSERR_INVALIDPARAM;
    if (impl->primary) {
        *frequency = static_cast<DWORD>(ovPlatform::detail::MixerOutputFormat().rate);
        return DS_OK;
    }
    *frequency = impl->frequency;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetFormat(const WAVEFORMATEX* format)
{
    auto& v = *impl;
    if (!v.primary || !Usable(v)) return DSERR_INVALIDCALL;
    if (v.device->level != DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    if (!format || !ovPlatform::detail::ValidPcm(*format)) return DSERR_BADFORMAT;
    ovPlatform::AudioFormat f{static_cast<int>(format->nSamplesPerSec), format->nChannels, format->wBitsPerSample};
    ovPlatform::Backend& b = ovPlatform::CurrentBackend();
    Enter();
    if (!b.audio->ChangeFormat(b, f)) return DSERR_BADFORMAT;
    std::lock_guard<std::mutex> guard(M().mutex);
    M().output = f;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetFormat(WAVEFORMATEX* format, DWORD size, DWORD* written)
{
    WAVEFORMATEX f{};
    if (impl->primary) {
        ovPlatform::AudioFormat o = ovPlatform::detail::MixerOutputFormat();
        f.wFormatTag = WAVE_FORMAT_PCM;
        f.nChannels = static_cast<WORD>(o.channels);
        f.nSamplesPerSec = static_cast<DWORD>(o.rate);
        f.wBitsPerSample = static_cast<WORD>(o.bits);
        f.nBlockAlign = static_cast<WORD>(o.channels * o.bits / 8);
        f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    } else {
        f = impl->format;
    }
    if (written) *written = sizeof(f);
    if (!format) return size == 0 && written ? DS_OK : DSERR_INVALIDPARAM;
    if (size < sizeof(f)) return DSERR_INVALIDPARAM;
    std::memcpy(format, &f, sizeof(f));
    return DS_OK;
}
