// platform/core/gdi_text.cpp - GDI fonts and text: CreateFontIndirectA,
// EnumFontsA, TextOutA, GetTextExtentPoint32A, GetTextMetricsA, DrawTextA.
//
// Text is decoded from Shift-JIS, laid out and rasterised by
// platform/core/font_raster, and written into the DC's target at its pixel
// layout: a background box (opaque mode), then the glyphs' covered pixels
// in the text colour as horizontal runs, then underline and strike-out.
// Nothing is smoothed. The decoding and placement buffers are kept between
// calls, so drawing a line allocates nothing once its glyphs are cached.
//
// LIMITATIONS: text is always aligned top-left (no SetTextAlign) and never
// moves the current position. DrawTextA lays out rotated fonts line by line
// as if upright and turns each line about its own start. The prefix
// character of DrawTextA without DT_NOPREFIX is removed but its character
// is not underlined. EnumFontsA reports no real metrics, only the
// character set and weight.
// DEPENDENCIES: platform/core/gdi_internal.h (the DC record), font_raster.

#include "platform/core/gdi_text_internal.h"

#include "platform/core/gdi_internal.h"
#include "platform/core/sjis.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace ovPlatform;
using namespace ovPlatform::detail;

namespace ovPlatform::detail {
namespace {

constexpr char kStandardGothic[] = "\x95W\x8F\x80\x83S\x83V\x83" "b\x83N";  // 標準ゴシック
constexpr LONG kEnumHeight = 16;

fonts::FontSpec SpecOf(const LOGFONTA& lf)
{
    fonts::FontSpec s;
    s.height = lf.lfHeight;
    s.width = lf.lfWidth;
    s.escapement = lf.lfEscapement;
    s.weight = lf.lfWeight;
    s.italic = lf.lfItalic != 0;
    s.underline = lf.lfUnderline != 0;
    s.strikeOut = lf.lfStrikeOut != 0;
    s.charSet = lf.lfCharSet;
    s.faceName.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    return s;
}

fonts::Font& DefaultFont()
{
    static fonts::FontRef font = [] {
        fonts::FontSpec s;
        s.faceName = kStandardGothic;
        s.charSet = SHIFTJIS_CHARSET;
        return fonts::OpenFont(s);
    }();
    return *font;
}

// Scratch buffers shared by the text calls (one thread, no reentrancy).
struct Scratch {
    std::vector<fonts::TextChar> chars;
    std::vector<fonts::PlacedGlyph> placed;
    std::vector<fonts::TextLine> lines;
    std::vector<char> bytes;
};

Scratch& Buffers()
{
    static Scratch scratch;
    return scratch;
}

// * * * Pixel spans at a layout * * *

template <int N>
void FillSpan(std::uint8_t* row, int x0, int x1, std::uint32_t raw)
{
    if constexpr (N == 2) {
        std::uint16_t v = static_cast<std::uint16_t>(raw);
        std::uint8_t* p = row + 2 * x0;
        for (int x = x0; x < x1; ++x, p += 2) std::memcpy(p, &v, 2);
    } else if constexpr (N == 4) {
        std::uint8_t* p = row + 4 * x0;
        for (int x = x0; x < x1; ++x, p += 4) std::memcpy(p, &raw, 4);
    } else if constexpr (N == 3) {
        std::uint8_t* p = row + 3 * x0;
        for (int x = x0; x < x1; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(raw);
            p[1] = static_cast<std::uint8_t>(raw >> 8);
            p[2] = static_cast<std::uint8_t>(raw >> 16);
        }
    } else {
        std::memset(row + x0, static_cast<int>(raw & 0xFF), static_cast<std::size_t>(x1 - x0));
    }
}

using SpanFiller = void (*)(std::uint8_t*, int, int, std::uint32_t);

SpanFiller FillerFor(const PixelLayout& layout)
{
    switch (BytesPerPixel(layout)) {
    case 2: return FillSpan<2>;
    case 3: return FillSpan<3>;
    case 4: return FillSpan<4>;
    default: return FillSpan<1>;
    }
}

// One line of text at (x, y) into the DC's target, clipped to clip (which
// lies inside the target). Returns the line's width.
int DrawLine(PlatformDc* dc, fonts::Font& font, const fonts::TextChar* chars, std::size_t count, int x, int y,
             const RECT& clip)
{
    Scratch& s = Buffers();
    int width = fonts::PlaceGlyphs(font, chars, count, x, y, s.placed);
    if (!dc->pixels || clip.left >= clip.right || clip.top >= clip.bottom) return width;
    SpanFiller fill = FillerFor(dc->layout);
    std::uint8_t* base = dc->pixels;
    const int pitch = dc->pitch;
    auto row = [&](int r) { return base + static_cast<std::ptrdiff_t>(r) * pitch; };
    const fonts::Metrics& m = fonts::GetMetrics(font);
    const bool upright = fonts::Angle(font) == 0.0;

    if (dc->bkMode == OPAQUE && width > 0) {
        std::uint32_t bk = PackColour(dc->layout, dc->bkColor);
        if (upright) {
            int x0 = std::max<int>(x, clip.left), x1 = std::min<int>(x + width, clip.right);
            int y0 = std::max<int>(y, clip.top), y1 = std::min<int>(y + m.height, clip.bottom);
            if (x0 < x1)
                for (int r = y0; r < y1; ++r) fill(row(r), x0, x1, bk);
        } else {
            fonts::ForEachQuadSpan(fonts::CellQuad(font, x, y, width), clip,
                                   [&](int r, int x0, int x1) { fill(row(r), x0, x1, bk); });
        }
    }

    std::uint32_t ink = PackColour(dc->layout, dc->textColor);
    for (const fonts::PlacedGlyph& p : s.placed) {
        const fonts::Glyph& g = *p.glyph;
        // Whole glyph inside the clip: no per-run tests.
        bool inside = p.x >= clip.left && p.y >= clip.top && p.x + g.width <= clip.right &&
                      p.y + g.height <= clip.bottom;
        if (inside) {
            for (const fonts::GlyphRun& run : g.runs) fill(row(p.y + run.row), p.x + run.x0, p.x + run.x1, ink);
            continue;
        }
        for (const fonts::GlyphRun& run : g.runs) {
            int r = p.y + run.row;
            if (r < clip.top || r >= clip.bottom) continue;
            int x0 = std::max<int>(p.x + run.x0, clip.left), x1 = std::min<int>(p.x + run.x1, clip.right);
            if (x0 < x1) fill(row(r), x0, x1, ink);
        }
    }
    const fonts::FontSpec& spec = fonts::GetSpec(font);
    auto inkSpan = [&](int r, int x0, int x1) { fill(row(r), x0, x1, ink); };
    if (spec.underline && width > 0) fonts::ForEachQuadSpan(fonts::UnderlineQuad(font, x, y, width), clip, inkSpan);
    if (spec.strikeOut && width > 0) fonts::ForEachQuadSpan(fonts::StrikeQuad(font, x, y, width), clip, inkSpan);
    return width;
}

RECT TargetRect(const PlatformDc* dc) { return RECT{0, 0, dc->width, dc->height}; }

RECT Intersect(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

const std::vector<fonts::FamilyInfo>& Families()
{
    static std::vector<fonts::FamilyInfo> families = fonts::ListFamilies();
    return families;
}

}  // namespace

FontObject* AsFontObject(PlatformGdiObject* object)
{
    if (!object || object->kind != GdiKind::Font) return nullptr;
    return static_cast<FontObject*>(object->extra);
}

void FreeFontObject(PlatformGdiObject* object)
{
    if (FontObject* f = AsFontObject(object)) {
        delete f;
        object->extra = nullptr;
    }
}

fonts::Font& DcFont(PlatformDc* dc)
{
    if (dc && dc->font)
        if (FontObject* f = AsFontObject(dc->font))
            if (f->font) return *f->font;
    return DefaultFont();
}

}  // namespace ovPlatform::detail

// * * * Fonts * * *

HFONT CreateFontIndirectA(const LOGFONTA* logFont)
{
    if (!logFont) return nullptr;
    auto* object = new PlatformGdiObject();
    object->magic = kGdiObjectMagic;
    object->kind = GdiKind::Font;
    object->extra = new FontObject{*logFont, fonts::OpenFont(SpecOf(*logFont))};
    return object;
}

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* tm)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || !tm) return FALSE;
    fonts::Font& font = DcFont(dc);
    const fonts::Metrics& m = fonts::GetMetrics(font);
    const fonts::FontSpec& spec = fonts::GetSpec(font);
    *tm = TEXTMETRICA{};
    tm->tmHeight = m.height;
    tm->tmAscent = m.ascent;
    tm->tmDescent = m.descent;
    tm->tmInternalLeading = m.internalLeading;
    tm->tmExternalLeading = 0;
    tm->tmAveCharWidth = m.averageWidth;
    tm->tmMaxCharWidth = m.maxWidth;
    tm->tmWeight = m.weight;
    tm->tmItalic = spec.italic ? 1 : 0;
    tm->tmUnderlined = spec.underline ? 1 : 0;
    tm->tmStruckOut = spec.strikeOut ? 1 : 0;
    tm->tmCharSet = m.charSet;
    return TRUE;
}

int EnumFontsA(HDC, const char* face, FONTENUMPROCA callback, LPARAM data)
{
    if (!callback) return 0;
    int result = 1;
    for (const fonts::FamilyInfo& family : Families()) {
        if (face && family.name != face) continue;
        LOGFONTA lf{};
        lf.lfHeight = kEnumHeight;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = family.charSet;
        std::memcpy(lf.lfFaceName, family.name.data(), std::min<std::size_t>(family.name.size(), LF_FACESIZE - 1));
        TEXTMETRICA tm{};
        tm.tmWeight = FW_NORMAL;
        tm.tmCharSet = family.charSet;
        result = callback(&lf, &tm, TRUETYPE_FONTTYPE, data);
        if (result == 0 || face) break;
    }
    return result;
}

// * * * Text * * *

BOOL TextOutA(HDC handle, int x, int y, const char* text, int count)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || count < 0 || (!text && count > 0)) return FALSE;
    if (count == 0) return TRUE;
    Scratch& s = Buffers();
    fonts::DecodeSjis(text, static_cast<std::size_t>(count), s.chars);
    DrawLine(dc, DcFont(dc), s.chars.data(), s.chars.size(), x, y, TargetRect(dc));
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC handle, const char* text, int count, SIZE* size)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || !size || count < 0 || (!text && count > 0)) return FALSE;
    fonts::Font& font = DcFont(dc);
    Scratch& s = Buffers();
    fonts::DecodeSjis(text ? text : "", static_cast<std::size_t>(count), s.chars);
    size->cx = fonts::TextWidth(font, s.chars.data(), s.chars.size());
    size->cy = fonts::GetMetrics(font).height;
    return TRUE;
}

int DrawTextA(HDC handle, const char* text, int count, RECT* rect, UINT format)
{
    PlatformDc* dc = AsDc(handle);
    if (!dc || !text || !rect) return 0;
    std::size_t length = count < 0 ? std::strlen(text) : static_cast<std::size_t>(count);
    Scratch& s = Buffers();
    const char* bytes = text;
    if (!(format & DT_NOPREFIX)) {
        // "&x" shows x, "&&" shows "&"; a lone "&" at the end vanishes.
        s.bytes.clear();
        const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
        for (std::size_t i = 0; i < length; ++i) {
            if (p[i] == '&') {
                if (++i >= length) break;
            }
            s.bytes.push_back(static_cast<char>(p[i]));
            if (IsSjisLeadByte(p[i]) && i + 1 < length) s.bytes.push_back(static_cast<char>(p[++i]));
        }
        bytes = s.bytes.data();
        length = s.bytes.size();
    }
    fonts::Font& font = DcFont(dc);
    const int lineHeight = fonts::GetMetrics(font).height;
    fonts::DecodeSjis(bytes, length, s.chars);
    // The lines refer to s.chars; DrawLine reuses only the placement buffer.
    fonts::BreakLines(font, s.chars.data(), s.chars.size(), rect->right - rect->left, (format & DT_WORDBREAK) != 0,
                      s.lines);
    const int height = static_cast<int>(s.lines.size()) * lineHeight;
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const fonts::TextLine& line : s.lines) widest = std::max(widest, line.width);
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    RECT clip = (format & DT_NOCLIP) ? TargetRect(dc) : Intersect(*rect, TargetRect(dc));
    int y = rect->top;
    for (const fonts::TextLine& line : s.lines) {
        int x = rect->left;
        if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - line.width) / 2;
        else if (format & DT_RIGHT) x = rect->right - line.width;
        if (y >= clip.bottom && fonts::Angle(font) == 0.0) break;
        DrawLine(dc, font, s.chars.data() + line.begin, line.end - line.begin, x, y, clip);
        y += lineHeight;
    }
    return height;
}
