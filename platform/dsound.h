// platform/dsound.h - the sound device: independent PCM buffers mixed into one output.
//
// A device (IDirectSound) hands out secondary buffers, each holding PCM data
// in its own format (8-bit unsigned or 16-bit signed, mono or stereo, any rate
// from 100 to 100000 Hz). Every playing buffer is mixed into the output at its
// own playback frequency, with linear interpolation, its own attenuation and
// pan. The primary buffer stands for the output itself; its format can only be
// changed under the priority level.
//
// Units: cursors and sizes are bytes of the buffer's data; volume is
// attenuation in hundredths of a decibel, -10000 (silence) .. 0 (full), the
// gain being 10^(volume / 2000); pan is -10000 (left only) .. 10000 (right
// only), the other channel attenuated by the same rule; frequency is in Hz.
//
// There is one thread of engine calls. On the SDL backend the mixing runs on
// SDL's audio thread; every lock between the two stays inside the platform.
// Lock hands out writable regions that the engine fills; the data reaches the
// mixer at Unlock. On the headless backend play cursors advance with the
// virtual clock (see platform/headless/headless.h).
#pragma once

#include "platform/types.h"

#include <cstdint>

// * * * Results * * *

inline constexpr HRESULT DS_OK = 0;
inline constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
inline constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
inline constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
inline constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
inline constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);

// * * * Constants * * *

inline constexpr DWORD DSSCL_NORMAL = 1;
inline constexpr DWORD DSSCL_PRIORITY = 2;

inline constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
inline constexpr DWORD DSBCAPS_STATIC = 0x00000002;
inline constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
inline constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
inline constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
inline constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x00008000;     // audible while the application is inactive
inline constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

inline constexpr DWORD DSBPLAY_LOOPING = 0x00000001;

inline constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
inline constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;

inline constexpr LONG DSBVOLUME_MIN = -10000;
inline constexpr LONG DSBVOLUME_MAX = 0;
inline constexpr LONG DSBPAN_LEFT = -10000;
inline constexpr LONG DSBPAN_RIGHT = 10000;
inline constexpr DWORD DSBFREQUENCY_MIN = 100;
inline constexpr DWORD DSBFREQUENCY_MAX = 100000;

inline constexpr WORD WAVE_FORMAT_PCM = 1;

// * * * Records * * *

#pragma pack(push, 2)
// A PCM format as stored in WAVE files: 18 bytes, then cbSize extra bytes.
struct WAVEFORMATEX {
    WORD wFormatTag;        // 1 = PCM; the device accepts nothing else
    WORD nChannels;         // 1 or 2
    DWORD nSamplesPerSec;   // 100..100000
    DWORD nAvgBytesPerSec;  // nSamplesPerSec * nBlockAlign
    WORD nBlockAlign;       // nChannels * wBitsPerSample / 8
    WORD wBitsPerSample;    // 8 (unsigned) or 16 (signed, little-endian)
    WORD cbSize;            // extra format bytes after this record
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX is the 18-byte stored record");

struct DSBUFFERDESC {
    DWORD dwSize;               // 20
    DWORD dwFlags;              // DSBCAPS_*
    DWORD dwBufferBytes;        // 0 for the primary buffer
    DWORD dwReserved;
    const WAVEFORMATEX* lpwfxFormat;  // null for the primary buffer
};

// * * * Buffers and the device * * *
// Both are owned by the platform and live until their last Release.

struct IDirectSoundBuffer {
    // Writable regions for bytes bytes from offset (wrapping past the end):
    // the second region is null / 0 unless the range wraps. The bytes reach
    // the mixer at Unlock.
    HRESULT Lock(DWORD offset, DWORD bytes, void** region1, DWORD* size1, void** region2, DWORD* size2, DWORD flags);
    HRESULT Unlock(void* region1, DWORD size1, void* region2, DWORD size2);
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);  // flags 0 (once) or DSBPLAY_LOOPING
    HRESULT Stop();                                             // the cursor stays where it is
    HRESULT SetCurrentPosition(DWORD position);                 // bytes, rounded down to a whole frame
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write);      // bytes; either pointer may be null
    HRESULT GetStatus(DWORD* status);                           // DSBSTATUS_*
    HRESULT SetVolume(LONG volume);                             // -10000..0
    HRESULT GetVolume(LONG* volume);
    HRESULT SetPan(LONG pan);                                   // -10000..10000
    HRESULT GetPan(LONG* pan);
    HRESULT SetFrequency(DWORD frequency);                      // 100..100000 Hz; 0 = the format's own rate
    HRESULT GetFrequency(DWORD* frequency);
    HRESULT SetFormat(const WAVEFORMATEX* format);              // primary buffer only: the output format
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD size, DWORD* written);
    DWORD Release();                                            // the remaining reference count

    struct Impl;
    Impl* impl;
};

struct IDirectSound {
    HRESULT SetCooperativeLevel(HWND window, DWORD level);     // DSSCL_PRIORITY may be refused
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, void* outer);
    DWORD Release();

    struct Impl;
    Impl* impl;
};

// The default device (guid null, outer null). Fails with DSERR_NODRIVER when
// the backend has no sound device, or it cannot be opened.
HRESULT DirectSoundCreate(const void* guid, IDirectSound** device, void* outer);
