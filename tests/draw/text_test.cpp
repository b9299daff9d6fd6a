// Tests of plain text: the font table and description, Begin/End, colours,
// PutText, BoxText, MeasureText, Text, Print, ShowFps, and TextOutA itself,
// read back from the back buffer of a headless display.

#include "draw/draw.h"
#include "draw/objects.h"
#include "draw/text/text.h"
#include "input/input.h"
#include "platform/gdi_text.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kStandardMincho[] = "\x95W\x8F\x80\x96\xBE\x92\xA9";  // 標準明朝
constexpr char kStandardGothic[] = "\x95W\x8F\x80\x83S\x83V\x83" "b\x83N";  // 標準ゴシック
constexpr char kFortuneLine[] = "\x97" "F\x90l\x82\xC6\x92\x87\x97\xC7\x82\xAD\x82\xE2\x82\xC1\x82\xC4";  // 友人と仲良くやって

constexpr std::uint16_t kWhite565 = 0xFFFF;
constexpr std::uint16_t kNavy565 = 0x0010;  // blue 128 -> 16 of 31

class TextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ovPlatform::Start("headless"));
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "TEXTTEST";
        ASSERT_NE(RegisterClassA(&wc), 0);
        ovSystem::WindowHandle = CreateWindowExA(0, "TEXTTEST", "text", WS_POPUP, 0, 0, 180, 360, nullptr, nullptr,
                                                 nullptr, nullptr);
        ShowWindow(ovSystem::WindowHandle, SW_SHOW);
        ovDraw::FullScreen = 0;
        ovDraw::DefaultWidth = 180;
        ovDraw::DefaultHeight = 360;
        ovPlatform::headless::SetDesktopDepth(16);
        ASSERT_EQ(ovDraw::Screen(180, 360, 1), 1);  // builds the font table too
    }

    void TearDown() override
    {
        ovDraw::detail::ReleaseFontDescription();
        ovDraw::ReleaseScreen();
        ovPlatform::Stop();
    }

    // The back buffer's 16-bit pixels, row by row.
    static std::vector<std::uint16_t> Pixels()
    {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(desc);
        EXPECT_EQ(ovDraw::BackBuffer->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        std::vector<std::uint16_t> out(desc.dwWidth * desc.dwHeight);
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            std::memcpy(&out[y * desc.dwWidth], static_cast<std::uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                        desc.dwWidth * 2);
        ovDraw::BackBuffer->Unlock(nullptr);
        return out;
    }

    static void Fill(std::uint16_t value)
    {
        DDBLTFX fx{};
        fx.dwSize = sizeof(fx);
        fx.dwFillColor = value;
        ASSERT_EQ(ovDraw::BackBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }

    // Bounds of the pixels that differ from background.
    static RECT Bounds(const std::vector<std::uint16_t>& px, std::uint16_t background)
    {
        RECT r{180, 360, 0, 0};
        for (int y = 0; y < 360; ++y)
            for (int x = 0; x < 180; ++x)
                if (px[y * 180 + x] != background) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    }

    // The extent of a text in the font ovDraw::Text uses.
    static SIZE TextExtent(const char* text)
    {
        LOGFONTA lf{};
        lf.lfHeight = 12;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        std::strcpy(lf.lfFaceName, kStandardGothic);
        HFONT font = CreateFontIndirectA(&lf);
        HDC dc = nullptr;
        EXPECT_EQ(ovDraw::BackBuffer->GetDC(&dc), DD_OK);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
        SelectObject(dc, old);
        ovDraw::BackBuffer->ReleaseDC(dc);
        DeleteObject(font);
        return size;
    }
};

}  // namespace

TEST_F(TextTest, FontTableListsTheStandardFacesFirst)
{
    ASSERT_NE(ovDraw::FontDescription, nullptr);
    EXPECT_GE(ovDraw::FontCount, 3);
    EXPECT_LE(ovDraw::FontCount, 200);
    EXPECT_STREQ(ovDraw::FontTable[0].faceName, kStandardMincho);
    EXPECT_STREQ(ovDraw::FontTable[1].faceName, kStandardGothic);
    EXPECT_EQ(ovDraw::FontTable[0].kind, 1);
    EXPECT_EQ(ovDraw::FontTable[1].charSet, 128);
    for (int i = 0; i < ovDraw::FontCount; ++i) {
        const ovDraw::FontEntry& e = ovDraw::FontTable[i];
        EXPECT_EQ(e.kind, e.charSet == 128 ? 1 : e.charSet == 2 ? 3 : 2) << e.faceName;
    }
    for (int i = ovDraw::FontCount; i < 200; ++i) EXPECT_EQ(ovDraw::FontTable[i].kind, -1);
    EXPECT_EQ(ovDraw::TextCopyFlag, 1);
    ovDraw::detail::ReleaseFontDescription();
    EXPECT_EQ(ovDraw::FontDescription, nullptr);
    ovDraw::Text(0, 0, "after quit");  // nothing happens, nothing breaks
    EXPECT_EQ(Bounds(Pixels(), 0).right, 0);
}

TEST_F(TextTest, PrintSitsOnANavyBoxExactlyAsLargeAsTheText)
{
    ovDraw::Print(10, 20, "%s %d", kFortuneLine, 7);
    std::string text = std::string(kFortuneLine) + " 7";
    SIZE size = TextExtent(text.c_str());
    EXPECT_EQ(size.cy, 12);
    std::vector<std::uint16_t> px = Pixels();
    RECT b = Bounds(px, 0);
    EXPECT_EQ(b.left, 10);
    EXPECT_EQ(b.top, 20);
    EXPECT_EQ(b.right, 10 + size.cx);
    EXPECT_EQ(b.bottom, 20 + size.cy);
    int white = 0;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) {
            std::uint16_t p = px[y * 180 + x];
            EXPECT_TRUE(p == kNavy565 || p == kWhite565) << x << "," << y << ": " << p;
            white += p == kWhite565;
        }
    EXPECT_GT(white, 60);
    // The back buffer's DC went back: blits work again.
    Fill(0);
    EXPECT_EQ(Bounds(Pixels(), 0).right, 0);
}

TEST_F(TextTest, PrintCutsLongTextsAtACharacter)
{
    // 253 + 2 + 2 bytes: the buffer holds 255, so the second 漢 is dropped whole.
    std::string narrow(253, 'i');
    std::string kept = narrow + "\x8A\xBF";
    int width = TextExtent(kept.c_str()).cx;
    // Place the text so that its kept part ends at x = 170.
    ovDraw::Print(170 - width, 0, "%s%s", narrow.c_str(), "\x8A\xBF\x8A\xBF");
    RECT b = Bounds(Pixels(), 0);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.right, 170);
}

TEST_F(TextTest, TextOutOpaqueAndTransparent)
{
    struct Case {
        const char* name;
        int mode;
        bool boxFilled;
    };
    for (const Case& c : {Case{"opaque", OPAQUE, true}, Case{"transparent", TRANSPARENT, false}}) {
        const std::uint16_t red = 0xF800, green = 0x07E0, blue = 0x001F;
        Fill(red);
        HDC dc = nullptr;
        ASSERT_EQ(ovDraw::BackBuffer->GetDC(&dc), DD_OK);
        SetTextColor(dc, RGB(0, 255, 0));
        SetBkColor(dc, RGB(0, 0, 255));
        SetBkMode(dc, c.mode);
        SIZE size{};
        GetTextExtentPoint32A(dc, "Hello", 5, &size);
        EXPECT_EQ(TextOutA(dc, 5, 7, "Hello", 5), TRUE);
        ovDraw::BackBuffer->ReleaseDC(dc);
        std::vector<std::uint16_t> px = Pixels();
        int ink = 0, box = 0;
        for (int y = 0; y < 360; ++y)
            for (int x = 0; x < 180; ++x) {
                std::uint16_t p = px[y * 180 + x];
                bool inside = x >= 5 && x < 5 + size.cx && y >= 7 && y < 7 + size.cy;
                if (!inside) {
                    ASSERT_EQ(p, red) << c.name << " " << x << "," << y;
                    continue;
                }
                ink += p == green;
                box += p == blue;
                EXPECT_TRUE(p == green || p == (c.boxFilled ? blue : red)) << c.name;
            }
        EXPECT_GT(ink, 20) << c.name;
        EXPECT_EQ(box > 0, c.boxFilled) << c.name;
    }
}

TEST_F(TextTest, BoxTextAlignments)
{
    struct Case {
        int alignment;
        int expectLeft;   // -1: nothing drawn
    };
    SIZE size = TextExtent("abc");
    const int left = 20, right = 120;
    const std::vector<Case> cases = {
        {0, left}, {1, left + (right - left - size.cx) / 2}, {2, right - size.cx}, {3, -1}};
    for (const Case& c : cases) {
        Fill(0);
        ovDraw::BeginText(1, 12, 0, 0, 0, 0);
        ovDraw::TextColor(RGB(255, 255, 255), RGB(0, 0, 128), 0);
        ovDraw::BoxText(left, 30, right, 100, "abc", c.alignment);
        ovDraw::EndText();
        EXPECT_EQ(ovDraw::TextRect.left, left);
        EXPECT_EQ(ovDraw::TextRect.right, right);
        RECT b = Bounds(Pixels(), 0);
        if (c.expectLeft < 0) {
            EXPECT_EQ(b.right, 0) << "alignment " << c.alignment << " draws nothing";
            continue;
        }
        EXPECT_EQ(b.left, c.expectLeft) << c.alignment;
        EXPECT_EQ(b.right - b.left, size.cx) << c.alignment;
        EXPECT_EQ(b.top, 30);
    }
}

TEST_F(TextTest, BoxTextWrapsAndClipsToItsBox)
{
    ovDraw::BeginText(1, 12, 0, 0, 0, 1);
    ovDraw::TextColor(RGB(255, 255, 255), RGB(0, 0, 128), 0);
    ovDraw::BoxText(10, 10, 60, 30, "one two three four five", 0);  // room for 1 line and a part
    ovDraw::EndText();
    RECT b = Bounds(Pixels(), 0);
    EXPECT_GE(b.left, 10);
    EXPECT_LE(b.right, 60);
    EXPECT_EQ(b.bottom, 30) << "the second line is cut at the box's bottom";
}

TEST_F(TextTest, MeasureTextGivesTheWrappedHeight)
{
    SIZE word = TextExtent("aaaa");
    ovDraw::BeginText(1, 12, 0, 0, 0, 0);
    struct Case {
        const char* text;
        int right;
        int lines;
    };
    for (const Case& c : {Case{"aaaa", 170, 1}, Case{"aaaa aaaa aaaa", 10 + word.cx + 2, 3},
                          Case{"aaaa\naaaa", 170, 2}, Case{kFortuneLine, 10 + 4 * 11, 3}}) {
        int h = ovDraw::MeasureText(10, 5, c.right, 300, c.text);
        EXPECT_EQ(h, 12 * c.lines) << c.text;
        EXPECT_EQ(ovDraw::MeasureRect.top, 5);
        EXPECT_EQ(ovDraw::MeasureRect.bottom, 5 + h);
        EXPECT_LE(ovDraw::MeasureRect.right, c.right) << "narrowed to the text";
    }
    ovDraw::EndText();
    EXPECT_EQ(Bounds(Pixels(), 0).right, 0) << "measuring draws nothing";
}

TEST_F(TextTest, BeginTextFaceNumbersAndWeights)
{
    ovDraw::BeginText(0, 20, 0, 0, 0, 0);
    ovDraw::EndText();
    ovDraw::BeginText(2, 16, 0, 0, 0, 0);
    EXPECT_STREQ(ovDraw::FontDescription->lfFaceName, kStandardMincho) << "face 2 keeps the previous face";
    EXPECT_EQ(ovDraw::TextState.height, 16);
    ovDraw::EndText();
    struct Case {
        int weight;
        LONG lfWeight;
    };
    for (const Case& c : {Case{0, 400}, Case{1, 700}, Case{2, 0}, Case{-1, 0}}) {
        ovDraw::BeginText(1, 12, 30, c.weight, 1, 1);
        EXPECT_EQ(ovDraw::FontDescription->lfWeight, c.lfWeight) << c.weight;
        EXPECT_EQ(ovDraw::FontDescription->lfEscapement, 300);
        EXPECT_EQ(ovDraw::FontDescription->lfItalic, 1);
        EXPECT_EQ(ovDraw::FontDescription->lfCharSet, 128);
        ovDraw::EndText();
    }
    // A named face takes its character set from the table; a missing one gets 128.
    ovDraw::BeginTextFace("NoSuchFace", 12, 0, 0, 0, 0);
    EXPECT_EQ(ovDraw::FontDescription->lfCharSet, 128);
    ovDraw::EndText();
    for (int i = 0; i < ovDraw::FontCount; ++i)
        if (ovDraw::FontTable[i].charSet == 0) {
            ovDraw::BeginTextFace(ovDraw::FontTable[i].faceName, 12, 0, 0, 0, 0);
            EXPECT_EQ(ovDraw::FontDescription->lfCharSet, 0) << ovDraw::FontTable[i].faceName;
            ovDraw::EndText();
            break;
        }
    // A name longer than the description's field is cut, not overrun.
    std::string longName(80, 'x');
    ovDraw::BeginTextFace(longName.c_str(), 12, 0, 0, 0, 0);
    EXPECT_EQ(std::strlen(ovDraw::FontDescription->lfFaceName), 31u);
    ovDraw::EndText();
}

TEST_F(TextTest, BufferTextOpensOnTheFontBuffer)
{
    ovDraw::BeginBufferText(1, 10);
    EXPECT_EQ(ovDraw::TextState.surface, ovDraw::Objects[ovDraw::OBJECT_FONT_BUFFER].surface);
    EXPECT_EQ(ovDraw::TextState.height, 20);
    EXPECT_EQ(ovDraw::FontDescription->lfHeight, 20);
    EXPECT_EQ(ovDraw::FontDescription->lfWeight, 400);
    ovDraw::EndBufferText();
    EXPECT_EQ(ovDraw::TextState.dc, nullptr);
    // Begin while open closes the open text first.
    ovDraw::BeginText(1, 12, 0, 0, 0, 0);
    ovDraw::BeginBufferTextFace(kStandardGothic, 8);
    EXPECT_EQ(ovDraw::TextState.surface, ovDraw::Objects[ovDraw::OBJECT_FONT_BUFFER].surface);
    ovDraw::EndBufferText();
    Fill(0);  // the back buffer's DC is back
}

TEST_F(TextTest, ShowFpsCountsTwoSecondWindows)
{
    ovDraw::detail::InitFpsWindow();
    ovDraw::ShowFps();
    EXPECT_STREQ(ovDraw::detail::Fps.text, "0.0 fps ( max 0.0 / min 999.9 )");
    // 60 calls a second: the next window has 120 calls.
    std::uint32_t t = 0;
    for (int k = 1; k <= 120; ++k) {
        std::uint32_t next = static_cast<std::uint32_t>(k * 1000 / 60);
        ovPlatform::headless::Advance(next - t);
        t = next;
        ovDraw::ShowFps();
        if (k < 120) {
            ASSERT_STREQ(ovDraw::detail::Fps.text, "0.0 fps ( max 0.0 / min 999.9 )") << k;
        }
    }
    EXPECT_STREQ(ovDraw::detail::Fps.text, "60.0 fps ( max 60.0 / min 60.0 )");
    RECT b = Bounds(Pixels(), 0);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.bottom, 12);
    // The counter stops at 999: at most 499.5 shows.
    for (int k = 0; k < 1500; ++k) ovDraw::ShowFps();
    ovPlatform::headless::Advance(2000);
    ovDraw::ShowFps();
    EXPECT_STREQ(ovDraw::detail::Fps.text, "499.5 fps ( max 499.5 / min 60.0 )");
}
