// platform/core/font_raster.cpp - fontconfig face matching, FreeType
// monochrome glyphs, the realised-font and glyph caches, text layout and
// line breaking for GDI text.
//
// Three caches keep a frame's text cheap: the face choice per (name, bold,
// italic, Japanese) request, the open FreeType face per file, and the
// realised font per (face, size, width, escapement, synthetic styles), each
// with its glyphs keyed by code point. A font handle keeps its realised font
// alive; ReleaseUnused drops those no handle holds, and the cache drops the
// oldest unheld ones when it grows past its limit.
//
// Heights follow the desktop's font model: a positive height is the cell
// (the face's Windows ascent + descent scaled to it), a negative one the em.
// Bold and italic are synthesised (outline emboldening by a whole pixel,
// a shear of about 12 degrees) when the matched face lacks them.
//
// LIMITATIONS: no kerning and no ligatures: a character is one glyph with a
// whole-pixel advance. Slanted and turned glyphs are hinted upright first. Control
// characters draw the face's missing-glyph shape as the desktop does.
// DEPENDENCIES: FreeType 2, fontconfig, platform/core/sjis.h (iconv CP932).

#include "platform/core/font_raster.h"

#include "platform/core/sjis.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>
#include <unordered_map>

namespace ovPlatform::fonts {
namespace {

// The standard faces, as the engine names them.
constexpr char kStandardMincho[] = "\x95W\x8F\x80\x96\xBE\x92\xA9";  // 標準明朝
constexpr char kStandardGothic[] = "\x95W\x8F\x80\x83S\x83V\x83" "b\x83N";  // 標準ゴシック
// The families they stand for.
constexpr char kMinchoFamily[] = "IPAMincho";
constexpr char kGothicFamily[] = "IPAGothic";

constexpr int kDefaultCellHeight = 16;
constexpr std::size_t kRealisedLimit = 48;   // unheld realised fonts kept for reuse
constexpr FT_Fixed kObliqueShear = 0x0366A;  // tan(about 12 degrees), 16.16

// * * * Library and faces * * *

struct OpenFace {
    FT_Face face = nullptr;
    int refs = 0;
};

struct FaceChoice {
    std::string path;        // "" when nothing matched
    int index = 0;
};

// Whether the face itself is bold or slanted (so nothing needs synthesising).
bool FaceIsBold(FT_Face face)
{
    if (const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)))
        if (os2->version != 0xFFFF && os2->usWeightClass >= 600) return true;
    return (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
}

bool FaceIsItalic(FT_Face face) { return (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0; }

// Set at exit once the face table is gone; a plain flag stays readable
// after every static object has been destroyed.
bool stateGone = false;

struct State {
    FT_Library library = nullptr;
    bool libraryFailed = false;
    bool fcReady = false;
    std::map<std::pair<std::string, int>, OpenFace> faces;
    std::map<std::tuple<std::string, bool, bool, bool>, FaceChoice> choices;
    ~State()
    {
        for (auto& entry : faces)
            if (entry.second.face) FT_Done_Face(entry.second.face);
        faces.clear();
        if (library) FT_Done_FreeType(library);
        library = nullptr;
        // Nothing of ours holds fontconfig objects any more: give its
        // configuration back too, so a leak checker sees no lost blocks.
        if (fcReady) FcFini();
        stateGone = true;
    }
};

State& S()
{
    static State state;
    return state;
}

FT_Library Library()
{
    State& s = S();
    if (!s.library && !s.libraryFailed) {
        if (FT_Init_FreeType(&s.library) != 0) {
            s.library = nullptr;
            s.libraryFailed = true;
        }
    }
    return s.library;
}

bool FontconfigReady()
{
    State& s = S();
    if (!s.fcReady) s.fcReady = FcInit() == FcTrue;
    return s.fcReady;
}

FT_Face AcquireFace(const std::string& path, int index)
{
    FT_Library lib = Library();
    if (!lib || path.empty()) return nullptr;
    OpenFace& entry = S().faces[{path, index}];
    if (!entry.face) {
        if (FT_New_Face(lib, path.c_str(), index, &entry.face) != 0) {
            entry.face = nullptr;
            S().faces.erase({path, index});
            return nullptr;
        }
        if (!entry.face->charmap) {
            // Symbol faces carry only a symbol charmap; take the first one.
            if (entry.face->num_charmaps > 0) FT_Set_Charmap(entry.face, entry.face->charmaps[0]);
        }
    }
    ++entry.refs;
    return entry.face;
}

void ReleaseFace(FT_Face face)
{
    if (stateGone) return;
    State& s = S();
    for (auto it = s.faces.begin(); it != s.faces.end(); ++it) {
        if (it->second.face != face) continue;
        if (--it->second.refs <= 0) {
            FT_Done_Face(it->second.face);
            s.faces.erase(it);
        }
        return;
    }
}

// Asks fontconfig for the best face for a family name (UTF-8), then for the
// generic family (serif, sans-serif) when one is given.
FaceChoice MatchFace(const std::string& familyUtf8, const char* generic, bool bold, bool italic, bool japanese)
{
    FaceChoice choice;
    if (!FontconfigReady()) return choice;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return choice;
    if (!familyUtf8.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    if (generic) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(generic));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    if (japanese) {
        FcLangSet* langs = FcLangSetCreate();
        if (langs) {
            FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
            FcPatternAddLangSet(pattern, FC_LANG, langs);
            FcLangSetDestroy(langs);
        }
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return choice;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        choice.path = reinterpret_cast<const char*>(file);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) choice.index = index;
    }
    FcPatternDestroy(match);
    return choice;
}

const FaceChoice& ChooseFace(const std::string& nameSjis, bool bold, bool italic, bool japanese)
{
    auto key = std::make_tuple(nameSjis, bold, italic, japanese);
    auto it = S().choices.find(key);
    if (it != S().choices.end()) return it->second;
    std::string family;
    const char* generic = nullptr;
    bool standard = false;
    if (nameSjis == kStandardMincho) {
        family = kMinchoFamily;
        generic = "serif";
        standard = true;
    } else if (nameSjis == kStandardGothic) {
        family = kGothicFamily;
        generic = "sans-serif";
        standard = true;
    } else {
        family = SjisToUtf8(nameSjis.c_str(), nameSjis.size());
    }
    // The standard faces are Japanese whatever character set is asked for,
    // so their fallback (when the family is missing) covers Japanese too.
    FaceChoice choice = MatchFace(family, generic, bold, italic, japanese || standard);
    return S().choices.emplace(key, choice).first->second;
}

// * * * Shift-JIS decoding with a per-character cache * * *

char32_t DecodeDoubleByte(unsigned char lead, unsigned char trail)
{
    static std::vector<char32_t> table;  // indexed by lead << 8 | trail; 0 = not decoded yet
    if (table.empty()) table.assign(65536, 0);
    char32_t& slot = table[(static_cast<unsigned>(lead) << 8) | trail];
    if (slot == 0) {
        char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        std::vector<char32_t> cps = SjisToCodePoints(bytes, 2);
        slot = (cps.size() == 1 && cps[0] != 0) ? cps[0] : 0xFFFD;
    }
    return slot;
}

char32_t DecodeSingleByte(unsigned char c)
{
    if (c < 0x80) return c;
    if (c >= 0xA1 && c <= 0xDF) return 0xFF61 + (c - 0xA1);  // half-width katakana
    static char32_t table[256];  // 0 = not decoded yet
    if (table[c] == 0) {
        char byte = static_cast<char>(c);
        std::vector<char32_t> cps = SjisToCodePoints(&byte, 1);
        table[c] = (cps.size() == 1 && cps[0] != 0) ? cps[0] : 0xFFFD;
    }
    return table[c];
}

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

// * * * Realised fonts * * *

class Font {
public:
    FontSpec spec;
    Metrics metrics{};
    FT_Face face = nullptr;
    FT_Size size = nullptr;
    bool synthBold = false;
    bool synthItalic = false;
    int boldStrength = 0;    // 26.6, added to each advance
    double angle = 0.0;      // radians
    bool transformed = false;
    FT_Matrix matrix{0x10000, 0, 0, 0x10000};
    std::unordered_map<char32_t, Glyph> glyphs;
    const Glyph* ascii[128] = {};
    std::string path;

    ~Font()
    {
        // A font outliving the face table at exit has nothing left to free.
        if (stateGone) return;
        if (size) FT_Done_Size(size);
        if (face) ReleaseFace(face);
    }

    const Glyph& Get(char32_t cp)
    {
        if (cp < 128 && ascii[cp]) return *ascii[cp];
        auto it = glyphs.find(cp);
        if (it == glyphs.end()) it = glyphs.emplace(cp, Render(cp)).first;
        if (cp < 128) ascii[cp] = &it->second;
        return it->second;
    }

private:
    Glyph Render(char32_t cp);
};

namespace {

struct RealisedKey {
    FT_Face face;
    long charWidth;          // 26.6
    long charHeight;         // 26.6
    int escapement;
    bool synthBold;
    bool synthItalic;
    int cellHeight;          // the metrics depend on the request, not only on the size
    int weight;
    bool italic, underline, strikeOut;
    BYTE charSet;
    std::string faceName;
    auto Tie() const
    {
        return std::tie(face, charWidth, charHeight, escapement, synthBold, synthItalic, cellHeight, weight, italic,
                        underline, strikeOut, charSet, faceName);
    }
    bool operator<(const RealisedKey& o) const { return Tie() < o.Tie(); }
};

struct RealisedEntry {
    FontRef font;
    std::uint64_t lastUse;
};

struct Realised {
    std::map<RealisedKey, RealisedEntry> fonts;
    std::uint64_t clock = 0;
};

Realised& R()
{
    static Realised realised;
    return realised;
}

// Drop the least recently used fonts that no handle holds until at most
// limit remain (held ones always stay).
void TrimRealised(std::size_t limit)
{
    Realised& r = R();
    while (r.fonts.size() > limit) {
        auto victim = r.fonts.end();
        for (auto it = r.fonts.begin(); it != r.fonts.end(); ++it)
            if (it->second.font.use_count() == 1 && (victim == r.fonts.end() || it->second.lastUse < victim->second.lastUse))
                victim = it;
        if (victim == r.fonts.end()) return;
        r.fonts.erase(victim);
    }
}

// Whole-pixel metrics of a face at a cell height or an em height.
struct SizeChoice {
    double ppem;
    int ascent;
    int descent;
};

SizeChoice ChooseSize(FT_Face face, int height)
{
    double upm = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
    double winAscent = face->ascender;
    double winDescent = -face->descender;
    if (const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            winAscent = os2->usWinAscent;
            winDescent = os2->usWinDescent;
        }
    }
    if (winAscent + winDescent <= 0) {
        winAscent = upm * 0.8;
        winDescent = upm * 0.2;
    }
    SizeChoice c{};
    if (height == 0) height = kDefaultCellHeight;
    if (height > 0) {
        c.ppem = height * upm / (winAscent + winDescent);
        c.ascent = RoundToInt(height * winAscent / (winAscent + winDescent));
        c.descent = height - c.ascent;
    } else {
        c.ppem = -static_cast<double>(height);
        c.ascent = RoundToInt(winAscent * c.ppem / upm);
        c.descent = RoundToInt(winDescent * c.ppem / upm);
    }
    return c;
}

}  // namespace

Glyph Font::Render(char32_t cp)
{
    Glyph g{};
    if (!face || !size) return g;
    FT_Activate_Size(size);
    FT_UInt index = FT_Get_Char_Index(face, cp);
    if (index == 0 && cp < 0x100 && face->charmap && face->charmap->encoding == FT_ENCODING_MS_SYMBOL)
        index = FT_Get_Char_Index(face, 0xF000 + cp);  // symbol faces map bytes into the private area
    // Hinted in the upright frame, then slanted or turned: advances stay the
    // same whatever the style.
    FT_Int32 flags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO;
    if (FT_Load_Glyph(face, index, flags) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    g.advance = static_cast<int>((slot->advance.x + boldStrength + 32) >> 6);
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (synthBold) FT_Outline_EmboldenXY(&slot->outline, boldStrength, 0);
        if (transformed) FT_Outline_Transform(&slot->outline, &matrix);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.bits.assign(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height), 0);
    for (int row = 0; row < g.height; ++row) {
        const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(row) * bm.pitch;
        std::uint8_t* dst = g.bits.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(g.width);
        for (int col = 0; col < g.width; ++col) {
            bool on;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                on = (src[col >> 3] >> (7 - (col & 7))) & 1;
            else
                on = src[col] >= 128;  // a grey bitmap from a driver that ignores the mono target
            dst[col] = on ? 1 : 0;
        }
        int col = 0;
        while (col < g.width) {
            while (col < g.width && !dst[col]) ++col;
            int start = col;
            while (col < g.width && dst[col]) ++col;
            if (col > start)
                g.runs.push_back({static_cast<std::int16_t>(row), static_cast<std::int16_t>(start),
                                  static_cast<std::int16_t>(col)});
        }
    }
    return g;
}

FontRef OpenFont(const FontSpec& spec)
{
    int weight = spec.weight == 0 ? 400 : spec.weight;
    bool bold = weight >= 600;
    const FaceChoice& choice = ChooseFace(spec.faceName, bold, spec.italic, spec.charSet == 128);
    FT_Face face = AcquireFace(choice.path, choice.index);

    RealisedKey key{};
    key.face = face;
    key.escapement = spec.escapement % 3600;
    key.synthBold = face && bold && !FaceIsBold(face);
    key.synthItalic = face && spec.italic && !FaceIsItalic(face);
    key.weight = weight;
    key.italic = spec.italic;
    key.underline = spec.underline;
    key.strikeOut = spec.strikeOut;
    key.charSet = spec.charSet;
    key.faceName = spec.faceName;
    key.cellHeight = spec.height;
    SizeChoice sc{};
    double xScale = 1.0;
    if (face) {
        sc = ChooseSize(face, spec.height);
        if (sc.ppem < 1.0) sc.ppem = 1.0;
        if (spec.width != 0) {
            double avg = 0.0;
            if (const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)))
                avg = os2->xAvgCharWidth;
            double upm = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
            double avgPixels = avg > 0 ? avg * sc.ppem / upm : sc.ppem / 2.0;
            xScale = std::abs(spec.width) / avgPixels;
        }
        key.charHeight = std::lround(sc.ppem * 64.0);
        key.charWidth = std::lround(sc.ppem * xScale * 64.0);
        if (key.charWidth < 64) key.charWidth = 64;
    }

    Realised& r = R();
    auto found = r.fonts.find(key);
    if (found != r.fonts.end()) {
        if (face) ReleaseFace(face);  // the realised font holds its own reference
        found->second.lastUse = ++r.clock;
        return found->second.font;
    }

    auto font = std::make_shared<Font>();
    font->spec = spec;
    font->face = face;
    font->path = face ? choice.path : std::string();
    font->synthBold = key.synthBold;
    font->synthItalic = key.synthItalic;
    font->angle = key.escapement / 10.0 * 3.14159265358979323846 / 180.0;
    Metrics& m = font->metrics;
    m.weight = weight;
    m.charSet = spec.charSet;
    m.hasFace = face != nullptr;
    if (face && FT_New_Size(face, &font->size) == 0) {
        FT_Activate_Size(font->size);
        FT_Set_Char_Size(face, key.charWidth, key.charHeight, 72, 72);
        m.ascent = sc.ascent;
        m.descent = sc.descent;
        m.height = sc.ascent + sc.descent;
        m.internalLeading = std::max(0, m.height - RoundToInt(sc.ppem));
        double upm = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
        double xppem = key.charWidth / 64.0;
        double avg = 0.0;
        if (const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)))
            avg = os2->xAvgCharWidth;
        m.averageWidth = avg > 0 ? RoundToInt(avg * xppem / upm) : RoundToInt(xppem / 2.0);
        m.maxWidth = RoundToInt(face->max_advance_width * xppem / upm);
        m.underlineOffset = std::max(1, RoundToInt(-face->underline_position * sc.ppem / upm));
        if (m.underlineOffset > m.descent - 1 && m.descent > 1) m.underlineOffset = m.descent - 1;
        m.underlineThickness = std::max(1, RoundToInt(face->underline_thickness * sc.ppem / upm));
        m.strikeOffset = std::max(1, m.ascent / 3);
        if (font->synthBold) {
            font->boldStrength = std::max<int>(64, static_cast<int>(std::lround(sc.ppem * 64.0 / 24.0)) & ~63);
            m.averageWidth += font->boldStrength >> 6;
            m.maxWidth += font->boldStrength >> 6;
        }
    } else {
        // No face: a cell of the asked height, nothing in it.
        font->size = nullptr;
        m.hasFace = false;
        int h = spec.height == 0 ? kDefaultCellHeight : std::abs(spec.height);
        m.ascent = RoundToInt(h * 0.8);
        m.descent = h - m.ascent;
        m.height = h;
        m.averageWidth = std::max(1, h / 2);
        m.maxWidth = h;
        m.underlineOffset = 1;
        m.underlineThickness = 1;
        m.strikeOffset = std::max(1, m.ascent / 3);
    }
    // Glyph transform: shear first (italic), then turn (escapement); y is up.
    double c = std::cos(font->angle), s = std::sin(font->angle);
    double shear = font->synthItalic ? kObliqueShear / 65536.0 : 0.0;
    font->transformed = key.escapement != 0 || font->synthItalic;
    font->matrix.xx = static_cast<FT_Fixed>(std::lround(c * 65536.0));
    font->matrix.xy = static_cast<FT_Fixed>(std::lround((c * shear - s) * 65536.0));
    font->matrix.yx = static_cast<FT_Fixed>(std::lround(s * 65536.0));
    font->matrix.yy = static_cast<FT_Fixed>(std::lround((s * shear + c) * 65536.0));

    r.fonts.emplace(key, RealisedEntry{font, ++r.clock});
    TrimRealised(kRealisedLimit);
    return font;
}

const Metrics& GetMetrics(const Font& font) { return font.metrics; }
const FontSpec& GetSpec(const Font& font) { return font.spec; }
const Glyph& GetGlyph(Font& font, char32_t cp) { return font.Get(cp); }
double Angle(const Font& font) { return font.angle; }
std::string FacePath(const Font& font) { return font.path; }

void ReleaseUnused()
{
    TrimRealised(0);
    State& s = S();
    s.choices.clear();
}

// * * * Text * * *

void DecodeSjis(const char* text, std::size_t length, std::vector<TextChar>& out)
{
    out.clear();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t i = 0; i < length;) {
        unsigned char c = p[i];
        if (IsSjisLeadByte(c) && i + 1 < length) {
            out.push_back({DecodeDoubleByte(c, p[i + 1]), 2});
            i += 2;
        } else {
            out.push_back({IsSjisLeadByte(c) ? char32_t{0xFFFD} : DecodeSingleByte(c), 1});
            i += 1;
        }
    }
}

int TextWidth(Font& font, const TextChar* chars, std::size_t count)
{
    int width = 0;
    for (std::size_t i = 0; i < count; ++i) width += font.Get(chars[i].cp).advance;
    return width;
}

int PlaceGlyphs(Font& font, const TextChar* chars, std::size_t count, int x, int y, std::vector<PlacedGlyph>& out)
{
    out.clear();
    const Metrics& m = font.metrics;
    int pen = 0;
    if (!font.transformed || font.angle == 0.0) {
        int baseline = y + m.ascent;
        for (std::size_t i = 0; i < count; ++i) {
            const Glyph& g = font.Get(chars[i].cp);
            if (g.width > 0 && g.height > 0) out.push_back({&g, x + pen + g.left, baseline - g.top});
            pen += g.advance;
        }
        return pen;
    }
    double c = std::cos(font.angle), s = std::sin(font.angle);
    for (std::size_t i = 0; i < count; ++i) {
        const Glyph& g = font.Get(chars[i].cp);
        // Pen origin on the baseline: (pen, ascent) in the text's frame.
        double ox = x + pen * c + m.ascent * s;
        double oy = y - pen * s + m.ascent * c;
        if (g.width > 0 && g.height > 0) out.push_back({&g, RoundToInt(ox) + g.left, RoundToInt(oy) - g.top});
        pen += g.advance;
    }
    return pen;
}

Quad TextFrameQuad(const Font& font, int x, int y, double u0, double v0, double u1, double v1)
{
    double c = std::cos(font.angle), s = std::sin(font.angle);
    const double us[4] = {u0, u1, u1, u0};
    const double vs[4] = {v0, v0, v1, v1};
    Quad q{};
    for (int i = 0; i < 4; ++i) {
        q.x[i] = x + us[i] * c + vs[i] * s;
        q.y[i] = y - us[i] * s + vs[i] * c;
    }
    return q;
}

Quad CellQuad(const Font& font, int x, int y, int width)
{
    return TextFrameQuad(font, x, y, 0, 0, width, font.metrics.height);
}

Quad UnderlineQuad(const Font& font, int x, int y, int width)
{
    const Metrics& m = font.metrics;
    double top = m.ascent + m.underlineOffset;
    return TextFrameQuad(font, x, y, 0, top, width, top + m.underlineThickness);
}

Quad StrikeQuad(const Font& font, int x, int y, int width)
{
    const Metrics& m = font.metrics;
    double top = m.ascent - m.strikeOffset;
    return TextFrameQuad(font, x, y, 0, top, width, top + m.underlineThickness);
}

void RenderText(Font& font, const TextChar* chars, std::size_t count, int x, int y,
                std::uint8_t* dst, int stride, int width, int height, std::uint8_t value)
{
    static std::vector<PlacedGlyph> placed;
    int textWidth = PlaceGlyphs(font, chars, count, x, y, placed);
    for (const PlacedGlyph& p : placed) {
        for (const GlyphRun& run : p.glyph->runs) {
            int row = p.y + run.row;
            if (row < 0 || row >= height) continue;
            int x0 = std::max(0, p.x + run.x0);
            int x1 = std::min(width, p.x + run.x1);
            if (x0 < x1) std::memset(dst + static_cast<std::ptrdiff_t>(row) * stride + x0, value, static_cast<std::size_t>(x1 - x0));
        }
    }
    RECT clip{0, 0, width, height};
    auto fill = [&](int row, int x0, int x1) {
        std::memset(dst + static_cast<std::ptrdiff_t>(row) * stride + x0, value, static_cast<std::size_t>(x1 - x0));
    };
    if (font.spec.underline) ForEachQuadSpan(UnderlineQuad(font, x, y, textWidth), clip, fill);
    if (font.spec.strikeOut) ForEachQuadSpan(StrikeQuad(font, x, y, textWidth), clip, fill);
}

// * * * Line breaking * * *

void BreakLines(Font& font, const TextChar* chars, std::size_t count, int maxWidth, bool wordBreak,
                std::vector<TextLine>& out)
{
    out.clear();
    auto isSpace = [&](std::size_t i) { return chars[i].bytes == 1 && chars[i].cp == U' '; };
    auto isLineEnd = [&](std::size_t i) {
        return chars[i].bytes == 1 && (chars[i].cp == U'\n' || chars[i].cp == U'\r');
    };
    std::size_t i = 0;
    while (i < count) {
        std::size_t begin = i;
        std::size_t end = begin;        // characters [begin, end) are on the line so far
        std::size_t breakAt = begin;    // the line may end here (begin: no opportunity yet)
        std::size_t resume = begin;     // where the next line starts after a break at breakAt
        int width = 0;
        bool soft = false;
        while (end < count && !isLineEnd(end)) {
            if (wordBreak && isSpace(end)) {
                // The line may end before a run of spaces; the spaces vanish.
                breakAt = end;
                while (end < count && isSpace(end)) width += font.Get(chars[end++].cp).advance;
                resume = end;
                continue;
            }
            if (wordBreak && end > begin && !isSpace(end - 1) && (chars[end].bytes == 2 || chars[end - 1].bytes == 2)) {
                breakAt = end;          // next to a double-byte character
                resume = end;
            }
            int advance = font.Get(chars[end].cp).advance;
            if (wordBreak && end > begin && width + advance > maxWidth && breakAt > begin) {
                soft = true;
                break;
            }
            width += advance;           // a word wider than the box overflows on its own line
            ++end;
        }
        std::size_t lineEnd = soft ? breakAt : end;
        std::size_t next = soft ? resume : end;
        if (!soft && end < count) {     // a line end: "\r\n", "\n" or "\r"
            next = end + 1;
            if (chars[end].cp == U'\r' && next < count && chars[next].bytes == 1 && chars[next].cp == U'\n') ++next;
        }
        if (soft)
            while (lineEnd > begin && isSpace(lineEnd - 1)) --lineEnd;
        out.push_back({begin, lineEnd, TextWidth(font, chars + begin, lineEnd - begin)});
        i = next > begin ? next : begin + 1;
    }
}

// * * * Families * * *

std::vector<FamilyInfo> ListFamilies()
{
    std::vector<FamilyInfo> out;
    out.push_back({kStandardMincho, 128});
    out.push_back({kStandardGothic, 128});
    if (!FontconfigReady()) return out;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_LANG, FC_SYMBOL, nullptr);
    FcFontSet* set = (pattern && objects) ? FcFontList(nullptr, pattern, objects) : nullptr;
    std::map<std::string, BYTE> families;  // name (UTF-8) -> character set
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcPattern* font = set->fonts[i];
            FcChar8* family = nullptr;
            if (FcPatternGetString(font, FC_FAMILY, 0, &family) != FcResultMatch || !family) continue;
            BYTE charSet = 0;
            FcBool symbol = FcFalse;
            if (FcPatternGetBool(font, FC_SYMBOL, 0, &symbol) == FcResultMatch && symbol) charSet = 2;
            FcLangSet* langs = nullptr;
            if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch && langs &&
                FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual)
                charSet = 128;
            std::string name = reinterpret_cast<const char*>(family);
            auto it = families.find(name);
            if (it == families.end()) families.emplace(name, charSet);
            else if (charSet == 128 || (charSet == 2 && it->second == 0)) it->second = charSet;
        }
        FcFontSetDestroy(set);
    }
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    for (const auto& [utf8, charSet] : families) {
        std::string sjis = Utf8ToSjis(utf8);
        std::size_t n = 0;
        const unsigned char* p = reinterpret_cast<const unsigned char*>(sjis.c_str());
        while (n < sjis.size()) {
            std::size_t step = (IsSjisLeadByte(p[n]) && n + 1 < sjis.size()) ? 2 : 1;
            if (n + step > 31) break;
            n += step;
        }
        sjis.resize(n);
        if (sjis.empty()) continue;
        out.push_back({sjis, charSet});
    }
    return out;
}

}  // namespace ovPlatform::fonts
