// system/files.cpp - the base path, the save directory and the one-integer
// files.
//
// Every engine file is named relative to the executable's directory, which
// BasePath(0) gives with its trailing separator. One-integer files use
// BasePath(1): when a save directory has been read from the system
// directory, they live in a folder of the executable's folder name inside it
// (save directory "/srv/save", executable "/opt/toy/toy" -> "/srv/save/toy/"),
// so a program can run from a folder it cannot write to.
//
// Paths live in 256-byte buffers. A path that does not fit is never cut
// short: the operation behaves as if the file could not be opened.
//
// LIMITATIONS: the separator added between the save directory and the folder
// name is the one the save directory uses ('/' unless it has only '\');
// BasePath keeps the separators of the executable's native path ('/').
// DEPENDENCIES: platform/files.h (OpenFile, GetWindowsDirectoryA),
// platform/process.h (GetModuleFileNameA).

#include "system/paths.h"
#include "system/sjis_text.h"
#include "system/system.h"

#include "platform/files.h"
#include "platform/process.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ovSystem {

char BasePathBuffer[256];
char SaveDirectory[256];
char ProgramFolder[128];

namespace detail {

bool IsSeparatorAt(const char* text, std::size_t i)
{
    if (text[i] != '/' && text[i] != '\\') return false;
    if (text[i] == '/') return true;  // never the second byte of a character
    std::size_t k = 0;
    while (k < i) k += ov::IsLeadByte(static_cast<unsigned char>(text[k])) && text[k + 1] ? 2 : 1;
    return k == i;
}

bool JoinBasePath(char* out, std::size_t size, int flag, const char* name)
{
    if (size == 0) return false;
    out[0] = '\0';
    const char* base = BasePath(flag);
    if (!base[0]) return false;
    std::size_t baseLength = std::strlen(base);
    std::size_t nameLength = name ? std::strlen(name) : 0;
    if (baseLength + nameLength >= size) return false;
    std::memcpy(out, base, baseLength);
    if (nameLength) std::memcpy(out + baseLength, name, nameLength);
    out[baseLength + nameLength] = '\0';
    return true;
}

}  // namespace detail

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The separator a path already uses: '/' unless it has only '\'.
char SeparatorOf(const char* path)
{
    if (std::strchr(path, '/')) return '/';
    for (std::size_t i = 0; path[i]; ++i) {
        if (detail::IsSeparatorAt(path, i)) return '\\';
    }
    return '/';
}

}  // namespace

char* BasePath(int flag)
{
    char* buffer = BasePathBuffer;
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof(BasePathBuffer));
    if (length == 0 || length >= sizeof(BasePathBuffer)) {
        // Unknown, or cut short: a directory taken from a cut name would be wrong.
        buffer[0] = '\0';
        return buffer;
    }
    std::size_t end = length;
    while (end > 0 && !IsSeparator(buffer[end - 1])) --end;
    buffer[end] = '\0';
    if (flag == 0 || SaveDirectory[0] == '\0' || end == 0) return buffer;

    // The program folder: the last folder name with its separator.
    if (end >= 2) {
        std::size_t start = end - 1;
        while (start > 0 && !IsSeparator(buffer[start - 1])) --start;
        if (start > 0) {
            std::size_t folderLength = end - start;
            if (folderLength >= sizeof(ProgramFolder)) {
                buffer[0] = '\0';
                return buffer;
            }
            std::memcpy(ProgramFolder, buffer + start, folderLength + 1);
        }
    }
    // Save directory, separator (none after a root such as "/"), folder name.
    char composed[sizeof(BasePathBuffer)];
    std::size_t saveLength = std::strlen(SaveDirectory);
    std::size_t folderLength = std::strlen(ProgramFolder);
    bool separated = detail::IsSeparatorAt(SaveDirectory, saveLength - 1);
    std::size_t total = saveLength + (separated ? 0 : 1) + folderLength;
    if (total >= sizeof(composed)) {
        buffer[0] = '\0';
        return buffer;
    }
    std::memcpy(composed, SaveDirectory, saveLength);
    if (!separated) composed[saveLength] = SeparatorOf(SaveDirectory);
    std::memcpy(composed + total - folderLength, ProgramFolder, folderLength + 1);
    std::memcpy(buffer, composed, total + 1);
    return buffer;
}

int ReadSaveDirectory(const char* fileName)
{
    SaveDirectory[0] = '\0';
    char path[ov::TEXT_BUFFER];
    UINT length = GetWindowsDirectoryA(path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return 0;
    // A root such as "/" or "C:\" already ends with its separator.
    if (!detail::IsSeparatorAt(path, length - 1)) {
        const char separator[2] = {SeparatorOf(path), '\0'};
        if (ov::AppendText(path, sizeof(path), separator) != length + 1) return 0;
    }
    std::size_t nameLength = fileName ? std::strlen(fileName) : 0;
    if (std::strlen(path) + nameLength >= sizeof(path)) return 0;
    ov::AppendText(path, sizeof(path), fileName ? fileName : "");

    std::FILE* file = ovPlatform::OpenFile(path, "rt");
    if (!file) return 0;
    char line[ov::TEXT_BUFFER];
    bool read = std::fgets(line, sizeof(line), file) != nullptr;
    std::size_t lineLength = read ? std::strlen(line) : 0;
    // A first line that fills the buffer without its line break goes on: a
    // directory cut there would be the wrong one.
    bool cut = read && lineLength > 0 && line[lineLength - 1] != '\n' && std::fgetc(file) != EOF;
    std::fclose(file);
    if (!read || lineLength == 0 || cut) return 0;

    if (lineLength > 0 && line[lineLength - 1] == '\n') line[--lineLength] = '\0';
    if (lineLength > 0 && line[lineLength - 1] == '\r') line[--lineLength] = '\0';  // written with "\r\n"
    if (lineLength > 1 && detail::IsSeparatorAt(line, lineLength - 1)) line[--lineLength] = '\0';
    ov::CopyText(SaveDirectory, sizeof(SaveDirectory), line);
    return 1;
}

void SaveInt(const char* fileName, int value)
{
    char path[ov::TEXT_BUFFER];
    if (!detail::JoinBasePath(path, sizeof(path), 1, fileName)) return;
    std::FILE* file = ovPlatform::OpenFile(path, "wt");
    if (!file) return;
    std::fprintf(file, "%d", value);
    std::fclose(file);
}

int LoadInt(const char* fileName)
{
    char path[ov::TEXT_BUFFER];
    if (!detail::JoinBasePath(path, sizeof(path), 1, fileName)) return 0;
    std::FILE* file = ovPlatform::OpenFile(path, "rt");
    if (!file) return 0;
    char text[64];
    std::size_t n = std::fread(text, 1, sizeof(text) - 1, file);
    std::fclose(file);
    text[n] = '\0';
    // One decimal integer after optional white space, as "%d" reads it; a
    // value beyond the int range is clamped rather than left undefined.
    const char* p = text;
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    const char* digits = p + ((*p == '-' || *p == '+') ? 1 : 0);
    if (!std::isdigit(static_cast<unsigned char>(*digits))) return 0;
    long long value = std::strtoll(p, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace ovSystem
