// platform/resources.h - the program's resource table: named blocks of bytes
// built into the executable.
//
// A program lists its resources in one table of entries (name, type, bytes)
// and installs it before it starts the engine; FindResourceA looks names up
// in it. Names and string types compare without regard to case; a name or
// type made with MAKEINTRESOURCEA is a number and matches the same number.
// The toy's own table is empty. The bytes stay owned by the program and must
// outlive every use.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <cstdint>

namespace ovPlatform {

struct ResourceEntry {
    const char* name;   // or MAKEINTRESOURCEA(id)
    const char* type;   // "WAVE", RT_RCDATA, RT_BITMAP, ...
    const void* data;
    std::uint32_t size; // bytes
};

// Installs the table (count entries; null / 0 for none). Kept across Start and Stop.
void SetResourceTable(const ResourceEntry* entries, std::size_t count);

}  // namespace ovPlatform

using HRSRC = const ovPlatform::ResourceEntry*;
using HGLOBAL = const void*;

inline const char* MAKEINTRESOURCEA(unsigned id) { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id & 0xFFFF)); }
inline bool IS_INTRESOURCE(const char* p) { return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0; }
inline const char* const RT_BITMAP = MAKEINTRESOURCEA(2);
inline const char* const RT_RCDATA = MAKEINTRESOURCEA(10);

// null when there is no resource of that name and type. module is ignored
// (there is one program).
HRSRC FindResourceA(HMODULE module, const char* name, const char* type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);  // null for a null resource
const void* LockResource(HGLOBAL data);                 // the resource's first byte
DWORD SizeofResource(HMODULE module, HRSRC resource);   // its size in bytes
