// platform/types.h - the basic vocabulary every platform header speaks.
//
// The engine was written against a desktop whose services take handles,
// 32-bit words and small records. These are this project's own declarations
// of exactly the types, records and constants the engine uses; their values
// follow the conventions the engine's code and stored data rely on (message
// numbers, virtual-key codes, COLORREF 0x00BBGGRR).
#pragma once

#include <cstddef>
#include <cstdint>

// * * * Scalars * * *

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using BOOL = int;
using ATOM = WORD;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HRESULT = std::int32_t;
using COLORREF = DWORD;  // 0x00BBGGRR

// A result code fails when it is negative (the device services' HRESULTs).
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

inline constexpr BOOL FALSE = 0;
inline constexpr BOOL TRUE = 1;

// * * * Handles * * *
// Opaque pointers to records owned by the platform layer. A null handle means
// "none"; the engine never looks inside.

struct PlatformWindow;
struct PlatformInstance;
struct PlatformObject;  // mutexes and other kernel-style objects
struct PlatformCursor;
struct PlatformIcon;
struct PlatformMenu;
struct PlatformGdiObject;  // brushes, pens, fonts, bitmaps
struct PlatformDc;

using HWND = PlatformWindow*;
using HINSTANCE = PlatformInstance*;
using HMODULE = PlatformInstance*;
using HANDLE = PlatformObject*;
using HCURSOR = PlatformCursor*;
using HICON = PlatformIcon*;
using HMENU = PlatformMenu*;
using HGDIOBJ = PlatformGdiObject*;
using HBRUSH = PlatformGdiObject*;
using HDC = PlatformDc*;

// * * * Records * * *

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;   // exclusive
    LONG bottom;  // exclusive
};

struct SIZE {
    LONG cx;
    LONG cy;
};

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(unsigned lo, unsigned hi)
{
    return static_cast<LPARAM>(static_cast<DWORD>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
