// platform/core/font_raster.h - the font rasteriser behind GDI text.
//
// Faces come from fontconfig, glyphs from FreeType, always as one bit per
// pixel: a pixel is covered or it is not, because the engine smooths text
// itself from binary glyphs. A font is realised from the LOGFONT fields the
// engine writes (height, width, escapement, weight, italic, underline,
// character set, face name) and shared: creating the same font again, as the
// engine does for every line it prints, finds the realised font and its
// glyph cache, so a frame's text costs a few table look-ups and pixel runs.
//
// Face names are Shift-JIS bytes. The two standard names map to the Japanese
// faces: "標準明朝" to IPA Mincho, "標準ゴシック" to IPA Gothic. Any other
// name (and a standard face that is not installed) goes to fontconfig's best
// match, which prefers faces covering Japanese for character set 128. When
// no face can be opened at all, the font still exists: it has metrics from
// its height, its glyphs are empty, and text drawn with it shows nothing.
//
// GEOMETRY. A text's reference point is the top-left corner of its first
// character cell. The cell is ascent + descent pixels high; the baseline is
// ascent pixels below the reference point. Advances are whole pixels, so the
// extent of a text is the sum of its advances by the cell height. With an
// escapement the whole text turns counter-clockwise (as seen on the screen)
// about the reference point.
//
// Only the engine's thread uses fonts; nothing here is locked.
#pragma once

#include "platform/types.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ovPlatform::fonts {

// * * * Font requests and realised fonts * * *

struct FontSpec {
    int height = 0;          // > 0 cell height, < 0 character (em) height, 0 the default (cell 16), pixels
    int width = 0;           // average character width in pixels; 0 keeps the face's aspect
    int escapement = 0;      // tenths of a degree, counter-clockwise
    int weight = 0;          // 0 the default (400); 100..900, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    BYTE charSet = 0;        // 128 Shift-JIS, 2 symbol, 0 others
    std::string faceName;    // Shift-JIS bytes, at most 31
};

struct Metrics {
    int height;              // cell height: ascent + descent, pixels
    int ascent;              // reference point to baseline
    int descent;             // baseline to the cell's bottom
    int internalLeading;     // cell height - character height
    int averageWidth;        // average character width
    int maxWidth;            // widest advance the face promises
    int weight;              // the weight asked for (400 when 0 was)
    int underlineOffset;     // baseline to the underline's top row, pixels, down is positive
    int underlineThickness;  // >= 1
    int strikeOffset;        // baseline to the strike-out's top row, pixels, up is positive
    BYTE charSet;            // as asked
    bool hasFace;            // false when no face could be opened: glyphs are empty
};

// A run of covered pixels in one row of a glyph: columns x0 .. x1 - 1.
struct GlyphRun {
    std::int16_t row;
    std::int16_t x0;
    std::int16_t x1;
};

// One rendered glyph. left/top place the bitmap relative to the pen's
// baseline origin (top is up from the baseline); bits holds width * height
// bytes, 1 for covered and 0 for not, rows top-down; runs holds the same
// pixels as horizontal runs, in row order.
struct Glyph {
    int left;
    int top;
    int width;
    int height;
    int advance;             // whole pixels along the baseline
    std::vector<std::uint8_t> bits;
    std::vector<GlyphRun> runs;
};

class Font;
using FontRef = std::shared_ptr<Font>;

// Realise a font. Never fails: without a face, the font draws nothing.
FontRef OpenFont(const FontSpec& spec);
const Metrics& GetMetrics(const Font& font);
const FontSpec& GetSpec(const Font& font);
// The glyph of code point cp, rendered on first use and cached with the
// font. The reference stays valid as long as the font does.
const Glyph& GetGlyph(Font& font, char32_t cp);
// The escapement as radians (0 for upright text).
double Angle(const Font& font);
// Path of the face file in use ("" without a face), for tests and tools.
std::string FacePath(const Font& font);
// Forget every realised font that no handle holds any more, and the faces.
void ReleaseUnused();

// * * * Text * * *

// A decoded character: its code point and how many Shift-JIS bytes it took.
struct TextChar {
    char32_t cp;
    std::uint8_t bytes;      // 1 or 2
};

// Decode length bytes of Shift-JIS text (NUL bytes are characters too).
// A lead byte at the very end stands alone; undecodable characters become
// U+FFFD. out is cleared first.
void DecodeSjis(const char* text, std::size_t length, std::vector<TextChar>& out);

// Width of the characters, the sum of their advances, pixels.
int TextWidth(Font& font, const TextChar* chars, std::size_t count);

// Where a glyph goes: the top-left of its bitmap in device pixels.
struct PlacedGlyph {
    const Glyph* glyph;
    int x;
    int y;
};
// Place the characters of a text whose reference point is (x, y); out is
// cleared first. Returns the text's width (its unrotated advance sum).
int PlaceGlyphs(Font& font, const TextChar* chars, std::size_t count, int x, int y, std::vector<PlacedGlyph>& out);

// A quadrilateral in device pixels, corners in order (for boxes that may turn).
struct Quad {
    double x[4];
    double y[4];
};
// The rectangle (u0, v0) .. (u1, v1) of the text's own frame (u along the
// baseline, v down from the reference point), turned by the font's
// escapement about the reference point (x, y).
Quad TextFrameQuad(const Font& font, int x, int y, double u0, double v0, double u1, double v1);
// The box of a text of this width (its cell), its underline and its strike-out.
Quad CellQuad(const Font& font, int x, int y, int width);
Quad UnderlineQuad(const Font& font, int x, int y, int width);
Quad StrikeQuad(const Font& font, int x, int y, int width);

// Calls f(row, x0, x1) for the pixel runs whose centres lie inside the
// quadrilateral, clipped to clip. An upright rectangle covers exactly its
// whole-pixel area.
template <class F>
void ForEachQuadSpan(const Quad& q, const RECT& clip, F&& f);

// Render the text into caller storage: one byte per pixel, rows stride
// bytes apart, width x height pixels; covered pixels are set to value and
// the rest are left alone. (x, y) is the text's reference point in that
// storage. Nothing is written outside it.
void RenderText(Font& font, const TextChar* chars, std::size_t count, int x, int y,
                std::uint8_t* dst, int stride, int width, int height, std::uint8_t value);

// * * * Line breaking for boxed text * * *

// One line of a boxed text: characters [begin, end) are drawn, width wide.
struct TextLine {
    std::size_t begin;
    std::size_t end;
    int width;
};
// Break a text into lines no wider than maxWidth (with wordBreak), or only
// at line ends (without). Line ends are "\r\n", "\n" and "\r". Single-byte
// text breaks at spaces, which vanish at the break; a line may also break
// between any two double-byte characters, and before or after one next to
// single-byte text. A word wider than the box keeps a line of its own.
// out is cleared first.
void BreakLines(Font& font, const TextChar* chars, std::size_t count, int maxWidth, bool wordBreak,
                std::vector<TextLine>& out);

// * * * Installed families * * *

struct FamilyInfo {
    std::string name;        // Shift-JIS bytes, at most 31
    BYTE charSet;            // 128 covers Japanese, 2 symbol, 0 others
};
// One entry per installed family, the two standard faces first, then the
// families in name order.
std::vector<FamilyInfo> ListFamilies();

// * * * Template definitions * * *

template <class F>
void ForEachQuadSpan(const Quad& q, const RECT& clip, F&& f)
{
    double minY = q.y[0], maxY = q.y[0];
    for (int i = 1; i < 4; ++i) {
        minY = std::fmin(minY, q.y[i]);
        maxY = std::fmax(maxY, q.y[i]);
    }
    int rowFirst = static_cast<int>(std::ceil(minY - 0.5));
    int rowLast = static_cast<int>(std::ceil(maxY - 0.5)) - 1;
    if (rowFirst < clip.top) rowFirst = clip.top;
    if (rowLast > clip.bottom - 1) rowLast = clip.bottom - 1;
    for (int row = rowFirst; row <= rowLast; ++row) {
        double cy = row + 0.5;
        double lo = 1e300, hi = -1e300;
        for (int i = 0; i < 4; ++i) {
            int j = (i + 1) & 3;
            double y0 = q.y[i], y1 = q.y[j];
            if ((cy < y0) == (cy < y1)) continue;  // the edge does not cross this row's centre
            double t = (cy - y0) / (y1 - y0);
            double cx = q.x[i] + t * (q.x[j] - q.x[i]);
            lo = std::fmin(lo, cx);
            hi = std::fmax(hi, cx);
        }
        if (lo > hi) continue;
        int x0 = static_cast<int>(std::ceil(lo - 0.5));
        int x1 = static_cast<int>(std::ceil(hi - 0.5));
        if (x0 < clip.left) x0 = clip.left;
        if (x1 > clip.right) x1 = clip.right;
        if (x0 < x1) f(row, x0, x1);
    }
}

}  // namespace ovPlatform::fonts
