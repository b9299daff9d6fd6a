// platform/core/sjis.h - Shift-JIS (code page 932) at the platform boundary.
//
// The engine's texts are Shift-JIS bytes; the desktop wants UTF-8 and the font
// rasteriser code points. Conversion goes through iconv's CP932, so the
// vendor extensions of the code page (NEC and IBM rows) convert too. Bytes
// that do not decode become U+FFFD; nothing reads past the terminator.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ovPlatform {

std::string SjisToUtf8(const char* sjis);
std::string SjisToUtf8(const char* sjis, std::size_t length);
// Code points of the text, one per character.
std::vector<char32_t> SjisToCodePoints(const char* sjis, std::size_t length);
// The reverse, for tools and tests that write engine texts from UTF-8 source.
std::string Utf8ToSjis(const std::string& utf8);

// True when byte c starts a two-byte Shift-JIS character.
constexpr bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace ovPlatform
