// Tests of the font rasteriser: face matching, sizes, monochrome glyphs and
// their cache, synthetic styles, turned text, line breaking, families.

#include "platform/core/font_raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fonts = ovPlatform::fonts;

namespace {

constexpr char kStandardMincho[] = "\x95W\x8F\x80\x96\xBE\x92\xA9";  // 標準明朝
constexpr char kStandardGothic[] = "\x95W\x8F\x80\x83S\x83V\x83" "b\x83N";  // 標準ゴシック
constexpr char kFortuneLine[] = "\x97" "F\x90l\x82\xC6\x92\x87\x97\xC7\x82\xAD\x82\xE2\x82\xC1\x82\xC4";  // 友人と仲良くやって
constexpr char kOneTwoThree[] = "\x88\xEA\x93\xF1\x8EO";  // 一二三

fonts::FontSpec Spec(const char* face, int height, int weight = 400, bool italic = false, int escapement = 0)
{
    fonts::FontSpec s;
    s.faceName = face;
    s.height = height;
    s.weight = weight;
    s.italic = italic;
    s.escapement = escapement;
    s.charSet = 128;
    return s;
}

// A text rendered into a byte canvas, with its covered pixels' bounds.
struct Canvas {
    int width, height;
    std::vector<std::uint8_t> pixels;
    Canvas(int w, int h, std::uint8_t fill = 0) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}
    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    int Count(std::uint8_t v) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), v)); }
    RECT Bounds(std::uint8_t v) const
    {
        RECT r{width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) == v) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    }
};

Canvas Render(fonts::Font& font, const char* text, int x, int y, int w = 200, int h = 200)
{
    std::vector<fonts::TextChar> chars;
    fonts::DecodeSjis(text, std::strlen(text), chars);
    Canvas c(w, h, 0xAA);
    fonts::RenderText(font, chars.data(), chars.size(), x, y, c.pixels.data(), c.width, c.width, c.height, 1);
    return c;
}

std::vector<fonts::TextChar> Decode(const char* text)
{
    std::vector<fonts::TextChar> chars;
    fonts::DecodeSjis(text, std::strlen(text), chars);
    return chars;
}

}  // namespace

TEST(FontRaster, StandardFacesAreTheJapaneseFaces)
{
    fonts::FontRef mincho = fonts::OpenFont(Spec(kStandardMincho, 12));
    fonts::FontRef gothic = fonts::OpenFont(Spec(kStandardGothic, 12));
    std::string m = fonts::FacePath(*mincho), g = fonts::FacePath(*gothic);
    std::transform(m.begin(), m.end(), m.begin(), ::tolower);
    std::transform(g.begin(), g.end(), g.begin(), ::tolower);
    EXPECT_NE(m.find("mincho"), std::string::npos) << m;
    EXPECT_NE(g.find("gothic"), std::string::npos) << g;
    EXPECT_EQ(g.find("pgothic"), std::string::npos) << "the fixed-pitch face, not the proportional one: " << g;
    // The fixed-pitch Japanese face: every kanji and kana has the same advance.
    std::vector<fonts::TextChar> chars = Decode(kFortuneLine);
    int first = fonts::GetGlyph(*gothic, chars[0].cp).advance;
    EXPECT_GT(first, 8);
    for (const auto& c : chars) EXPECT_EQ(fonts::GetGlyph(*gothic, c.cp).advance, first);
}

TEST(FontRaster, PositiveHeightIsTheCellNegativeTheCharacter)
{
    for (int h : {9, 12, 16, 24, 40}) {
        const fonts::Metrics& cell = fonts::GetMetrics(*fonts::OpenFont(Spec(kStandardGothic, h)));
        EXPECT_EQ(cell.height, h);
        EXPECT_EQ(cell.ascent + cell.descent, h);
        const fonts::Metrics& em = fonts::GetMetrics(*fonts::OpenFont(Spec(kStandardGothic, -h)));
        EXPECT_EQ(em.height - em.internalLeading, h);
        EXPECT_GT(em.height, h) << "the Japanese face's cell is taller than its em";
    }
    // Height 0 is the default size, not an empty font.
    EXPECT_GT(fonts::GetMetrics(*fonts::OpenFont(Spec(kStandardGothic, 0))).height, 8);
    // Width 0 keeps the aspect; a width stretches the glyphs.
    fonts::FontSpec wide = Spec(kStandardGothic, 12);
    wide.width = 12;
    fonts::FontRef normal = fonts::OpenFont(Spec(kStandardGothic, 12));
    fonts::FontRef stretched = fonts::OpenFont(wide);
    EXPECT_GT(fonts::GetGlyph(*stretched, U'A').advance, fonts::GetGlyph(*normal, U'A').advance);
}

TEST(FontRaster, GlyphsAreBinaryAndLeaveTheRestAlone)
{
    fonts::FontRef font = fonts::OpenFont(Spec(kStandardGothic, 12));
    Canvas c = Render(*font, kFortuneLine, 3, 4);
    int covered = c.Count(1);
    EXPECT_GT(covered, 100);
    EXPECT_EQ(covered + c.Count(0xAA), c.width * c.height) << "a pixel is the value or untouched";
    RECT b = c.Bounds(1);
    const fonts::Metrics& m = fonts::GetMetrics(*font);
    std::vector<fonts::TextChar> chars = Decode(kFortuneLine);
    int width = fonts::TextWidth(*font, chars.data(), chars.size());
    EXPECT_GE(b.left, 3);
    EXPECT_GE(b.top, 4);
    EXPECT_LE(b.right, 3 + width);
    EXPECT_LE(b.bottom, 4 + m.height);
    for (const auto& ch : chars)
        for (std::uint8_t bit : fonts::GetGlyph(*font, ch.cp).bits) EXPECT_LE(bit, 1);
}

TEST(FontRaster, RealisedFontsAndGlyphsAreCached)
{
    fonts::FontRef a = fonts::OpenFont(Spec(kStandardGothic, 12));
    fonts::FontRef b = fonts::OpenFont(Spec(kStandardGothic, 12));
    EXPECT_EQ(a.get(), b.get());
    const fonts::Glyph* g1 = &fonts::GetGlyph(*a, U'\u53CB');
    for (char32_t cp = 0x4E00; cp < 0x4E00 + 300; ++cp) fonts::GetGlyph(*a, cp);  // grow the cache
    EXPECT_EQ(g1, &fonts::GetGlyph(*b, U'\u53CB'));
    EXPECT_NE(a.get(), fonts::OpenFont(Spec(kStandardGothic, 13)).get());
    EXPECT_NE(a.get(), fonts::OpenFont(Spec(kStandardMincho, 12)).get());
    // Clipping: drawing far outside the canvas writes nothing.
    Canvas c = Render(*a, kFortuneLine, -500, -500, 20, 20);
    EXPECT_EQ(c.Count(0xAA), 400);
    Canvas edge = Render(*a, kFortuneLine, -5, -5, 20, 20);
    EXPECT_EQ(edge.Count(1) + edge.Count(0xAA), 400);
}

TEST(FontRaster, SyntheticBoldAndItalic)
{
    fonts::FontRef regular = fonts::OpenFont(Spec(kStandardGothic, 16));
    fonts::FontRef bold = fonts::OpenFont(Spec(kStandardGothic, 16, 700));
    fonts::FontRef italic = fonts::OpenFont(Spec(kStandardGothic, 16, 400, true));
    Canvas r = Render(*regular, "Illl", 10, 10);
    Canvas b = Render(*bold, "Illl", 10, 10);
    Canvas i = Render(*italic, "Illl", 10, 10);
    EXPECT_GT(b.Count(1), r.Count(1) * 5 / 4) << "bold strokes are thicker";
    EXPECT_GT(fonts::GetGlyph(*bold, U'l').advance, fonts::GetGlyph(*regular, U'l').advance);
    // An upright "I": its top and bottom rows start at the same column; the
    // slanted one leans right, so its top row starts further right.
    auto rowStart = [](const Canvas& c, int y) {
        for (int x = 0; x < c.width; ++x)
            if (c.At(x, y) == 1) return x;
        return -1;
    };
    RECT rb = r.Bounds(1), ib = i.Bounds(1);
    EXPECT_EQ(rowStart(r, rb.top), rowStart(r, rb.bottom - 1));
    EXPECT_GT(rowStart(i, ib.top), rowStart(i, ib.bottom - 1) + 1);
    EXPECT_EQ(fonts::GetMetrics(*bold).weight, 700);
    EXPECT_EQ(fonts::GetMetrics(*fonts::OpenFont(Spec(kStandardGothic, 16, 0))).weight, 400);
}

TEST(FontRaster, EscapementTurnsTheTextCounterClockwise)
{
    fonts::FontRef upright = fonts::OpenFont(Spec(kStandardGothic, 16));
    fonts::FontRef turned = fonts::OpenFont(Spec(kStandardGothic, 16, 400, false, 900));
    Canvas u = Render(*upright, kOneTwoThree, 100, 100);
    Canvas t = Render(*turned, kOneTwoThree, 100, 100);
    RECT ub = u.Bounds(1), tb = t.Bounds(1);
    EXPECT_GT(ub.right - ub.left, 2 * (ub.bottom - ub.top));
    EXPECT_GT(tb.bottom - tb.top, 2 * (tb.right - tb.left)) << "90 degrees: the line runs upwards";
    EXPECT_LE(tb.bottom, 101) << "it rises from the reference point";
    EXPECT_GE(tb.left, 99);
    EXPECT_LE(tb.right, 100 + 17);
    EXPECT_GT(t.Count(1), 50);
    // The cell quad turns with it.
    fonts::Quad q = fonts::CellQuad(*turned, 100, 100, 48);
    EXPECT_NEAR(q.x[1], 100.0, 1e-9);
    EXPECT_NEAR(q.y[1], 52.0, 1e-9);
}

TEST(FontRaster, UnderlineRunsUnderTheWholeText)
{
    fonts::FontSpec s = Spec(kStandardGothic, 16);
    s.underline = true;
    fonts::FontRef font = fonts::OpenFont(s);
    std::vector<fonts::TextChar> chars = Decode("a b");
    int width = fonts::TextWidth(*font, chars.data(), chars.size());
    Canvas c = Render(*font, "a b", 10, 10);
    const fonts::Metrics& m = fonts::GetMetrics(*font);
    int row = 10 + m.ascent + m.underlineOffset;
    ASSERT_LT(row, 10 + m.height) << "the underline stays inside the cell";
    for (int x = 10; x < 10 + width; ++x) EXPECT_EQ(c.At(x, row), 1) << x;
    EXPECT_NE(c.At(10 + width, row), 1);
}

TEST(FontRaster, UnknownFaceFallsBackToAJapaneseFace)
{
    fonts::FontRef font = fonts::OpenFont(Spec("NoSuchFaceAnywhere", 12));
    EXPECT_TRUE(fonts::GetMetrics(*font).hasFace);
    EXPECT_FALSE(fonts::FacePath(*font).empty());
    Canvas c = Render(*font, kFortuneLine, 0, 0);
    EXPECT_GT(c.Count(1), 100) << "the kanji come from a face that has them";
}

TEST(FontRaster, DecodesShiftJis)
{
    std::vector<fonts::TextChar> chars = Decode("A\x8A\xBF\xB1");  // A漢ｱ
    ASSERT_EQ(chars.size(), 3u);
    EXPECT_EQ(chars[0].cp, U'A');
    EXPECT_EQ(chars[1].cp, U'\u6F22');
    EXPECT_EQ(chars[1].bytes, 2);
    EXPECT_EQ(chars[2].cp, U'\uFF71');
    // A lead byte at the end stands alone; an undecodable pair is one character.
    fonts::DecodeSjis("a\x8A", 2, chars);
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[1].cp, U'\uFFFD');
    fonts::DecodeSjis("\x85\x40", 2, chars);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].bytes, 2);
}

TEST(FontRaster, BreaksLines)
{
    fonts::FontRef font = fonts::OpenFont(Spec(kStandardGothic, 12));
    int a = fonts::GetGlyph(*font, U'a').advance;       // single-byte: half width
    int k = fonts::GetGlyph(*font, U'\u6F22').advance;  // double-byte: full width
    ASSERT_TRUE(3 * k <= 6 * a && 4 * k > 6 * a && 2 * a + k <= 4 * a) << a << " " << k;
    struct Case {
        const char* name;
        std::string text;
        int width;  // in half-width units
        bool wordBreak;
        std::vector<std::string> lines;  // the Shift-JIS bytes of each line
    };
    const char* kan = "\x8A\xBF";  // 漢
    std::string k3 = std::string(kan) + kan + kan;
    const std::vector<Case> cases = {
        {"fits on one line", "aa bb", 10, true, {"aa bb"}},
        {"breaks at the space, which vanishes", "aa bb", 4, true, {"aa", "bb"}},
        {"several spaces vanish at the break", "aa   bb", 4, true, {"aa", "bb"}},
        {"a long word overflows on its own line", "aaaaaa bb", 4, true, {"aaaaaa", "bb"}},
        {"double-byte text breaks anywhere", k3 + k3, 6, true, {k3, k3}},
        {"between single- and double-byte", std::string("aa") + kan + kan, 4, true, {"aa" + std::string(kan), kan}},
        {"line ends", "a\nb\r\nc\rd", 40, true, {"a", "b", "c", "d"}},
        {"an empty line between two ends", "a\n\nb", 40, true, {"a", "", "b"}},
        {"without word breaks only line ends break", "aaaa bbbb\ncc", 2, false, {"aaaa bbbb", "cc"}},
        {"nothing, no line", "", 10, true, {}},
    };
    for (const Case& c : cases) {
        std::vector<fonts::TextChar> chars;
        fonts::DecodeSjis(c.text.data(), c.text.size(), chars);
        std::vector<fonts::TextLine> lines;
        fonts::BreakLines(*font, chars.data(), chars.size(), c.width * a, c.wordBreak, lines);
        // Map character indices back to bytes.
        std::vector<std::size_t> offset{0};
        for (const auto& ch : chars) offset.push_back(offset.back() + ch.bytes);
        std::vector<std::string> got;
        for (const auto& l : lines) {
            got.push_back(c.text.substr(offset[l.begin], offset[l.end] - offset[l.begin]));
            EXPECT_EQ(l.width, fonts::TextWidth(*font, chars.data() + l.begin, l.end - l.begin)) << c.name;
        }
        EXPECT_EQ(got, c.lines) << c.name;
    }
}

TEST(FontRaster, ListsEachFamilyOnceWithItsCharacterSet)
{
    std::vector<fonts::FamilyInfo> families = fonts::ListFamilies();
    ASSERT_GE(families.size(), 3u);
    EXPECT_EQ(families[0].name, kStandardMincho);
    EXPECT_EQ(families[1].name, kStandardGothic);
    EXPECT_EQ(families[0].charSet, 128);
    bool sawGothic = false;
    for (std::size_t i = 0; i < families.size(); ++i) {
        EXPECT_LE(families[i].name.size(), 31u);
        for (std::size_t j = i + 1; j < families.size(); ++j) EXPECT_NE(families[i].name, families[j].name);
        if (families[i].name == "IPAGothic") {
            sawGothic = true;
            EXPECT_EQ(families[i].charSet, 128);
        }
        if (families[i].name == "DejaVu Sans") {
            EXPECT_EQ(families[i].charSet, 0);
        }
    }
    EXPECT_TRUE(sawGothic);
}

// Machines with fewer fonts: run in a fresh process whose fontconfig sees
// only the folders given (none at all, or no Japanese faces).
class FontRasterMachine : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    static std::string WriteConfig(const std::string& dir)
    {
        std::string root = ::testing::TempDir() + "ovfonts_" + std::to_string(::getpid());
        std::filesystem::create_directories(root + "/cache");
        std::string path = root + "/fonts.conf";
        std::ofstream out(path);
        out << "<?xml version=\"1.0\"?>\n<fontconfig>\n";
        if (!dir.empty()) out << "<dir>" << dir << "</dir>\n";
        out << "<cachedir>" << root << "/cache</cachedir>\n";
        // The machine's rules (generic families and the like), without its font folders.
        out << "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n</fontconfig>\n";
        return path;
    }
};

TEST_F(FontRasterMachine, NoFontsAtAllDrawsNothing)
{
    EXPECT_EXIT(
        {
            ::setenv("FONTCONFIG_FILE", WriteConfig("").c_str(), 1);
            fonts::FontRef font = fonts::OpenFont(Spec(kStandardGothic, 12));
            Canvas c = Render(*font, kFortuneLine, 0, 0);
            std::vector<fonts::TextChar> chars = Decode(kFortuneLine);
            bool ok = !fonts::GetMetrics(*font).hasFace && c.Count(0xAA) == c.width * c.height &&
                      fonts::GetMetrics(*font).height == 12 && fonts::ListFamilies().size() == 2;
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(FontRasterMachine, WithoutJapaneseFacesTheBestFaceStillDraws)
{
    const char* dejavu = "/usr/share/fonts/truetype/dejavu";
    if (!std::filesystem::exists(dejavu)) GTEST_SKIP() << "no DejaVu fonts here";
    EXPECT_EXIT(
        {
            ::setenv("FONTCONFIG_FILE", WriteConfig(dejavu).c_str(), 1);
            fonts::FontRef font = fonts::OpenFont(Spec(kStandardGothic, 12));
            Canvas c = Render(*font, "Hello", 0, 0);
            bool ok = fonts::GetMetrics(*font).hasFace && c.Count(1) > 20 &&
                      fonts::FacePath(*font).find("DejaVu") != std::string::npos;
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
