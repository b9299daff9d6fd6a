// system/sjis_text.cpp - bounded Shift-JIS copies and formatting.

#include "system/sjis_text.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace ov {

std::size_t BoundaryLength(const char* text, std::size_t limit)
{
    std::size_t i = 0;
    while (i < limit && text[i]) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c)) {
            if (i + 1 >= limit || !text[i + 1]) break;  // the trail byte would not fit
            i += 2;
        } else {
            ++i;
        }
    }
    return i;
}

std::size_t CopyText(char* dst, std::size_t size, const char* src)
{
    if (size == 0) return 0;
    std::size_t n = src ? BoundaryLength(src, size - 1) : 0;
    if (n) std::memmove(dst, src, n);
    dst[n] = '\0';
    return n;
}

std::size_t AppendText(char* dst, std::size_t size, const char* src)
{
    if (size == 0) return 0;
    std::size_t used = std::strlen(dst);
    if (used >= size) used = size - 1;
    return used + CopyText(dst + used, size - used, src);
}

std::size_t FormatText(char* dst, std::size_t size, const char* format, std::va_list args)
{
    if (size == 0) return 0;
    std::va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format ? format : "", copy);
    va_end(copy);
    if (needed < 0) {
        dst[0] = '\0';
        return 0;
    }
    std::vector<char> full(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(full.data(), full.size(), format ? format : "", args);
    return CopyText(dst, size, full.data());
}

std::size_t FormatTextV(char* dst, std::size_t size, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::size_t n = FormatText(dst, size, format, args);
    va_end(args);
    return n;
}

}  // namespace ov
