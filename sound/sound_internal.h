// sound/sound_internal.h - what the sound module's files share. Not for applications.
#pragma once

#include "sound/sound.h"

#include <cstdio>

namespace ovSound::detail {

// The lowest free object index; -1 after the "too many objects" box (context
// names the operation).
int FindFreeObject(const char* context);

// Makes the copies of object index from one format and sample block: the
// load steps shared by LoadObject and LoadPack (mix count already checked).
// Outside reload mode a failure leaves the object as saved. Returns 1, or 0
// after a box.
int BuildCopies(int index, const char* context, const WAVEFORMATEX* format, const BYTE* data, DWORD dataSize,
                int mixCount);

// Gives a freshly made copy buffer its settings: outside reload mode reads its
// frequency into the copy and the base frequency and zeroes volume and pan;
// in reload mode gives the stored settings back.
void ApplyNewCopySettings(SoundObject& object, SoundCopy& copy);

// Puts the object back as it was before a failed load (outside reload mode),
// releasing whatever buffers the attempt made.
void UndoLoad(int index, const SoundObject& saved);

// Stores name in the object outside reload mode; 0 (after the box with
// message) when it is longer than 30 bytes.
int StoreName(int index, const char* name, const char* context, const char* message);

// Opens a file of the engine (a path it built from the base path).
std::FILE* OpenEngineFile(const char* path, const char* mode);

// Copies name into out (size bytes) in upper case, single-byte letters only.
void UpperName(char* out, std::size_t size, const char* name);

// Scans an open pack from its start for the entry called upperName. On
// success the file stands at the entry's format block and *dataSize and
// *formatSize hold D and F, both checked against the file's length.
bool FindPackEntry(std::FILE* pack, const char* upperName, DWORD* dataSize, DWORD* formatSize);

// Reads F format bytes and checks them as a PCM format the device can take
// (the result is an 18-byte-or-longer block the caller frees with std::free).
WAVEFORMATEX* ReadPackFormat(std::FILE* pack, DWORD formatSize);

}  // namespace ovSound::detail
