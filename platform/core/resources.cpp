// platform/core/resources.cpp - the program's resource table and lookups in it.
//
// LIMITATIONS: one table for the whole program; no languages, no enumeration.
// DEPENDENCIES: none.

#include "platform/resources.h"

#include <strings.h>

namespace {

const ovPlatform::ResourceEntry* table = nullptr;
std::size_t tableSize = 0;

bool SameKey(const char* a, const char* b)
{
    if (!a || !b) return false;
    if (IS_INTRESOURCE(a) || IS_INTRESOURCE(b)) return a == b;
    return strcasecmp(a, b) == 0;
}

}  // namespace

void ovPlatform::SetResourceTable(const ResourceEntry* entries, std::size_t count)
{
    table = entries;
    tableSize = entries ? count : 0;
}

HRSRC FindResourceA(HMODULE, const char* name, const char* type)
{
    for (std::size_t i = 0; i < tableSize; ++i)
        if (SameKey(table[i].name, name) && SameKey(table[i].type, type)) return &table[i];
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) { return resource ? resource->data : nullptr; }

const void* LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) { return resource ? resource->size : 0; }
