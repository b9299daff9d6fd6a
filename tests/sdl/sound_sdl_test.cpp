// The SDL backend's sound device: real time through SDL's audio callback.

#include "platform/dsound.h"
#include "platform/platform.h"
#include "platform/timer.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

IDirectSoundBuffer* MakeTone(IDirectSound* device)
{
    WAVEFORMATEX f{1, 1, 22050, 44100, 2, 16, 0};
    DSBUFFERDESC d{sizeof(DSBUFFERDESC), DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY,
                   44100, 0, &f};
    IDirectSoundBuffer* b = nullptr;
    if (FAILED(device->CreateSoundBuffer(&d, &b, nullptr))) return nullptr;
    void *p1, *p2;
    DWORD n1, n2;
    b->Lock(0, 44100, &p1, &n1, &p2, &n2, 0);
    std::memset(p1, 0, n1);
    b->Unlock(p1, n1, p2, n2);
    return b;
}

}  // namespace

// With SDL's dummy audio driver (a device that consumes samples in real
// time), the play cursor moves with the wall clock through the callback.
TEST(SdlSound, PlayCursorsAdvanceThroughTheAudioCallback)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(ovPlatform::Start("sdl"));
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    IDirectSoundBuffer* b = MakeTone(device);
    ASSERT_NE(b, nullptr);
    b->Play(0, 0, 0);
    DWORD cursor = 0, status = 0;
    for (int i = 0; i < 100 && cursor == 0; ++i) {
        Sleep(20);
        b->GetCurrentPosition(&cursor, nullptr);
    }
    EXPECT_GT(cursor, 0u);
    for (int i = 0; i < 150; ++i) {  // one second of data at most 3 s
        b->GetStatus(&status);
        if (!(status & DSBSTATUS_PLAYING)) break;
        Sleep(20);
    }
    EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u);
    MessageBeep(0xFFFFFFFFu);  // mixed into the open device
    b->Release();
    device->Release();
    MessageBeep(0xFFFFFFFFu);  // on a device of its own
    ovPlatform::Stop();
    unsetenv("SDL_AUDIODRIVER");
}

// Without any audio device, DirectSoundCreate fails and the engine goes on
// without sound.
TEST(SdlSound, NoAudioDeviceMeansNoSound)
{
    setenv("SDL_AUDIODRIVER", "none-such", 1);
    ASSERT_TRUE(ovPlatform::Start("sdl"));
    IDirectSound* device = reinterpret_cast<IDirectSound*>(1);
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    ovSound::detail::EmptyTable();
    EXPECT_EQ(ovSound::Open(), 0);
    EXPECT_EQ(ovSound::LoadObject("anything.wav", 1), -1);
    ovSound::Beep();  // no device: nothing to beep on, and nothing breaks
    ovPlatform::Stop();
    unsetenv("SDL_AUDIODRIVER");
}
