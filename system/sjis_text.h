// system/sjis_text.h - bounded copies and formatting of Shift-JIS text.
//
// The engine's texts live in fixed buffers (256 bytes). These helpers never
// write past a buffer and never leave half of a two-byte character at the
// end of a cut text.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace ov {

constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length of the longest prefix of text (at most limit bytes) that ends on a
// character boundary.
std::size_t BoundaryLength(const char* text, std::size_t limit);
// Copies src into dst (size bytes with the terminator), cut at a boundary.
// Returns the length copied.
std::size_t CopyText(char* dst, std::size_t size, const char* src);
// Appends src to the text already in dst, within size bytes.
std::size_t AppendText(char* dst, std::size_t size, const char* src);
// printf into dst, cut at a boundary when the result would not fit.
std::size_t FormatText(char* dst, std::size_t size, const char* format, std::va_list args);
std::size_t FormatTextV(char* dst, std::size_t size, const char* format, ...);

}  // namespace ov
