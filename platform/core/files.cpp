// platform/core/files.cpp - the file layer: engine paths matched against a
// case-sensitive UTF-8 file system, fopen-style opening, folder searches with
// wildcards, deletion, and the system directory.
//
// A path is cut into names at '/' and '\' (a '\' that is the trail byte of a
// two-byte Shift-JIS character is part of a name), a leading drive letter
// makes it start at "/", and then each name is resolved in turn: as given if
// it exists, else the first entry of the folder's listing that equals it
// ignoring ASCII case (compared in its UTF-8 spelling when the name is
// Shift-JIS with bytes >= 0x80), else kept as given for the caller to create
// or fail on. Searches read the whole listing when they start and hand out
// the matches in a fixed order.
//
// LIMITATIONS: folding covers ASCII letters only (not full-width letters);
// a native UTF-8 name immediately followed by '\' may swallow it when its
// last bytes look like a Shift-JIS lead byte (native paths use '/', so the
// engine's own paths never do this); at most 16 searches are open at once.
// DEPENDENCIES: POSIX opendir/stat/unlink, platform/core/sjis.h (iconv).

#include "platform/files.h"

#include "platform/backend.h"
#include "platform/core/sjis.h"
#include "platform/process.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ovPlatform {
namespace {

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsAscii(const std::string& s)
{
    for (unsigned char c : s) {
        if (c >= 0x80) return false;
    }
    return true;
}

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Upper(const std::string& s)
{
    std::string out = s;
    for (char& c : out) c = Fold(c);
    return out;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Fold(a[i]) != Fold(b[i])) return false;
    }
    return true;
}

// Length of the character at text[i]: 2 for a Shift-JIS lead byte with a
// valid trail byte, else 1.
std::size_t CharLength(const char* text, std::size_t i)
{
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsSjisLeadByte(c) && text[i + 1] && IsTrailByte(static_cast<unsigned char>(text[i + 1]))) return 2;
    return 1;
}

struct SplitPath {
    bool absolute = false;
    std::vector<std::string> names;
};

SplitPath Split(const char* path)
{
    SplitPath out;
    std::size_t i = 0;
    if (((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':') {
        out.absolute = true;  // every drive is the file system root
        i = 2;
    }
    if (IsSeparator(path[i])) out.absolute = true;
    std::string name;
    while (path[i]) {
        std::size_t n = CharLength(path, i);
        if (n == 1 && IsSeparator(path[i])) {
            if (!name.empty()) out.names.push_back(name);
            name.clear();
        } else {
            name.append(path + i, n);
        }
        i += n;
    }
    if (!name.empty()) out.names.push_back(name);
    return out;
}

// The on-disk (UTF-8) spelling of a Shift-JIS name, or the name itself when
// it is plain ASCII or does not read as Shift-JIS.
std::string DiskSpelling(const std::string& name)
{
    if (IsAscii(name)) return name;
    std::string utf8 = SjisToUtf8(name.c_str(), name.size());
    if (Utf8ToSjis(utf8) != name) return name;
    return utf8;
}

// The engine's (Shift-JIS) spelling of an on-disk name, or the raw bytes.
std::string EngineSpelling(const std::string& name)
{
    if (IsAscii(name)) return name;
    std::string sjis = Utf8ToSjis(name);
    if (SjisToUtf8(sjis.c_str(), sjis.size()) != name) return name;
    return sjis;
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// The entry of folder that equals name ignoring case; empty when none.
std::string FindEntry(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return {};
    std::string best;
    std::string bestKey;
    while (dirent* entry = readdir(dir)) {
        std::string entryName = entry->d_name;
        if (entryName == "." || entryName == "..") continue;
        if (!EqualNoCase(entryName, name)) continue;
        // Several entries may differ only in case: take the same one every time.
        std::string key = entryName;
        if (best.empty() || key < bestKey) {
            best = entryName;
            bestKey = key;
        }
    }
    closedir(dir);
    return best;
}

std::string Resolve(const char* path)
{
    SplitPath split = Split(path);
    std::string current = split.absolute ? "/" : "";
    for (const std::string& name : split.names) {
        if (name == "." || name == "..") {
            current = Join(current, name);
            continue;
        }
        std::string exact = Join(current, name);
        if (Exists(exact)) {
            current = exact;
            continue;
        }
        std::string spelled = DiskSpelling(name);
        if (spelled != name && Exists(Join(current, spelled))) {
            current = Join(current, spelled);
            continue;
        }
        std::string found = FindEntry(current, spelled);
        current = Join(current, found.empty() ? spelled : found);
    }
    if (current.empty()) current.push_back('.');
    return current;
}

// * * * Searches * * *

struct Search {
    bool used = false;
    std::vector<WIN32_FIND_DATAA> matches;
    std::size_t next = 0;
};

constexpr int kMaxSearches = 16;
Search searches[kMaxSearches];

Search* SearchOf(HANDLE handle)
{
    for (auto& s : searches) {
        if (reinterpret_cast<HANDLE>(&s) == handle) return s.used ? &s : nullptr;
    }
    return nullptr;
}

// Matches pattern[p..] against name[n..], one Shift-JIS character at a time.
bool MatchFrom(const char* pattern, const char* name)
{
    while (*pattern) {
        if (*pattern == '*') {
            while (*pattern == '*') ++pattern;
            if (!*pattern) return true;
            for (const char* n = name; *n; n += CharLength(n, 0)) {
                if (MatchFrom(pattern, n)) return true;
            }
            return false;
        }
        if (!*name) return false;
        std::size_t pl = CharLength(pattern, 0);
        std::size_t nl = CharLength(name, 0);
        if (*pattern == '?' && pl == 1) {
            pattern += 1;
            name += nl;
            continue;
        }
        if (pl != nl) return false;
        if (pl == 1 ? Fold(*pattern) != Fold(*name) : std::memcmp(pattern, name, 2) != 0) return false;
        pattern += pl;
        name += nl;
    }
    return !*name;
}

void CopyName(char* dst, const std::string& name)
{
    std::size_t n = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::memcpy(dst, name.data(), n);
    dst[n] = '\0';
}

}  // namespace

bool MatchPattern(const char* pattern, const char* name)
{
    if (!pattern || !name) return false;
    if (std::strcmp(pattern, "*.*") == 0) return true;
    return MatchFrom(pattern, name);
}

bool ResolvePath(const char* path, char* native, std::size_t size)
{
    if (size == 0) return false;
    native[0] = '\0';
    if (!path || !*path) return false;
    std::string resolved = Resolve(path);
    if (resolved.size() >= size) return false;
    std::memcpy(native, resolved.c_str(), resolved.size() + 1);
    return true;
}

std::FILE* OpenFile(const char* path, const char* mode)
{
    if (!path || !*path || !mode) return nullptr;
    char nativeMode[8];
    std::size_t n = 0;
    for (const char* m = mode; *m && n + 1 < sizeof(nativeMode); ++m) {
        if (*m != 't') nativeMode[n++] = *m;
    }
    nativeMode[n] = '\0';
    std::string resolved = Resolve(path);
    return std::fopen(resolved.c_str(), nativeMode);
}

}  // namespace ovPlatform

using namespace ovPlatform;

HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data)
{
    if (!pattern || !data) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    // The folder is everything up to the last separator; the rest is the pattern.
    std::size_t nameStart = 0;
    for (std::size_t i = 0; pattern[i];) {
        std::size_t n = CharLength(pattern, i);
        if (n == 1 && (IsSeparator(pattern[i]) || (i == 1 && pattern[i] == ':'))) nameStart = i + 1;
        i += n;
    }
    std::string folderPart(pattern, nameStart);
    std::string namePattern = pattern + nameStart;
    std::string folder = folderPart.empty() ? std::string(".") : Resolve(folderPart.c_str());

    Search* search = nullptr;
    for (auto& s : searches) {
        if (!s.used) {
            search = &s;
            break;
        }
    }
    DIR* dir = search && !namePattern.empty() ? opendir(folder.c_str()) : nullptr;
    if (!dir) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::vector<std::pair<std::string, WIN32_FIND_DATAA>> found;
    while (dirent* entry = readdir(dir)) {
        std::string diskName = entry->d_name;
        if (diskName == "." || diskName == "..") continue;
        std::string name = EngineSpelling(diskName);
        if (name.size() >= MAX_PATH) continue;
        if (!MatchPattern(namePattern.c_str(), name.c_str())) continue;
        struct stat st;
        if (stat(Join(folder, diskName).c_str(), &st) != 0) continue;  // a dangling link
        WIN32_FIND_DATAA record{};
        if (S_ISDIR(st.st_mode)) {
            record.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
        } else {
            record.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
            auto size = static_cast<std::uint64_t>(st.st_size);
            record.nFileSizeHigh = static_cast<DWORD>(size >> 32);
            record.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
        }
        if (access(Join(folder, diskName).c_str(), W_OK) != 0) record.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
        CopyName(record.cFileName, name);
        found.emplace_back(Upper(name) + '\0' + name, record);
    }
    closedir(dir);
    if (found.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    search->used = true;
    search->next = 1;
    search->matches.clear();
    for (auto& f : found) search->matches.push_back(f.second);
    *data = search->matches[0];
    SetLastError(ERROR_SUCCESS);
    return reinterpret_cast<HANDLE>(search);
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* data)
{
    Search* search = SearchOf(handle);
    if (!search || !data || search->next >= search->matches.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = search->matches[search->next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle)
{
    Search* search = SearchOf(handle);
    if (!search) return FALSE;
    search->used = false;
    search->matches.clear();
    search->matches.shrink_to_fit();
    search->next = 0;
    return TRUE;
}

BOOL DeleteFileA(const char* path)
{
    if (!path || !*path) return FALSE;
    std::string resolved = Resolve(path);
    struct stat st;
    if (lstat(resolved.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return unlink(resolved.c_str()) == 0 ? TRUE : FALSE;
}

UINT GetWindowsDirectoryA(char* buffer, UINT size)
{
    char path[4096];
    if (!CurrentBackend().GetSystemDirectory(CurrentBackend(), path, sizeof(path))) return 0;
    std::size_t length = std::strlen(path);
    while (length > 1 && path[length - 1] == '/') path[--length] = '\0';
    if (length == 0) return 0;
    if (!buffer || length + 1 > size) return static_cast<UINT>(length + 1);
    std::memcpy(buffer, path, length + 1);
    return static_cast<UINT>(length);
}
