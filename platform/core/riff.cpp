// platform/core/riff.cpp - buffered RIFF reading (the mmio operations), a
// PCM WAVE loader for the platform's own use, and the system sound player.
//
// The I/O buffer is the window [lBufOffset, lBufOffset + valid bytes) of the
// file; the position is lBufOffset + (pchNext - pchBuffer). Seeks inside the
// window only move pchNext; others empty the window, and the next read
// refills it from the new position. Chunk searches never leave their parent
// chunk, and a header that does not fit in the file is not a chunk.
//
// LIMITATIONS: reading only; files up to 2 GiB (32-bit offsets).
// DEPENDENCIES: the file layer (platform/files.h); the backend's AudioDriver for the sound player.

#include "platform/mmio.h"

#include "platform/audio_driver.h"
#include "platform/backend.h"
#include "platform/files.h"

#include <cstdio>
#include <cstring>
#include <new>

struct PlatformMmio {
    std::FILE* file;
    long fileSize;
    char* buffer;
    long bufferSize;
    long bufOffset;  // file offset of buffer[0]
    long next;       // index of the next byte in buffer
    long valid;      // bytes of buffer that hold file data
};

namespace {

constexpr long kBufferSize = 8192;
constexpr FOURCC kRiff = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC kList = mmioFOURCC('L', 'I', 'S', 'T');

long Position(const PlatformMmio& m) { return m.bufOffset + m.next; }

// Refill the window from the current position. Returns the bytes now valid.
long Refill(PlatformMmio& m)
{
    m.bufOffset += m.next;
    m.next = 0;
    m.valid = 0;
    if (m.bufOffset >= m.fileSize) return 0;
    if (std::fseek(m.file, m.bufOffset, SEEK_SET) != 0) return 0;
    m.valid = static_cast<long>(std::fread(m.buffer, 1, static_cast<std::size_t>(m.bufferSize), m.file));
    return m.valid;
}

bool Read32(HMMIO m, DWORD* value)
{
    unsigned char bytes[4];
    if (mmioRead(m, reinterpret_cast<char*>(bytes), 4) != 4) return false;
    *value = static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) | (static_cast<DWORD>(bytes[2]) << 16) |
             (static_cast<DWORD>(bytes[3]) << 24);
    return true;
}

// Reads one chunk header at the position; the form type too for RIFF / LIST.
bool ReadHeader(HMMIO m, MMCKINFO* ck, long limit)
{
    long start = Position(*m);
    if (start < 0 || start + 8 > limit) return false;
    if (!Read32(m, &ck->ckid) || !Read32(m, &ck->cksize)) return false;
    ck->dwDataOffset = static_cast<DWORD>(start + 8);
    ck->fccType = 0;
    ck->dwFlags = 0;
    if (ck->ckid == kRiff || ck->ckid == kList) {
        if (ck->cksize < 4 || start + 12 > limit || !Read32(m, &ck->fccType)) return false;
    }
    return true;
}

}  // namespace

HMMIO mmioOpenA(const char* path, MMIOINFO* info, DWORD flags)
{
    if (info) info->wErrorRet = MMSYSERR_NOERROR;
    if (!path || (flags & 0x3) != MMIO_READ) {
        if (info) info->wErrorRet = MMSYSERR_INVALPARAM;
        return nullptr;
    }
    std::FILE* f = ovPlatform::OpenFile(path, "rb");
    if (!f) {
        if (info) info->wErrorRet = MMIOERR_FILENOTFOUND;
        return nullptr;
    }
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
        std::fclose(f);
        if (info) info->wErrorRet = MMIOERR_CANNOTSEEK;
        return nullptr;
    }
    PlatformMmio* m = new (std::nothrow) PlatformMmio{f, size, nullptr, kBufferSize, 0, 0, 0};
    if (m) m->buffer = new (std::nothrow) char[kBufferSize];
    if (!m || !m->buffer) {
        delete m;
        std::fclose(f);
        if (info) info->wErrorRet = MMIOERR_CANNOTREAD;
        return nullptr;
    }
    return m;
}

UINT mmioClose(HMMIO m, UINT)
{
    if (!m) return MMSYSERR_INVALPARAM;
    std::fclose(m->file);
    delete[] m->buffer;
    delete m;
    return MMSYSERR_NOERROR;
}

LONG mmioRead(HMMIO m, char* out, LONG bytes)
{
    if (!m || bytes < 0 || (!out && bytes)) return -1;
    LONG done = 0;
    while (done < bytes) {
        if (m->next >= m->valid && Refill(*m) == 0) break;
        long n = m->valid - m->next;
        if (n > bytes - done) n = bytes - done;
        std::memcpy(out + done, m->buffer + m->next, static_cast<std::size_t>(n));
        m->next += n;
        done += n;
    }
    return done;
}

LONG mmioSeek(HMMIO m, LONG offset, int origin)
{
    if (!m) return -1;
    long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? Position(*m) : origin == SEEK_END ? m->fileSize : -1;
    if (base < 0) return -1;
    long target = base + offset;
    if (target < 0) return -1;
    if (target >= m->bufOffset && target <= m->bufOffset + m->valid) {
        m->next = target - m->bufOffset;
    } else {
        m->bufOffset = target;
        m->next = 0;
        m->valid = 0;
    }
    return target;
}

UINT mmioDescend(HMMIO m, MMCKINFO* ck, const MMCKINFO* parent, UINT flags)
{
    if (!m || !ck) return MMSYSERR_INVALPARAM;
    long limit = m->fileSize;
    if (parent) {
        long parentEnd = static_cast<long>(parent->dwDataOffset) + static_cast<long>(parent->cksize);
        if (parentEnd < limit) limit = parentEnd;
    }
    FOURCC wantId = ck->ckid;
    FOURCC wantType = ck->fccType;
    for (;;) {
        long start = Position(*m);
        MMCKINFO found{};
        if (!ReadHeader(m, &found, limit)) {
            mmioSeek(m, start, SEEK_SET);
            return MMIOERR_CHUNKNOTFOUND;
        }
        bool match = true;
        if (flags & MMIO_FINDCHUNK) match = found.ckid == wantId;
        else if (flags & MMIO_FINDRIFF) match = found.ckid == kRiff && found.fccType == wantType;
        else if (flags & MMIO_FINDLIST) match = found.ckid == kList && found.fccType == wantType;
        if (match) {
            *ck = found;
            return MMSYSERR_NOERROR;
        }
        // Step over the chunk and its pad byte; stop at the parent's end.
        long long nextChunk = static_cast<long long>(found.dwDataOffset) + found.cksize + (found.cksize & 1);
        if (nextChunk + 8 > limit) {
            mmioSeek(m, start, SEEK_SET);
            return MMIOERR_CHUNKNOTFOUND;
        }
        mmioSeek(m, static_cast<LONG>(nextChunk), SEEK_SET);
    }
}

UINT mmioAscend(HMMIO m, MMCKINFO* ck, UINT)
{
    if (!m || !ck) return MMSYSERR_INVALPARAM;
    long long end = static_cast<long long>(ck->dwDataOffset) + ck->cksize + (ck->cksize & 1);
    if (end > 0x7FFFFFFFll) return MMIOERR_CANNOTSEEK;
    return mmioSeek(m, static_cast<LONG>(end), SEEK_SET) < 0 ? MMIOERR_CANNOTSEEK : MMSYSERR_NOERROR;
}

UINT mmioGetInfo(HMMIO m, MMIOINFO* info, UINT)
{
    if (!m || !info) return MMSYSERR_INVALPARAM;
    std::memset(info, 0, sizeof(*info));
    info->dwFlags = MMIO_ALLOCBUF;
    info->pchBuffer = m->buffer;
    info->pchNext = m->buffer + m->next;
    info->pchEndRead = m->buffer + m->valid;
    info->cchBuffer = m->bufferSize;
    info->lBufOffset = m->bufOffset;
    info->lDiskOffset = m->bufOffset + m->valid;
    return MMSYSERR_NOERROR;
}

UINT mmioSetInfo(HMMIO m, const MMIOINFO* info, UINT)
{
    if (!m || !info) return MMSYSERR_INVALPARAM;
    if (info->pchBuffer != m->buffer || info->pchNext < m->buffer || info->pchNext > m->buffer + m->valid)
        return MMSYSERR_INVALPARAM;
    m->next = static_cast<long>(info->pchNext - m->buffer);
    return MMSYSERR_NOERROR;
}

UINT mmioAdvance(HMMIO m, MMIOINFO* info, UINT flags)
{
    if (!m || !info || flags != MMIO_READ) return MMSYSERR_INVALPARAM;
    if (UINT r = mmioSetInfo(m, info, 0)) return r;
    Refill(*m);
    return mmioGetInfo(m, info, 0);
}

// * * * A PCM WAVE loader for the platform itself * * *

bool ovPlatform::detail::LoadWaveFile(const char* path, WAVEFORMATEX* format, std::vector<std::uint8_t>* data)
{
    *format = WAVEFORMATEX{};
    data->clear();
    HMMIO m = mmioOpenA(path, nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (!m) return false;
    bool ok = false;
    MMCKINFO riff{}, fmt{}, chunk{};
    long fileSize = m->fileSize;
    if (mmioDescend(m, &riff, nullptr, 0) == 0 && riff.ckid == kRiff && riff.fccType == mmioFOURCC('W', 'A', 'V', 'E')) {
        fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
        if (mmioDescend(m, &fmt, &riff, MMIO_FINDCHUNK) == 0 && fmt.cksize >= 16 &&
            mmioRead(m, reinterpret_cast<char*>(format), 16) == 16 && format->wFormatTag == WAVE_FORMAT_PCM) {
            format->cbSize = 0;
            mmioSeek(m, static_cast<LONG>(riff.dwDataOffset + 4), SEEK_SET);
            chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
            if (mmioDescend(m, &chunk, &riff, MMIO_FINDCHUNK) == 0 &&
                chunk.cksize <= static_cast<DWORD>(fileSize - static_cast<long>(chunk.dwDataOffset))) {
                try {
                    data->resize(chunk.cksize);
                    ok = mmioRead(m, reinterpret_cast<char*>(data->data()), static_cast<LONG>(chunk.cksize)) ==
                         static_cast<LONG>(chunk.cksize);
                } catch (const std::bad_alloc&) {
                    ok = false;
                }
            }
        }
    }
    mmioClose(m, 0);
    if (!ok) {
        *format = WAVEFORMATEX{};
        data->clear();
    }
    return ok;
}

BOOL sndPlaySoundA(const char* name, UINT flags)
{
    ovPlatform::Backend& b = ovPlatform::CurrentBackend();
    if (!b.audio || !name) return FALSE;
    return b.audio->PlaySystemSound(b, name, flags) ? TRUE : FALSE;
}
