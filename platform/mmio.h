// platform/mmio.h - buffered RIFF file reading, and the system sound player.
//
// A file opened with mmioOpenA is read through an I/O buffer the caller may
// also walk directly (mmioGetInfo, then pchNext up to pchEndRead, mmioAdvance
// to refill, mmioSetInfo to hand the position back). RIFF chunks are entered
// with mmioDescend and left with mmioAscend; a chunk is an 8-byte header (a
// four-character code and a 32-bit little-endian size) and its data, padded
// to an even length. "RIFF" and "LIST" chunks carry a form type after the
// header. Offsets are bytes from the start of the file.
//
// Files are read only; names are matched by the file layer (platform/files.h):
// relative to the current directory unless absolute, either separator,
// without regard to case.
#pragma once

#include "platform/types.h"

#include <cstdint>

using FOURCC = DWORD;
constexpr FOURCC mmioFOURCC(char a, char b, char c, char d)
{
    return static_cast<FOURCC>(static_cast<std::uint8_t>(a)) | (static_cast<FOURCC>(static_cast<std::uint8_t>(b)) << 8) |
           (static_cast<FOURCC>(static_cast<std::uint8_t>(c)) << 16) | (static_cast<FOURCC>(static_cast<std::uint8_t>(d)) << 24);
}

struct PlatformMmio;
using HMMIO = PlatformMmio*;

// * * * Flags and results * * *

inline constexpr DWORD MMIO_READ = 0x00000000;
inline constexpr DWORD MMIO_ALLOCBUF = 0x00010000;  // read through an I/O buffer the platform allocates
inline constexpr UINT MMIO_FINDCHUNK = 0x0010;     // descend: search for ckid
inline constexpr UINT MMIO_FINDRIFF = 0x0020;      // descend: search for a "RIFF" chunk of form fccType
inline constexpr UINT MMIO_FINDLIST = 0x0040;      // descend: search for a "LIST" chunk of form fccType

inline constexpr UINT MMSYSERR_NOERROR = 0;
inline constexpr UINT MMSYSERR_INVALPARAM = 11;
inline constexpr UINT MMIOERR_FILENOTFOUND = 257;
inline constexpr UINT MMIOERR_CANNOTREAD = 259;
inline constexpr UINT MMIOERR_CANNOTSEEK = 261;
inline constexpr UINT MMIOERR_CHUNKNOTFOUND = 265;

// * * * Records * * *

struct MMIOINFO {
    DWORD dwFlags;
    UINT wErrorRet;    // mmioOpenA: why the open failed
    char* pchBuffer;   // start of the I/O buffer
    char* pchNext;     // next byte to read
    char* pchEndRead;  // one past the last valid byte
    LONG cchBuffer;    // buffer size
    LONG lBufOffset;   // file offset of pchBuffer
    LONG lDiskOffset;  // file offset of pchEndRead
};

struct MMCKINFO {
    FOURCC ckid;          // chunk identifier
    DWORD cksize;         // data bytes (form type included for RIFF and LIST)
    FOURCC fccType;       // form type of RIFF and LIST chunks
    DWORD dwDataOffset;   // file offset of the chunk's data
    DWORD dwFlags;
};

// * * * Operations * * *

// info may be null; the platform then reports nothing more than null on failure.
HMMIO mmioOpenA(const char* path, MMIOINFO* info, DWORD flags);
UINT mmioClose(HMMIO file, UINT flags);
// Bytes read (0 at the end of the file), or -1.
LONG mmioRead(HMMIO file, char* buffer, LONG bytes);
// New position, or -1. origin is SEEK_SET, SEEK_CUR or SEEK_END; seeking past
// the end is allowed, and reads there return 0.
LONG mmioSeek(HMMIO file, LONG offset, int origin);
// Enter the chunk at the position (flags 0), or search forward from the
// position, within parent when given, for ckid (MMIO_FINDCHUNK) or for a
// RIFF / LIST chunk of form fccType. Afterwards the position is the start
// of the chunk's data (after the form type for RIFF and LIST).
UINT mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, UINT flags);
// Go to the end of chunk (past its pad byte).
UINT mmioAscend(HMMIO file, MMCKINFO* chunk, UINT flags);
UINT mmioGetInfo(HMMIO file, MMIOINFO* info, UINT flags);
UINT mmioSetInfo(HMMIO file, const MMIOINFO* info, UINT flags);
// Refill the I/O buffer from info's pchNext (flags MMIO_READ). At the end of
// the file pchNext equals pchEndRead afterwards.
UINT mmioAdvance(HMMIO file, MMIOINFO* info, UINT flags);

// * * * The system sound player * * *

inline constexpr UINT SND_SYNC = 0x0000;       // return when the sound has finished
inline constexpr UINT SND_ASYNC = 0x0001;
inline constexpr UINT SND_NODEFAULT = 0x0002;

// Plays a PCM WAVE file on the sound device (which must be free: the
// engine releases its own device first). TRUE when it was played.
BOOL sndPlaySoundA(const char* name, UINT flags);
