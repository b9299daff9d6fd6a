// platform/core/sjis.cpp - iconv-based Shift-JIS conversion.
//
// One conversion descriptor per direction is opened on first use and kept;
// the engine is single-threaded, and the SDL backend converts only on the
// engine's thread, so no lock is needed.
// DEPENDENCIES: iconv (glibc) with the CP932 converter.

#include "platform/core/sjis.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace ovPlatform {
namespace {

iconv_t Open(const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    return cd;
}

// Converts in to the target encoding; an undecodable sequence becomes the
// replacement bytes and conversion goes on one byte later.
std::string Convert(iconv_t cd, const char* in, std::size_t length, const char* replacement)
{
    std::string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out.assign(in, length);
        return out;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[1024];
    char* src = const_cast<char*>(in);
    std::size_t srcLeft = length;
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof(buffer);
        std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (a lead byte at the end): skip one byte.
            out += replacement;
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

}  // namespace

std::string SjisToUtf8(const char* sjis, std::size_t length)
{
    static iconv_t cd = Open("UTF-8", "CP932");
    return Convert(cd, sjis, length, "\xEF\xBF\xBD");
}

std::string SjisToUtf8(const char* sjis) { return sjis ? SjisToUtf8(sjis, std::strlen(sjis)) : std::string(); }

std::vector<char32_t> SjisToCodePoints(const char* sjis, std::size_t length)
{
    std::string utf8 = SjisToUtf8(sjis, length);
    std::vector<char32_t> out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        int n;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c >> 5) == 6) { cp = c & 0x1F; n = 2; }
        else if ((c >> 4) == 14) { cp = c & 0x0F; n = 3; }
        else { cp = c & 0x07; n = 4; }
        if (i + static_cast<std::size_t>(n) > utf8.size()) break;
        for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(n);
    }
    return out;
}

std::string Utf8ToSjis(const std::string& utf8)
{
    static iconv_t cd = Open("CP932", "UTF-8");
    return Convert(cd, utf8.data(), utf8.size(), "?");
}

}  // namespace ovPlatform
