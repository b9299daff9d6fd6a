// sound/stream.cpp - streamed playback of long pack entries through a
// 4-second ring buffer refilled 2 seconds at a time.
//
// The ring is copy 0 of a one-copy object, always played looped. Each due
// refill (the play cursor has entered the chunk written last) reads the next
// chunk from the pack file into the half that has just been played. Near the
// end the rest of the data is read in two equal chunks; every chunk is a
// whole number of sample frames. After the last byte a looping stream goes on
// at its loop start; one that does not loop writes one chunk of silence (in
// its own format: 0x80 for 8-bit data, 0 for 16-bit) and then stops and
// rewinds itself at the next due refill.
//
// LIMITATIONS: the refills must come less than 2 seconds apart; a late one
// lets the ring play stale data. A loop offset is rounded down to a whole
// frame, and one at or beyond the end of the data loops to the start.
// DEPENDENCIES: the pack scanner (pack.cpp), the table and play operations
// (objects.cpp).

#include "sound/sound.h"

#include "sound/sound_internal.h"
#include "sound/texts.h"
#include "system/sjis_text.h"
#include "system/system.h"

#include <cstdlib>
#include <cstring>

namespace ovSound {
namespace {

constexpr char kLoadStream[] = "ovSound::LoadStream";
constexpr char kResetStream[] = "ovSound::ResetStream";
constexpr char kStreaming[] = "ovSound::Streaming";
constexpr DWORD kStreamBufferFlags = DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_GLOBALFOCUS | DSBCAPS_STATIC |
                                     DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
constexpr DWORD kNoCursor = 0xFFFFFFFFu;

// The ring buffer's format, for the frame size and the silence value.
WAVEFORMATEX RingFormat(const SoundObject& o)
{
    WAVEFORMATEX f{};
    if (o.copies[0].buffer) o.copies[0].buffer->GetFormat(&f, sizeof(f), nullptr);
    return f;
}

// Copies n bytes into the ring at offset (wrapping), or silence when data is null.
void WriteRing(SoundCopy& ring, DWORD offset, const BYTE* data, DWORD n, BYTE silence)
{
    if (!ring.buffer || n == 0) return;
    void* p1;
    void* p2;
    DWORD n1, n2;
    if (FAILED(ring.buffer->Lock(offset, n, &p1, &n1, &p2, &n2, 0))) return;
    if (data) {
        std::memcpy(p1, data, n1);
        if (p2) std::memcpy(p2, data + n1, n2);
    } else {
        std::memset(p1, silence, n1);
        if (p2) std::memset(p2, silence, n2);
    }
    ring.buffer->Unlock(p1, n1, p2, n2);
}

// Reads the first halfSize bytes of the stream from dataStart into the ring's
// first half; resets the refill state. context names the reporting operation.
int Preload(int index, std::FILE* pack, const char* context)
{
    SoundObject& o = SoundObjects[index];
    SoundStream& s = o.stream;
    if (std::fseek(pack, static_cast<long>(s.dataStart), SEEK_SET) != 0) {
        std::fclose(pack);
        return ovSystem::Error(context, texts::kStreamFailed, 0);
    }
    BYTE* chunk = static_cast<BYTE*>(std::malloc(s.halfSize));
    if (!chunk || std::fread(chunk, 1, s.halfSize, pack) != s.halfSize) {
        std::free(chunk);
        std::fclose(pack);
        return ovSystem::Error(context, texts::kStreamFailed, 0);
    }
    s.filePos = static_cast<DWORD>(std::ftell(pack));
    std::fclose(pack);
    s.trigger = 0;
    s.writeOffset = s.halfSize;
    s.readCount = s.halfSize;
    s.wrapCursor = kNoCursor;
    s.lastCursor = 0;
    s.stopCountdown = 0;
    WriteRing(o.copies[0], 0, chunk, s.halfSize, 0);
    std::free(chunk);
    return 1;
}

}  // namespace

int LoadStream(const char* name, int loopOffset)
{
    if (!SoundAvailable) return -1;
    if (!ReloadMode) {
        CurrentSound = detail::FindFreeObject(kLoadStream);
        if (CurrentSound < 0) return -1;
    }
    const int index = CurrentSound;
    char packPath[sizeof(SoundStream::packPath)];
    ov::CopyText(packPath, sizeof(packPath), SoundPackPath);
    std::FILE* pack = packPath[0] ? detail::OpenEngineFile(packPath, "rb") : nullptr;
    if (!pack) return ovSystem::Error(kLoadStream, texts::kNoPackFile, 0) - 1;
    char upper[ov::TEXT_BUFFER];
    detail::UpperName(upper, sizeof(upper), name);
    DWORD d = 0, f = 0;
    WAVEFORMATEX* format = nullptr;
    if (!detail::FindPackEntry(pack, upper, &d, &f) || !(format = detail::ReadPackFormat(pack, f)) ||
        format->nAvgBytesPerSec == 0 || format->nBlockAlign == 0) {
        std::free(format);
        std::fclose(pack);
        return ovSystem::Error(kLoadStream, texts::kWaveUnreadable, 0) - 1;
    }
    if (d / format->nAvgBytesPerSec < 5) {
        // Too short to be worth streaming: an ordinary one-copy pack object.
        std::free(format);
        std::fclose(pack);
        return LoadPack(name, 1);
    }
    const SoundObject saved = SoundObjects[index];
    SoundObject& o = SoundObjects[index];
    SoundStream& s = o.stream;
    const DWORD align = format->nBlockAlign;
    ov::CopyText(s.packPath, sizeof(s.packPath), packPath);
    s.dataSize = d;
    s.bufferSize = 4 * format->nAvgBytesPerSec;
    s.bufferSize -= s.bufferSize % (2 * align);  // two halves of whole frames
    s.halfSize = s.bufferSize / 2;
    s.dataStart = static_cast<DWORD>(std::ftell(pack));
    DWORD offset = loopOffset > 0 ? static_cast<DWORD>(loopOffset) : 0;
    offset -= offset % align;
    if (offset >= d) offset = 0;
    s.loopStart = s.dataStart + offset;

    o.copyCount = 1;
    o.echoState = -1;
    o.nextCopy = 0;  // the only copy
    SoundCopy& ring = o.copies[0];
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), kStreamBufferFlags, s.bufferSize, 0, format};
    ring.buffer = nullptr;
    HRESULT hr = Device->CreateSoundBuffer(&desc, &ring.buffer, nullptr);
    std::free(format);
    if (FAILED(hr)) {
        ring.buffer = nullptr;
        std::fclose(pack);
        ovSystem::Error(kLoadStream, texts::kBufferNotCreated, hr);
        detail::UndoLoad(index, saved);
        return -1;
    }
    if (!Preload(index, pack, kLoadStream)) {
        detail::UndoLoad(index, saved);
        return -1;
    }
    detail::ApplyNewCopySettings(o, ring);
    o.inUse = 1;
    o.fromPack = 1;
    if (!detail::StoreName(index, name, kLoadStream, texts::kPackNameTooLong)) {
        detail::UndoLoad(index, saved);
        return -1;
    }
    return index;
}

int ResetStream(int index)
{
    if (!SoundAvailable) return 0;
    SoundStream& s = SoundObjects[index].stream;
    std::FILE* pack = detail::OpenEngineFile(s.packPath, "rb");
    if (!pack) return ovSystem::Error(kResetStream, texts::kNoPackFile, 0);
    return Preload(index, pack, kResetStream);
}

int Streaming()
{
    if (!SoundAvailable) return 0;
    for (int index = 0; index < ov::MAX_SOUNDS; ++index) {
        SoundObject& o = SoundObjects[index];
        SoundStream& s = o.stream;
        SoundCopy& ring = o.copies[0];
        if (s.dataSize == 0 || !ring.buffer) continue;
        DWORD status = 0;
        ring.buffer->GetStatus(&status);
        if (!(status & DSBSTATUS_PLAYING)) continue;
        DWORD cursor = 0;
        ring.buffer->GetCurrentPosition(&cursor, nullptr);
        bool due;
        if (s.wrapCursor == kNoCursor) due = cursor >= s.trigger || cursor < s.lastCursor;
        else if (s.trigger < s.wrapCursor) due = s.trigger <= cursor && cursor < s.wrapCursor;
        else due = cursor >= s.trigger;
        if (!due) continue;
        s.lastCursor = cursor;
        if (s.stopCountdown > 0 && --s.stopCountdown == 0) {
            Stop(index, -1);
            continue;
        }
        std::FILE* pack = detail::OpenEngineFile(s.packPath, "rb");
        if (!pack) return ovSystem::Error(kStreaming, texts::kNoPackFile, 0);
        if (std::fseek(pack, static_cast<long>(s.filePos), SEEK_SET) != 0) {
            std::fclose(pack);
            return ovSystem::Error(kStreaming, texts::kStreamFailed, 0);
        }
        const WAVEFORMATEX format = RingFormat(o);
        const DWORD align = format.nBlockAlign ? format.nBlockAlign : 1;
        DWORD rest = s.dataSize - s.readCount;
        DWORD n = s.halfSize;
        if (n > rest) {
            n = rest;
        } else if (rest - n < n) {
            n = rest / 2;
            n -= n % align;  // whole frames; the second chunk takes the remainder
            if (n == 0) n = rest;
        }
        BYTE* chunk = static_cast<BYTE*>(std::malloc(n ? n : 1));
        if (!chunk || std::fread(chunk, 1, n, pack) != n) {
            std::free(chunk);
            std::fclose(pack);
            return ovSystem::Error(kStreaming, texts::kStreamFailed, 0);
        }
        s.filePos = static_cast<DWORD>(std::ftell(pack));
        std::fclose(pack);
        s.readCount += n;
        if (s.readCount >= s.dataSize) {
            s.filePos = s.loopStart;
            s.readCount = s.loopStart - s.dataStart;
            if (o.loopFlag == 0) s.stopCountdown = 2;
        }
        const BYTE silence = format.wBitsPerSample == 8 ? 0x80 : 0x00;
        WriteRing(ring, s.writeOffset, s.stopCountdown == 1 ? nullptr : chunk, n, silence);
        std::free(chunk);
        s.wrapCursor = s.writeOffset < s.trigger ? cursor : kNoCursor;
        s.trigger = s.writeOffset;
        s.writeOffset += n;
        if (s.writeOffset >= s.bufferSize) s.writeOffset -= s.bufferSize;
    }
    return 1;
}

}  // namespace ovSound
