// platform/files.h - the file layer: opening, finding and deleting files by
// the names the engine builds, and the system directory.
//
// The engine names files the way the desktop it was written for does, and
// this layer makes those names work on a Linux file system:
//
//   * '\' and '/' both separate folders. A '\' that is the second byte of a
//     two-byte Shift-JIS character (such as 0x95 0x5C) stays part of the name.
//   * A path that starts with a drive letter and a colon ("C:\WINDOWS",
//     "d:/save") is taken from the file system root: every drive letter
//     stands for "/". A path that starts with a separator is absolute too;
//     anything else is relative to the current directory.
//   * Names match case-insensitively (ASCII letters). Each folder and the
//     file name are looked up as given first; when that name does not exist,
//     the folder's listing is searched for one that differs only in case
//     (the first in byte order of the upper-cased names, when several do).
//   * Names are Shift-JIS on the engine's side and UTF-8 on disk. A name
//     with bytes >= 0x80 that is not found as given is looked up again as
//     its UTF-8 spelling; a file or folder created under such a name gets the
//     UTF-8 spelling; names found by FindFirstFileA come back in Shift-JIS
//     whenever the code page can spell them (raw bytes otherwise).
//   * A file created by a writing mode gets the name as given (the folders
//     above it are still matched case-insensitively), unless a file that
//     differs only in case already exists: then that file is opened.
//
// Text mode makes no difference here: "rt" reads the bytes as they are, so a
// line written on the original desktop ends in "\r\n". Code that reads lines
// strips a trailing '\r' itself.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <cstdio>

// * * * File search * * *

inline constexpr DWORD MAX_PATH = 260;

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;   // no write permission for the user
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;    // every plain file has it

// What a search reports for each match.
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;   // FILE_ATTRIBUTE_* bits
    DWORD nFileSizeHigh;      // size in bytes, upper 32 bits
    DWORD nFileSizeLow;       // size in bytes, lower 32 bits
    char cFileName[MAX_PATH]; // the name alone (no folder), NUL-terminated, Shift-JIS when it can be
};

// The handle FindFirstFileA returns when nothing matched.
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

// Starts a search. pattern is a folder (optional) and a name pattern, such as
// "DIR\\*.BMP" or "/opt/toy/*.wav": '*' matches any run of characters
// (none included), '?' exactly one, case-insensitively; "*.*" matches every
// name, with or without a dot. "." and ".." are never reported; folders are
// (with FILE_ATTRIBUTE_DIRECTORY). Matches come in byte order of their
// upper-cased names, so a search gives the same order on every machine.
// Returns INVALID_HANDLE_VALUE with GetLastError() == ERROR_FILE_NOT_FOUND
// when nothing matches (also when the folder does not exist); otherwise *data
// holds the first match. At most 16 searches are open at a time.
HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data);
// The next match into *data; FALSE with ERROR_NO_MORE_FILES after the last.
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
// Ends a search; FALSE for a handle that is not an open search.
BOOL FindClose(HANDLE search);

// * * * Files * * *

// Removes a file (not a folder), matched as above. FALSE when there was none
// or it could not be removed.
BOOL DeleteFileA(const char* path);

// The per-user system directory, the "Windows directory" of the engine's
// design: on the SDL backend $XDG_CONFIG_HOME/ovengine or ~/.config/ovengine,
// on the headless backend what the test set (headless::SetSystemDirectory).
// Native path with '/' separators and no trailing separator (unless it is the
// root "/"). Copies at most size - 1 bytes and a terminator; returns the
// length, or the size needed (terminator included) when the buffer is too
// small, in which case nothing is copied; 0 on failure.
UINT GetWindowsDirectoryA(char* buffer, UINT size);

namespace ovPlatform {

// Opens a file the way fopen does, after matching path as described above.
// mode is an fopen mode ("rb", "wb", "ab", "r+b", "rt", "wt", ...); a 't'
// is dropped, as Linux has no text mode. Null when it cannot be opened.
std::FILE* OpenFile(const char* path, const char* mode);

// The native path that path stands for: folders and name matched as above,
// the separators turned into '/'. A name that does not exist is kept as
// given (in its UTF-8 spelling), ready for a file to be made, or for opening
// it to fail. Returns false, with native holding an empty text, when path is
// empty or the result does not fit in size bytes.
bool ResolvePath(const char* path, char* native, std::size_t size);

// True when pattern (with '*' and '?') matches name, case-insensitively.
bool MatchPattern(const char* pattern, const char* name);

}  // namespace ovPlatform
