// sound/objects.cpp - the sound device and the sound object table: start-up
// and release, the WAVE reader, loading files and resources into objects
// with their copies, playing, pausing, the settings, the echo, reloading in
// place and changing the output format.
//
// A failed load leaves the table as it was: the object is saved before the
// attempt and put back, with every buffer the attempt made released. Copies
// whose buffer could not be remade by a reload stay without a buffer; every
// operation passes over such copies.
//
// LIMITATIONS: indices and copy numbers are not checked (the caller's
// contract); PCM formats only (the device takes nothing else).
// DEPENDENCIES: platform/dsound.h, platform/mmio.h, platform/resources.h;
// ovSystem (errors, the base path, the frame delta, random numbers).

#include "sound/sound.h"

#include "platform/mmio.h"
#include "platform/resources.h"
#include "sound/sound_internal.h"
#include "sound/texts.h"
#include "system/sjis_text.h"
#include "system/system.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ovSound {

int SoundAvailable = 0;
IDirectSound* Device = nullptr;
IDirectSoundBuffer* PrimaryBuffer = nullptr;
int ReloadMode = 0;
int CurrentSound = 0;
SoundObject SoundObjects[ov::MAX_SOUNDS];

namespace {

constexpr DWORD kObjectBufferFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
constexpr char kLoadObject[] = "ovSound::LoadObject";
constexpr char kSelectFormat[] = "ovSound::SelectFormat";

bool Streamed(const SoundObject& o) { return o.stream.dataSize != 0; }

// Every copy a setting or Stop / Pause selector names: one copy, the
// rotation copy (-2, settings only), or all of them.
template <typename F>
void ForSelected(int index, int copy, bool rotationForMinusTwo, F f)
{
    SoundObject& o = SoundObjects[index];
    if (copy >= 0) {
        f(o, o.copies[copy]);
    } else if (copy == -2 && rotationForMinusTwo) {
        f(o, o.copies[o.nextCopy]);
    } else {
        for (int c = 0; c < o.copyCount; ++c) f(o, o.copies[c]);
    }
}

LONG ClampLong(long long v, long long lo, long long hi) { return static_cast<LONG>(std::clamp(v, lo, hi)); }

void GiveFrequency(SoundCopy& c, long long value)
{
    c.frequency = static_cast<DWORD>(std::clamp<long long>(value, DSBFREQUENCY_MIN, DSBFREQUENCY_MAX));
    if (c.buffer) c.buffer->SetFrequency(c.frequency);
}

void GivePan(SoundCopy& c, long long value)
{
    c.pan = ClampLong(value, DSBPAN_LEFT, DSBPAN_RIGHT);
    if (c.buffer) c.buffer->SetPan(c.pan);
}

void GiveVolume(SoundCopy& c, long long value)
{
    c.volume = ClampLong(value, DSBVOLUME_MIN, DSBVOLUME_MAX);
    if (c.buffer) c.buffer->SetVolume(c.volume);
}

void ReleaseCopies(SoundObject& o)
{
    for (int c = 0; c < o.copyCount; ++c) {
        if (!o.copies[c].buffer) continue;
        o.copies[c].buffer->Stop();
        o.copies[c].buffer->Release();
        o.copies[c].buffer = nullptr;
    }
}

// Stop, rewind (streams: ResetStream), start: one copy of a play request.
void StartCopy(int index, int copy, bool loop)
{
    SoundObject& o = SoundObjects[index];
    SoundCopy& c = o.copies[copy];
    if (!c.buffer) return;
    c.buffer->Stop();
    bool streamed = Streamed(o);
    if (streamed) ResetStream(index);
    c.buffer->SetCurrentPosition(0);
    c.buffer->Play(0, 0, loop || streamed ? DSBPLAY_LOOPING : 0);
}

void StartEcho(int index, bool loop)
{
    SoundObject& o = SoundObjects[index];
    ResetFrequency(index, -1);
    ResetPan(index, -1);
    ResetVolume(index, -1);
    o.echoState = 1;
    o.echoTimer = 0.0f;
    o.echoPlayLoop = loop ? 1 : 0;
    o.sweepPan = static_cast<float>(o.copies[o.nextCopy].pan);
    o.sweepDirection = 2 * (ovSystem::Random() % 2) - 1;
}

void PlayRequest(int index, int copy, bool loop)
{
    if (!SoundAvailable) return;
    SoundObject& o = SoundObjects[index];
    if (copy == -2 && o.echoState >= 0) StartEcho(index, loop);
    o.loopFlag = loop ? 1 : 0;
    if (copy >= 0) {
        StartCopy(index, copy, loop);
        return;
    }
    int c = o.nextCopy;
    o.nextCopy = o.copyCount > 0 ? (o.nextCopy + 1) % o.copyCount : 0;
    StartCopy(index, c, loop);
}

// Reloads every object in use at its own index (ReloadAll, SelectFormat).
void ReloadObjects()
{
    ReloadMode = 1;
    for (CurrentSound = 0; CurrentSound < ov::MAX_SOUNDS; ++CurrentSound) {
        SoundObject& o = SoundObjects[CurrentSound];
        if (!o.inUse) continue;
        if (Streamed(o)) {
            ov::CopyText(SoundPackPath, sizeof(SoundPackPath), o.stream.packPath);
            LoadStream(o.name, static_cast<int>(o.stream.loopStart - o.stream.dataStart));
        } else if (o.fromPack) {
            LoadPack(o.name, o.copyCount);
        } else {
            LoadObject(o.name, o.copyCount);
        }
    }
    ReloadMode = 0;
}

// A canonical 44-byte-header WAVE image among the program's resources.
bool FindWaveResource(const char* name, WAVEFORMATEX* format, const BYTE** data, DWORD* dataSize)
{
    HRSRC r = FindResourceA(nullptr, name, "WAVE");
    if (!r) r = FindResourceA(nullptr, name, RT_RCDATA);
    if (!r) return false;
    const BYTE* image = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, r)));
    DWORD size = SizeofResource(nullptr, r);
    if (!image || size < 44) return false;
    DWORD d = static_cast<DWORD>(image[40]) | (static_cast<DWORD>(image[41]) << 8) |
              (static_cast<DWORD>(image[42]) << 16) | (static_cast<DWORD>(image[43]) << 24);
    if (d > size - 44) return false;
    // The 16 bytes at offset 20 are the format; its extra size is 0 (PCM).
    std::memset(format, 0, sizeof(*format));
    std::memcpy(format, image + 20, 16);
    *data = image + 44;
    *dataSize = d;
    return true;
}

}  // namespace

// * * * Helpers the pack and stream loaders share * * *

namespace detail {

int FindFreeObject(const char* context)
{
    for (int i = 0; i < ov::MAX_SOUNDS; ++i)
        if (!SoundObjects[i].inUse) return i;
    ovSystem::Error(context, texts::kTooManyObjects, 0);
    return -1;
}

void ApplyNewCopySettings(SoundObject& o, SoundCopy& c)
{
    if (!ReloadMode) {
        DWORD f = 0;
        c.buffer->GetFrequency(&f);
        c.frequency = f;
        o.baseFrequency = f;
        c.volume = 0;
        c.pan = 0;
    } else {
        c.buffer->SetVolume(c.volume);
        c.buffer->SetFrequency(c.frequency);
        c.buffer->SetPan(c.pan);
    }
}

void UndoLoad(int index, const SoundObject& saved)
{
    SoundObject& o = SoundObjects[index];
    for (int c = 0; c < ov::MAX_SOUND_COPIES; ++c) {
        if (o.copies[c].buffer && o.copies[c].buffer != saved.copies[c].buffer) {
            o.copies[c].buffer->Release();
            o.copies[c].buffer = nullptr;
        }
    }
    if (!ReloadMode) o = saved;
}

int BuildCopies(int index, const char* context, const WAVEFORMATEX* format, const BYTE* data, DWORD dataSize,
                int mixCount)
{
    SoundObject& o = SoundObjects[index];
    o.copyCount = std::abs(mixCount);
    if (o.copyCount < 1) o.copyCount = 1;  // a mix count of 0 makes one copy
    o.echoState = mixCount > 1 ? 0 : -1;
    if (!ReloadMode) o.nextCopy = 0;
    if (o.nextCopy >= o.copyCount) o.nextCopy = 0;
    for (int j = 0; j < o.copyCount; ++j) {
        SoundCopy& c = o.copies[j];
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), kObjectBufferFlags, dataSize, 0, format};
        c.buffer = nullptr;
        HRESULT hr = Device->CreateSoundBuffer(&desc, &c.buffer, nullptr);
        if (FAILED(hr)) {
            c.buffer = nullptr;
            ovSystem::Error(context, texts::kBufferNotCreated, hr);
            return 0;
        }
        void* p1;
        void* p2;
        DWORD n1, n2;
        if (SUCCEEDED(c.buffer->Lock(0, dataSize, &p1, &n1, &p2, &n2, 0))) {
            std::memcpy(p1, data, n1);
            if (p2) std::memcpy(p2, data + n1, n2);
            c.buffer->Unlock(p1, n1, p2, n2);
        }
        ApplyNewCopySettings(o, c);
    }
    return 1;
}

int StoreName(int index, const char* name, const char* context, const char* message)
{
    if (ReloadMode) return 1;
    if (std::strlen(name) > sizeof(SoundObjects[index].name) - 1) {
        ovSystem::Error(context, message, 0);
        return 0;
    }
    std::strcpy(SoundObjects[index].name, name);
    return 1;
}

void EmptyTable()
{
    for (SoundObject& o : SoundObjects) {
        o.inUse = 0;
        o.copyCount = 1;
        o.nextCopy = 0;
        o.baseFrequency = 0;
        o.name[0] = '\0';
        o.echoState = -1;
        o.fromPack = 0;
        o.stream.dataSize = 0;
        for (SoundCopy& c : o.copies) {
            c.volume = 0;
            c.frequency = 0;
            c.pan = 0;
        }
    }
}

}  // namespace detail

// * * * Device * * *

int Open()
{
    if (FAILED(DirectSoundCreate(nullptr, &Device, nullptr))) {
        Device = nullptr;
        SoundAvailable = 0;
        return 0;
    }
    if (FAILED(Device->SetCooperativeLevel(ovSystem::WindowHandle, DSSCL_PRIORITY)))
        Device->SetCooperativeLevel(ovSystem::WindowHandle, DSSCL_NORMAL);
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
    PrimaryBuffer = nullptr;
    if (FAILED(Device->CreateSoundBuffer(&desc, &PrimaryBuffer, nullptr))) PrimaryBuffer = nullptr;
    for (SoundObject& o : SoundObjects)
        for (SoundCopy& c : o.copies) c.buffer = nullptr;
    ReloadMode = 0;
    SoundAvailable = 1;
    return 1;
}

void Close()
{
    if (!SoundAvailable) return;
    for (SoundObject& o : SoundObjects)
        if (o.inUse) ReleaseCopies(o);
    if (PrimaryBuffer) PrimaryBuffer->Release();
    PrimaryBuffer = nullptr;
    if (Device) Device->Release();
    Device = nullptr;
}

// * * * The WAVE reader * * *

int ReadWave(const char* path, WAVEFORMATEX** formatBlock, DWORD* formatSize, BYTE** dataBlock, DWORD* dataSize)
{
    *formatBlock = nullptr;
    *formatSize = 0;
    *dataBlock = nullptr;
    *dataSize = 0;
    HMMIO file = mmioOpenA(path, nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!file) return 1;
    auto fail = [&]() {
        std::free(*formatBlock);
        std::free(*dataBlock);
        *formatBlock = nullptr;
        *dataBlock = nullptr;
        *dataSize = 0;
        mmioClose(file, 0);
        return 1;
    };
    // Every chunk must lie inside the file: nothing is allocated from a size
    // the file cannot hold.
    const LONG fileSize = mmioSeek(file, 0, SEEK_END);
    if (fileSize < 0 || mmioSeek(file, 0, SEEK_SET) != 0) return fail();
    auto insideFile = [&](const MMCKINFO& ck) {
        return ck.dwDataOffset <= static_cast<DWORD>(fileSize) && ck.cksize <= static_cast<DWORD>(fileSize) - ck.dwDataOffset;
    };

    MMCKINFO riff{};
    if (mmioDescend(file, &riff, nullptr, 0) != 0) return fail();
    if (riff.ckid != mmioFOURCC('R', 'I', 'F', 'F') || riff.fccType != mmioFOURCC('W', 'A', 'V', 'E') || !insideFile(riff))
        return fail();

    MMCKINFO fmt{};
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &fmt, &riff, MMIO_FINDCHUNK) != 0 || fmt.cksize < 16 || !insideFile(fmt)) return fail();
    BYTE pcm[16];
    if (mmioRead(file, reinterpret_cast<char*>(pcm), 16) != 16) return fail();
    WORD tag = static_cast<WORD>(pcm[0] | (pcm[1] << 8));
    WORD extra = 0;
    if (tag != WAVE_FORMAT_PCM) {
        BYTE size[2];
        if (fmt.cksize < 18 || mmioRead(file, reinterpret_cast<char*>(size), 2) != 2) return fail();
        extra = static_cast<WORD>(size[0] | (size[1] << 8));
        if (extra > fmt.cksize - 18) return fail();  // the extra bytes must be in the chunk
    }
    *formatSize = 18u + extra;
    *formatBlock = static_cast<WAVEFORMATEX*>(std::malloc(*formatSize));
    if (!*formatBlock) return fail();
    BYTE* block = reinterpret_cast<BYTE*>(*formatBlock);
    std::memcpy(block, pcm, 16);
    block[16] = static_cast<BYTE>(extra & 0xFF);
    block[17] = static_cast<BYTE>(extra >> 8);
    if (extra && mmioRead(file, reinterpret_cast<char*>(block + 18), extra) != extra) return fail();
    if (mmioAscend(file, &fmt, 0) != 0) return fail();

    // The data chunk is searched from the first sub-chunk again, so chunks may
    // stand in any order.
    if (mmioSeek(file, static_cast<LONG>(riff.dwDataOffset + 4), SEEK_SET) < 0) return fail();
    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &data, &riff, MMIO_FINDCHUNK) != 0 || !insideFile(data)) return fail();
    *dataBlock = static_cast<BYTE*>(std::malloc(data.cksize ? data.cksize : 1));
    if (!*dataBlock) return fail();

    MMIOINFO info{};
    if (mmioGetInfo(file, &info, 0) != 0) return fail();
    for (DWORD i = 0; i < data.cksize; ++i) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(file, &info, MMIO_READ) != 0 || info.pchNext == info.pchEndRead) return fail();
        }
        (*dataBlock)[i] = static_cast<BYTE>(*info.pchNext++);
    }
    if (mmioSetInfo(file, &info, 0) != 0) return fail();
    *dataSize = data.cksize;
    mmioClose(file, 0);
    return 0;
}

// * * * Objects * * *

int LoadObject(const char* name, int mixCount)
{
    if (!SoundAvailable) return -1;
    if (mixCount > ov::MAX_SOUND_COPIES || mixCount < -ov::MAX_SOUND_COPIES)
        return ovSystem::Error(kLoadObject, texts::kTooManyMixes, 0) - 1;
    if (!ReloadMode) {
        CurrentSound = detail::FindFreeObject(kLoadObject);
        if (CurrentSound < 0) return -1;
    }
    const int index = CurrentSound;

    char path[ov::TEXT_BUFFER];
    ov::CopyText(path, sizeof(path), ovSystem::BasePath(0));
    ov::AppendText(path, sizeof(path), name);
    WAVEFORMATEX* formatBlock = nullptr;
    DWORD formatSize = 0;
    BYTE* dataBlock = nullptr;
    DWORD dataSize = 0;
    WAVEFORMATEX resourceFormat{};
    const WAVEFORMATEX* format;
    const BYTE* data;
    if (ReadWave(path, &formatBlock, &formatSize, &dataBlock, &dataSize) == 0) {
        format = formatBlock;
        data = dataBlock;
    } else if (FindWaveResource(name, &resourceFormat, &data, &dataSize)) {
        format = &resourceFormat;
    } else {
        return ovSystem::Error(kLoadObject, texts::kWaveResourceMissing, 0) - 1;
    }

    const SoundObject saved = SoundObjects[index];
    int ok = detail::BuildCopies(index, kLoadObject, format, data, dataSize, mixCount);
    std::free(formatBlock);
    std::free(dataBlock);
    if (!ok) {
        detail::UndoLoad(index, saved);
        return -1;
    }
    SoundObject& o = SoundObjects[index];
    o.inUse = 1;
    o.fromPack = 0;
    o.stream.dataSize = 0;
    if (!detail::StoreName(index, name, kLoadObject, texts::kNameTooLong)) {
        detail::UndoLoad(index, saved);
        return -1;
    }
    return index;
}

void ReleaseObject(int index)
{
    if (!SoundAvailable) return;
    SoundObject& o = SoundObjects[index];
    if (!o.inUse) return;
    o.inUse = 0;
    o.baseFrequency = 0;
    o.name[0] = '\0';
    o.fromPack = 0;
    o.stream.dataSize = 0;
    for (int c = 0; c < o.copyCount; ++c) {
        SoundCopy& copy = o.copies[c];
        copy.volume = 0;
        copy.frequency = 0;
        copy.pan = 0;
        if (copy.buffer) {
            copy.buffer->Stop();
            copy.buffer->Release();
            copy.buffer = nullptr;
        }
    }
    o.copyCount = 1;
}

void ReloadAll()
{
    if (!SoundAvailable) return;
    // The device in use is released first, so that a reload never leaves
    // the old buffers sounding on a device nobody holds.
    Close();
    if (!Open()) return;
    ReloadObjects();
}

int SelectFormat(int channels, int rate, int bits)
{
    if (!SoundAvailable) return 1;
    for (SoundObject& o : SoundObjects)
        if (o.inUse) ReleaseCopies(o);
    DWORD hz = rate == 8 ? 8000 : rate == 11 ? 11025 : rate == 22 ? 22050 : rate == 44 ? 44100 : static_cast<DWORD>(rate);
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = static_cast<WORD>(channels);
    f.nSamplesPerSec = hz;
    f.wBitsPerSample = static_cast<WORD>(bits);
    f.nBlockAlign = static_cast<WORD>(channels * (bits / 8));
    f.nAvgBytesPerSec = hz * f.nBlockAlign;
    HRESULT hr = PrimaryBuffer ? PrimaryBuffer->SetFormat(&f) : DSERR_INVALIDCALL;
    if (FAILED(hr)) return ovSystem::Error(kSelectFormat, texts::kFormatNotChanged, hr);
    ReloadObjects();
    return 1;
}

void PlaySystem(const char* fileName)
{
    Close();
    sndPlaySoundA(fileName, SND_SYNC);
    // The device was released above; ReloadAll makes a new one.
    if (!SoundAvailable) return;
    if (!Open()) return;
    ReloadObjects();
}

// * * * Playing * * *

void Play(int index, int copy) { PlayRequest(index, copy, false); }

void PlayLoop(int index, int copy) { PlayRequest(index, copy, true); }

void Stop(int index, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, false, [](SoundObject&, SoundCopy& c) {
        if (!c.buffer) return;
        c.buffer->Stop();
        c.buffer->SetCurrentPosition(0);
    });
    SoundObject& o = SoundObjects[index];
    if (copy < 0 && o.echoState >= 0) o.echoState = 0;
}

void Pause(int index, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, false, [](SoundObject& o, SoundCopy& c) {
        if (!c.buffer) return;
        DWORD status = 0;
        c.buffer->GetStatus(&status);
        if (status & DSBSTATUS_PLAYING) {
            c.buffer->GetCurrentPosition(&c.pausePosition, nullptr);
            c.buffer->Stop();
        } else {
            c.buffer->SetCurrentPosition(c.pausePosition);
            c.buffer->Play(0, 0, o.loopFlag == 1 || Streamed(o) ? DSBPLAY_LOOPING : 0);
        }
    });
}

// * * * Settings * * *

void AddFrequency(int index, int delta, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [delta](SoundObject&, SoundCopy& c) {
        GiveFrequency(c, static_cast<long long>(c.frequency) + delta * 100LL);
    });
}

void ResetFrequency(int index, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [](SoundObject& o, SoundCopy& c) {
        c.frequency = o.baseFrequency;
        if (c.buffer) c.buffer->SetFrequency(c.frequency);
    });
}

void SetFrequency(int index, int value, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [value](SoundObject& o, SoundCopy& c) {
        GiveFrequency(c, static_cast<long long>(o.baseFrequency) + value * 100LL);
    });
}

void AddPan(int index, int delta, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [delta](SoundObject&, SoundCopy& c) { GivePan(c, c.pan + delta * 100LL); });
}

void ResetPan(int index, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [](SoundObject&, SoundCopy& c) { GivePan(c, 0); });
}

void SetPan(int index, int value, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [value](SoundObject&, SoundCopy& c) { GivePan(c, value * 100LL); });
}

void PanLeft(int index, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [](SoundObject&, SoundCopy& c) { GivePan(c, DSBPAN_LEFT); });
}

void PanRight(int index, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [](SoundObject&, SoundCopy& c) { GivePan(c, DSBPAN_RIGHT); });
}

void AddVolume(int index, int delta, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [delta](SoundObject&, SoundCopy& c) { GiveVolume(c, c.volume + delta * 100LL); });
}

void ResetVolume(int index, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [](SoundObject&, SoundCopy& c) { GiveVolume(c, 0); });
}

void SetVolume(int index, int value, int copy)
{
    if (!SoundAvailable) return;
    ForSelected(index, copy, true, [value](SoundObject&, SoundCopy& c) { GiveVolume(c, value * 100LL); });
}

// * * * Echo * * *

namespace {

void EchoStep(int index, int intervalMs, int count, int step, bool sweep, int sweepSpeed)
{
    if (!SoundAvailable) return;
    SoundObject& o = SoundObjects[index];
    if (o.echoState < 1 || count < 1) return;
    o.echoTimer += ovSystem::FrameDelta * 1000.0f;
    if (static_cast<float>(intervalMs) > o.echoTimer) return;
    o.echoTimer = 0.0f;
    if (sweep) {
        o.sweepPan += static_cast<float>(o.sweepDirection) * ovSystem::FrameDelta * 100.0f * static_cast<float>(sweepSpeed);
        if (o.sweepPan < -30.0f) {
            o.sweepPan = -30.0f;
            o.sweepDirection = -o.sweepDirection;
        }
        if (o.sweepPan > 30.0f) {
            o.sweepPan = 30.0f;
            o.sweepDirection = -o.sweepDirection;
        }
        SetPan(index, static_cast<int>(o.sweepPan), -2);
    }
    long long down = -static_cast<long long>(o.echoState) * step;
    SetVolume(index, static_cast<int>(std::clamp<long long>(down, -100000, 100000)), -2);
    if (o.echoPlayLoop == 1) PlayLoop(index, -3);
    else Play(index, -3);
    if (++o.echoState > count) o.echoState = 0;
}

}  // namespace

void Echo(int index, int intervalMs, int count, int step) { EchoStep(index, intervalMs, count, step, false, 0); }

void EchoPan(int index, int intervalMs, int count, int step, int sweepSpeed)
{
    EchoStep(index, intervalMs, count, step, true, sweepSpeed);
}

}  // namespace ovSound
