// system/paths.h - the path state behind ovSystem::BasePath, and the bounded
// composition of engine paths that every module uses to name its files.
//
// Base paths end with the separator of the path they came from: on Linux the
// executable's directory ends with '/'. The file layer (platform/files.h)
// accepts '/' and '\' alike, so a name such as "DATA\\A.BMP" may be appended.
#pragma once

#include <cstddef>

namespace ovSystem {

extern char BasePathBuffer[256];  // what BasePath returned last; "" when the executable's path is unknown or too long
extern char SaveDirectory[256];   // from ReadSaveDirectory, without a trailing separator; "" = none
extern char ProgramFolder[128];   // the executable's folder name with its separator ("TOY/"), set by BasePath(1)

}  // namespace ovSystem

namespace ovSystem::detail {

// out = BasePath(flag) followed by name, in size bytes. False, with out
// empty, when there is no base path or the whole would not fit: the caller
// then opens nothing rather than a cut-short name.
bool JoinBasePath(char* out, std::size_t size, int flag, const char* name);

// True when text[i] is a folder separator ('/' or '\' that is not the second
// byte of a two-byte Shift-JIS character).
bool IsSeparatorAt(const char* text, std::size_t i);

}  // namespace ovSystem::detail
