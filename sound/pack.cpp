// sound/pack.cpp - sound packs: choosing the pack, loading an entry into a
// sound object, and the converter that appends a folder of WAVE files.
//
// Pack entry: D (4 bytes, little-endian), the upper-case name with its NUL,
// F (4 bytes), F format bytes, D data bytes. The scanner steps over an entry
// by F + D after its F field, the exact entry length for every format, so a
// non-PCM entry does not make it lose its place. An entry whose sizes run
// past the end of the file, whose name has no NUL within 256 bytes, or whose
// F is shorter than a format record, ends the scan: nothing beyond the file
// is ever allocated or read.
//
// LIMITATIONS: entry names up to 255 bytes; names compare after upper-casing
// single-byte letters (two-byte Shift-JIS characters are kept as they are).
// DEPENDENCIES: platform/files.h (case-insensitive names, folder search);
// the WAVE reader and the copy builder of objects.cpp.

#include "sound/sound.h"

#include "platform/files.h"
#include "sound/sound_internal.h"
#include "sound/texts.h"
#include "system/sjis_text.h"
#include "system/system.h"

#include <cstdlib>
#include <cstring>

namespace ovSound {

char SoundPackPath[ov::TEXT_BUFFER] = "";

namespace {

constexpr char kLoadPack[] = "ovSound::LoadPack";
constexpr std::size_t kMaxEntryName = 256;
constexpr DWORD kMaxFormatSize = 18 + 0xFFFF;

bool Read32(std::FILE* f, DWORD* value)
{
    unsigned char b[4];
    if (std::fread(b, 1, 4, f) != 4) return false;
    *value = static_cast<DWORD>(b[0]) | (static_cast<DWORD>(b[1]) << 8) | (static_cast<DWORD>(b[2]) << 16) |
             (static_cast<DWORD>(b[3]) << 24);
    return true;
}

bool Write32(std::FILE* f, DWORD value)
{
    unsigned char b[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return std::fwrite(b, 1, 4, f) == 4;
}

long FileLength(std::FILE* f)
{
    long here = std::ftell(f);
    if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return -1;
    long size = std::ftell(f);
    if (std::fseek(f, here, SEEK_SET) != 0) return -1;
    return size;
}

}  // namespace

namespace detail {

std::FILE* OpenEngineFile(const char* path, const char* mode) { return ovPlatform::OpenFile(path, mode); }

void UpperName(char* out, std::size_t size, const char* name)
{
    ov::CopyText(out, size, name);
    for (std::size_t i = 0; out[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (ov::IsLeadByte(c)) {
            if (out[i + 1]) ++i;
        } else if (c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
}

bool FindPackEntry(std::FILE* pack, const char* upperName, DWORD* dataSize, DWORD* formatSize)
{
    const long length = FileLength(pack);
    if (length < 0 || std::fseek(pack, 0, SEEK_SET) != 0) return false;
    char stored[kMaxEntryName];
    for (;;) {
        DWORD d, f;
        if (!Read32(pack, &d)) return false;
        std::size_t n = 0;
        int c;
        while ((c = std::fgetc(pack)) != EOF && c != '\0') {
            if (n + 1 >= sizeof(stored)) return false;  // no NUL where a name can be: not a pack entry
            stored[n++] = static_cast<char>(c);
        }
        if (c == EOF) return false;
        stored[n] = '\0';
        if (!Read32(pack, &f)) return false;
        long here = std::ftell(pack);
        if (here < 0 || f < 16 || f > kMaxFormatSize) return false;
        if (static_cast<unsigned long long>(f) + d > static_cast<unsigned long long>(length - here)) return false;
        if (std::strcmp(stored, upperName) == 0) {
            *dataSize = d;
            *formatSize = f;
            return true;
        }
        if (std::fseek(pack, static_cast<long>(f + static_cast<unsigned long long>(d)), SEEK_CUR) != 0) return false;
    }
}

WAVEFORMATEX* ReadPackFormat(std::FILE* pack, DWORD formatSize)
{
    // At least the 18-byte record, so that every field can be read.
    std::size_t size = formatSize < sizeof(WAVEFORMATEX) ? sizeof(WAVEFORMATEX) : formatSize;
    auto* format = static_cast<WAVEFORMATEX*>(std::calloc(1, size));
    if (!format) return nullptr;
    if (std::fread(format, 1, formatSize, pack) != formatSize) {
        std::free(format);
        return nullptr;
    }
    if (formatSize < sizeof(WAVEFORMATEX)) format->cbSize = 0;
    return format;
}

}  // namespace detail

void SetPack(const char* name)
{
    ov::CopyText(SoundPackPath, sizeof(SoundPackPath), ovSystem::BasePath(0));
    ov::AppendText(SoundPackPath, sizeof(SoundPackPath), name);
}

int LoadPack(const char* name, int mixCount)
{
    if (!SoundAvailable) return -1;
    if (mixCount > ov::MAX_SOUND_COPIES || mixCount < -ov::MAX_SOUND_COPIES)
        return ovSystem::Error(kLoadPack, texts::kTooManyMixes, 0) - 1;
    if (!ReloadMode) {
        CurrentSound = detail::FindFreeObject(kLoadPack);
        if (CurrentSound < 0) return -1;
    }
    const int index = CurrentSound;
    std::FILE* pack = SoundPackPath[0] ? detail::OpenEngineFile(SoundPackPath, "rb") : nullptr;
    if (!pack) return ovSystem::Error(kLoadPack, texts::kNoPackFile, 0) - 1;
    char upper[ov::TEXT_BUFFER];
    detail::UpperName(upper, sizeof(upper), name);
    DWORD d = 0, f = 0;
    WAVEFORMATEX* format = nullptr;
    BYTE* data = nullptr;
    bool read = detail::FindPackEntry(pack, upper, &d, &f) && (format = detail::ReadPackFormat(pack, f)) != nullptr &&
                (data = static_cast<BYTE*>(std::malloc(d ? d : 1))) != nullptr && std::fread(data, 1, d, pack) == d;
    std::fclose(pack);
    if (!read) {
        std::free(format);
        std::free(data);
        return ovSystem::Error(kLoadPack, texts::kWaveUnreadable, 0) - 1;
    }
    const SoundObject saved = SoundObjects[index];
    int ok = detail::BuildCopies(index, kLoadPack, format, data, d, mixCount);
    std::free(format);
    std::free(data);
    if (!ok) {
        detail::UndoLoad(index, saved);
        return -1;
    }
    SoundObject& o = SoundObjects[index];
    o.inUse = 1;
    o.fromPack = 1;
    o.stream.dataSize = 0;
    if (!detail::StoreName(index, name, kLoadPack, texts::kPackNameTooLong)) {
        detail::UndoLoad(index, saved);
        return -1;
    }
    return index;
}

int Convert(const char* packName, const char* folder, int deleteFirst)
{
    char path[ov::TEXT_BUFFER];
    if (deleteFirst) {
        ov::CopyText(path, sizeof(path), ovSystem::BasePath(0));
        ov::AppendText(path, sizeof(path), packName);
        DeleteFileA(path);
    }
    char pattern[ov::TEXT_BUFFER];
    ov::CopyText(pattern, sizeof(pattern), ovSystem::BasePath(0));
    if (folder[0]) {
        ov::AppendText(pattern, sizeof(pattern), folder);
        ov::AppendText(pattern, sizeof(pattern), "\\*.WAV");
    } else {
        ov::AppendText(pattern, sizeof(pattern), "*.WAV");
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 1;
    do {
        char relative[ov::TEXT_BUFFER] = "";
        if (folder[0]) {
            ov::CopyText(relative, sizeof(relative), folder);
            ov::AppendText(relative, sizeof(relative), "\\");
        }
        ov::AppendText(relative, sizeof(relative), found.cFileName);
        char upper[ov::TEXT_BUFFER];
        detail::UpperName(upper, sizeof(upper), relative);
        AppendWave(packName, upper);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return 1;
}

void AppendWave(const char* packName, const char* relativePath)
{
    char path[ov::TEXT_BUFFER];
    ov::CopyText(path, sizeof(path), ovSystem::BasePath(0));
    ov::AppendText(path, sizeof(path), relativePath);
    WAVEFORMATEX* format;
    DWORD formatSize;
    BYTE* data;
    DWORD dataSize;
    if (ReadWave(path, &format, &formatSize, &data, &dataSize) != 0) return;
    ov::CopyText(path, sizeof(path), ovSystem::BasePath(0));
    ov::AppendText(path, sizeof(path), packName);
    if (std::FILE* pack = detail::OpenEngineFile(path, "ab")) {
        // The entry name is the part after the last folder separator.
        const char* entry = relativePath;
        for (std::size_t i = 0; relativePath[i]; ++i) {
            unsigned char c = static_cast<unsigned char>(relativePath[i]);
            if (ov::IsLeadByte(c) && relativePath[i + 1]) ++i;
            else if (c == '\\' || c == '/') entry = relativePath + i + 1;
        }
        Write32(pack, dataSize);
        std::fwrite(entry, 1, std::strlen(entry) + 1, pack);
        Write32(pack, formatSize);
        std::fwrite(format, 1, formatSize, pack);
        std::fwrite(data, 1, dataSize, pack);
        std::fclose(pack);
    }
    std::free(format);
    std::free(data);
}

}  // namespace ovSound
