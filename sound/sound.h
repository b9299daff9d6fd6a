// sound/sound.h - ovSound: the sound device, the sound object table with its
// copies and echo, sound packs, streamed playback, and the system beep.
//
// Sounds live in a table of 70 objects (indices 0..69). Each object holds 1
// to 10 copies of the same sound (its mix count) so that it can sound several
// times at once; each copy is a buffer of its own on the sound device. Loads
// return the object's index, or -1 after a reported failure. Without a sound
// device (ovSound::Open failed) every operation does nothing and loads return
// -1 without a box; the rest of the engine runs on.
//
// Copy selector (the copy argument of the play and setting operations):
//   0..copyCount-1  that copy;
//   -2              the rotation copy; Play and PlayLoop also start an echo;
//   other negative  Play / PlayLoop: the rotation copy; all other operations:
//                   every copy of the object, in copy order.
// Stop and Pause treat every negative selector (-2 included) as "all copies".
// A play through a negative selector uses copy nextCopy and then advances
// nextCopy by one, wrapping at copyCount; a play of a given copy leaves it.
//
// Settings are given in hundredths of the device unit: the stored value is
// the argument x 100, then clamped: volume -10000..0 (hundredths of a dB of
// attenuation, -10000 silent), pan -10000 (left) .. 10000 (right), frequency
// 100..100000 Hz. Indices and copies are the caller's to get right; nothing
// checks them.
//
// Streams: an entry of the sound pack 5 seconds long or more can be opened as
// a streamed object, which plays through a 4-second ring refilled 2 seconds
// at a time by ovSound::Streaming, called once per frame. A streamed object
// has one copy and cannot echo.
#pragma once

#include "platform/dsound.h"
#include "system/config.h"

#include <cstdint>

namespace ovSound {

// * * * Records * * *

struct SoundCopy {
    IDirectSoundBuffer* buffer;  // the copy's buffer; null when not created
    LONG volume;                 // -10000..0, hundredths of a dB
    DWORD frequency;             // 100..100000 Hz
    LONG pan;                    // -10000..10000
    DWORD pausePosition;         // play cursor saved by Pause, bytes
};

struct SoundStream {
    DWORD dataStart;      // pack file offset of the entry's first sample byte
    DWORD loopStart;      // where reading resumes after the last byte: dataStart + loop offset
    DWORD filePos;        // pack file offset of the next byte to read
    DWORD dataSize;       // sample bytes of the entry; non-zero exactly while streamed
    DWORD readCount;      // sample bytes read so far, from dataStart
    DWORD trigger;        // ring offset where the chunk written last begins
    DWORD writeOffset;    // ring offset of the next chunk
    DWORD halfSize;       // normal chunk: 2 seconds of data, bytes
    DWORD bufferSize;     // ring: 4 seconds of data, bytes
    DWORD wrapCursor;     // play cursor noted when a chunk wrapped to the ring's start; 0xFFFFFFFF = none
    DWORD lastCursor;     // play cursor noted at the last refill
    std::uint8_t stopCountdown;  // 2 after the last byte of a non-looping stream was read; counted down by refills
    char packPath[259];   // full path of the pack file, reopened by every read
};

struct SoundObject {
    int inUse;             // 1 when loaded
    char name[31];         // the name given to the load (at most 30 bytes), kept for reloading
    int copyCount;         // 1..10
    int nextCopy;          // the rotation copy
    DWORD baseFrequency;   // Hz, the data's own playback rate
    int fromPack;          // 1 when loaded from the sound pack
    int loopFlag;          // 1 after PlayLoop, 0 after Play; a resumed copy loops when 1
    int echoState;         // -1 cannot echo; 0 no echo running; 1..count the next echo
    float echoTimer;       // milliseconds since the last echo
    int echoPlayLoop;      // 1 when the running echo was started by PlayLoop
    float sweepPan;        // EchoPan's sweep position, -30..30
    int sweepDirection;    // +1 or -1
    SoundCopy copies[ov::MAX_SOUND_COPIES];
    SoundStream stream;
};

// * * * Engine-wide state * * *

extern int SoundAvailable;                         // 1 after Open created the device
extern IDirectSound* Device;                       // the sound device
extern IDirectSoundBuffer* PrimaryBuffer;          // used only by SelectFormat
extern int ReloadMode;                             // 1 while ReloadAll / SelectFormat reload in place
extern int CurrentSound;                           // the index a load fills
extern SoundObject SoundObjects[ov::MAX_SOUNDS];   // the sound object table
extern char SoundPackPath[ov::TEXT_BUFFER];        // the current sound pack; empty until SetPack

// * * * Device and table * * *

int Open();                                   // start the device: 1, or 0 when there is none (no box)
void Close();                                 // stop and release every buffer and the device; the table stays
int LoadObject(const char* name, int mixCount);  // WAVE file beside the executable, else a "WAVE" / RT_RCDATA resource; mixCount -10..10 (negative: copies that cannot echo); index or -1
void ReleaseObject(int index);                // free an object; nothing when not in use
void ReloadAll();                             // new device; every object reloaded in place with its settings
int SelectFormat(int channels, int rate, int bits);  // output format; rate 8, 11, 22, 44 (kHz) or Hz; 1, or 0 after a box
void PlaySystem(const char* fileName);        // play a WAVE file through the system player, to its end
void Beep();                                  // the plain system beep
// Reads a RIFF WAVE file. 0 on success, 1 on failure (no box, nothing left
// allocated). On success *formatBlock holds the format (18 + extra bytes,
// *formatSize), *dataBlock the "data" chunk (*dataSize bytes); the caller
// frees both with std::free.
int ReadWave(const char* path, WAVEFORMATEX** formatBlock, DWORD* formatSize, BYTE** dataBlock, DWORD* dataSize);

// * * * Playing (object, copy selector) * * *

void Play(int index, int copy);               // from the start, once (streams: rewound, ring looped)
void PlayLoop(int index, int copy);           // from the start, looped
void Stop(int index, int copy);               // stop and rewind; a negative selector ends a running echo
void Pause(int index, int copy);              // toggle: pause at the cursor, or resume from it

// * * * Settings (object, value in hundredths of the unit, copy selector) * * *

void AddFrequency(int index, int delta, int copy);  // frequency + delta x 100 Hz
void ResetFrequency(int index, int copy);           // baseFrequency
void SetFrequency(int index, int value, int copy);  // baseFrequency + value x 100 Hz
void AddPan(int index, int delta, int copy);        // pan + delta x 100
void ResetPan(int index, int copy);                 // centre
void SetPan(int index, int value, int copy);        // value x 100
void PanLeft(int index, int copy);                  // -10000
void PanRight(int index, int copy);                 // 10000
void AddVolume(int index, int delta, int copy);     // volume + delta x 100
void ResetVolume(int index, int copy);              // 0 (full)
void SetVolume(int index, int value, int copy);     // value x 100

// * * * Echo (once per frame while an echo runs; started by a play with selector -2) * * *

// Every intervalMs (counted in whole frames of ovSystem::FrameDelta) the next
// copy sounds, the k-th echo k x step dB quieter, count echoes in all.
void Echo(int index, int intervalMs, int count, int step);
// The same, the echoes' pan sweeping -3000..3000 at sweepSpeed.
void EchoPan(int index, int intervalMs, int count, int step, int sweepSpeed);

// * * * Sound packs * * *
// A pack file is a plain sequence of entries: data size D (4 bytes), the
// upper-case file name with its NUL, format size F (4 bytes), the F-byte
// format, the D data bytes. Names are looked up in upper case; the first
// entry of a name wins.

void SetPack(const char* name);               // the pack beside the executable; nothing is opened
int LoadPack(const char* name, int mixCount); // an entry of the pack into the first free object; index or -1
int Convert(const char* packName, const char* folder, int deleteFirst);  // append every *.WAV of folder ("" = the executable's directory); always 1
void AppendWave(const char* packName, const char* relativePath);        // append one WAVE file; skipped when unreadable

// * * * Streaming * * *

int LoadStream(const char* name, int loopOffset);  // a pack entry as a streamed object; loopOffset bytes into the data; index or -1
int Streaming();                              // one refill pass over every stream; 1, or 0 after a box
int ResetStream(int index);                   // rewind and preload 2 seconds; 1, or 0 after a box

}  // namespace ovSound

namespace ovSound::detail {

// The display start-up's emptying of the table: every object free, one copy,
// no name, cannot echo, not from a pack, not streamed, settings 0. Buffer
// pointers are Open's to clear.
void EmptyTable();

}  // namespace ovSound::detail
