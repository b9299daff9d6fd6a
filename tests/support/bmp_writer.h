// tests/support/bmp_writer.h - BMP files built in memory for tests: every
// depth and compression the loader reads, from one picture of COLORREF pixels.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace ovtest {

enum class BmpKind {
    Pal1, Pal4, Pal8, Rle4, Rle8, Core8,  // palette formats (Core8: 12-byte header)
    Rgb555, Bitfields565, Rgb24, Rgb32, Bitfields32,
};

struct Picture {
    int width;
    int height;
    std::vector<COLORREF> pixels;  // top row first
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline void Put16(std::vector<std::uint8_t>& b, std::size_t at, unsigned v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline void Append16(std::vector<std::uint8_t>& b, unsigned v) { b.resize(b.size() + 2); Put16(b, b.size() - 2, v); }
inline void Append32(std::vector<std::uint8_t>& b, std::uint32_t v) { b.resize(b.size() + 4); Put32(b, b.size() - 4, v); }

// Builds a file of the picture. Palette formats use the picture's distinct
// colours in order of appearance (at most 2, 16 or 256 of them).
inline std::vector<std::uint8_t> WriteBmp(const Picture& p, BmpKind kind, bool topDown = false)
{
    std::vector<COLORREF> palette;
    std::vector<int> index(p.pixels.size());
    for (std::size_t i = 0; i < p.pixels.size(); ++i) {
        std::size_t k = 0;
        while (k < palette.size() && palette[k] != p.pixels[i]) ++k;
        if (k == palette.size()) palette.push_back(p.pixels[i]);
        index[i] = static_cast<int>(k);
    }
    int bpp = 8;
    std::uint32_t compression = 0;
    bool core = false;
    bool paletted = true;
    std::uint32_t masks[3] = {0, 0, 0};
    switch (kind) {
    case BmpKind::Pal1: bpp = 1; break;
    case BmpKind::Pal4: bpp = 4; break;
    case BmpKind::Pal8: bpp = 8; break;
    case BmpKind::Rle4: bpp = 4; compression = 2; break;
    case BmpKind::Rle8: bpp = 8; compression = 1; break;
    case BmpKind::Core8: bpp = 8; core = true; break;
    case BmpKind::Rgb555: bpp = 16; paletted = false; break;
    case BmpKind::Bitfields565: bpp = 16; paletted = false; compression = 3; masks[0] = 0xF800; masks[1] = 0x07E0; masks[2] = 0x001F; break;
    case BmpKind::Rgb24: bpp = 24; paletted = false; break;
    case BmpKind::Rgb32: bpp = 32; paletted = false; break;
    case BmpKind::Bitfields32: bpp = 32; paletted = false; compression = 3; masks[0] = 0x0000FF00; masks[1] = 0x00FF0000; masks[2] = 0xFF000000; break;
    }
    std::vector<std::uint8_t> b(14, 0);
    b[0] = 'B';
    b[1] = 'M';
    if (core) {
        Append32(b, 12);
        Append16(b, static_cast<unsigned>(p.width));
        Append16(b, static_cast<unsigned>(p.height));
        Append16(b, 1);
        Append16(b, static_cast<unsigned>(bpp));
    } else {
        Append32(b, 40);
        Append32(b, static_cast<std::uint32_t>(p.width));
        Append32(b, static_cast<std::uint32_t>(topDown ? -p.height : p.height));
        Append16(b, 1);
        Append16(b, static_cast<unsigned>(bpp));
        Append32(b, compression);
        Append32(b, 0);  // image size
        Append32(b, 2835);
        Append32(b, 2835);
        Append32(b, paletted ? static_cast<std::uint32_t>(palette.size()) : 0);
        Append32(b, 0);
        if (compression == 3)
            for (std::uint32_t m : masks) Append32(b, m);
    }
    if (paletted) {
        if (core) palette.resize(static_cast<std::size_t>(1) << bpp, 0);  // no colour count: a full palette
        for (COLORREF c : palette) {
            b.push_back(GetBValue(c));
            b.push_back(GetGValue(c));
            b.push_back(GetRValue(c));
            if (!core) b.push_back(0);
        }
    }
    Put32(b, 10, static_cast<std::uint32_t>(b.size()));
    auto rowOf = [&](int i) { return topDown ? i : p.height - 1 - i; };  // file row i -> picture row
    if (compression == 1 || compression == 2) {
        const bool nib = compression == 2;
        for (int i = 0; i < p.height; ++i) {
            const int y = rowOf(i);
            int x = 0;
            if (i == 0 && p.width >= 4) {  // the first row as an absolute run
                const int n = p.width;
                b.push_back(0);
                b.push_back(static_cast<std::uint8_t>(n));
                const std::size_t start = b.size();
                if (nib) {
                    for (int k = 0; k < n; k += 2) {
                        const int hi = index[static_cast<std::size_t>(y) * p.width + k];
                        const int lo = k + 1 < n ? index[static_cast<std::size_t>(y) * p.width + k + 1] : 0;
                        b.push_back(static_cast<std::uint8_t>((hi << 4) | lo));
                    }
                } else {
                    for (int k = 0; k < n; ++k) b.push_back(static_cast<std::uint8_t>(index[static_cast<std::size_t>(y) * p.width + k]));
                }
                if ((b.size() - start) & 1) b.push_back(0);
                x = n;
            }
            while (x < p.width) {
                const int v = index[static_cast<std::size_t>(y) * p.width + x];
                int n = 1;
                while (x + n < p.width && n < 255 && index[static_cast<std::size_t>(y) * p.width + x + n] == v) ++n;
                b.push_back(static_cast<std::uint8_t>(n));
                b.push_back(static_cast<std::uint8_t>(nib ? ((v << 4) | v) : v));
                x += n;
            }
            b.push_back(0);
            b.push_back(0);  // end of line
        }
        b.push_back(0);
        b.push_back(1);  // end of bitmap
    } else {
        const std::size_t rowBytes = ((static_cast<std::size_t>(p.width) * bpp + 31) / 32) * 4;
        for (int i = 0; i < p.height; ++i) {
            const int y = rowOf(i);
            std::vector<std::uint8_t> row(rowBytes, 0);
            for (int x = 0; x < p.width; ++x) {
                const COLORREF c = p.At(x, y);
                const int ix = index[static_cast<std::size_t>(y) * p.width + x];
                const unsigned r = GetRValue(c), g = GetGValue(c), bl = GetBValue(c);
                switch (bpp) {
                case 1: row[x / 8] |= static_cast<std::uint8_t>(ix << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? ix : ix << 4); break;
                case 8: row[x] = static_cast<std::uint8_t>(ix); break;
                case 16: {
                    const unsigned v = compression == 3 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (bl >> 3)
                                                        : ((r >> 3) << 10) | ((g >> 3) << 5) | (bl >> 3);
                    Put16(row, 2 * x, v);
                    break;
                }
                case 24: row[3 * x] = static_cast<std::uint8_t>(bl); row[3 * x + 1] = static_cast<std::uint8_t>(g); row[3 * x + 2] = static_cast<std::uint8_t>(r); break;
                default: {
                    const std::uint32_t v = compression == 3 ? (r << 8) | (g << 16) | (static_cast<std::uint32_t>(bl) << 24)
                                                             : (r << 16) | (g << 8) | bl;
                    Put32(row, 4 * x, v);
                    break;
                }
                }
            }
            b.insert(b.end(), row.begin(), row.end());
        }
    }
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

inline bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace ovtest
