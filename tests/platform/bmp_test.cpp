// BMP loading: every depth and compression decodes to the same picture, damaged
// files fail cleanly, files are found by name in any case, resources by name.

#include "platform/gdi.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/program.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <unistd.h>

using ovtest::BmpKind;
using ovtest::HeadlessTest;
using ovtest::Picture;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// 7 x 5 (odd width: rows need padding), colours exact in every depth.
Picture FourColours()
{
    Picture p{7, 5, {}};
    const COLORREF colours[4] = {kRed, kWhite, kBlue, kBlack};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.pixels.push_back(colours[(x / 2 + y) % 4]);
    return p;
}

Picture TwoColours()
{
    Picture p{7, 5, {}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.pixels.push_back((x + 2 * y) % 3 ? kWhite : kBlue);
    return p;
}

HBITMAP LoadBytes(const std::vector<std::uint8_t>& bytes)
{
    const ovPlatform::BitmapResource table[] = {{"PICTURE", bytes.data(), bytes.size()}};
    ovPlatform::SetBitmapResources(table, 1);
    HBITMAP bitmap = LoadImageA(nullptr, "picture", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ovPlatform::SetBitmapResources(nullptr, 0);
    return bitmap;
}

void ExpectPicture(HBITMAP bitmap, const Picture& p, int bits)
{
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObject(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, p.width);
    EXPECT_EQ(info.bmHeight, p.height);
    EXPECT_EQ(info.bmBitsPixel, bits);
    const auto* pixels = static_cast<const std::uint32_t*>(info.bmBits);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const COLORREF c = p.At(x, y);
            const std::uint32_t expected = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            ASSERT_EQ(pixels[y * p.width + x], expected) << "at " << x << "," << y;
        }
}

}  // namespace

TEST_F(HeadlessTest, EveryBmpFormatDecodesToTheSamePicture)
{
    struct Case {
        const char* name;
        BmpKind kind;
        bool topDown;
        int bits;
    } cases[] = {
        {"1 bpp", BmpKind::Pal1, false, 1},          {"1 bpp top-down", BmpKind::Pal1, true, 1},
        {"4 bpp", BmpKind::Pal4, false, 4},          {"8 bpp", BmpKind::Pal8, false, 8},
        {"8 bpp top-down", BmpKind::Pal8, true, 8},  {"8 bpp core header", BmpKind::Core8, false, 8},
        {"RLE4", BmpKind::Rle4, false, 4},           {"RLE8", BmpKind::Rle8, false, 8},
        {"16 bpp 5-5-5", BmpKind::Rgb555, false, 16}, {"16 bpp bit fields 5-6-5", BmpKind::Bitfields565, false, 16},
        {"24 bpp", BmpKind::Rgb24, false, 24},       {"24 bpp top-down", BmpKind::Rgb24, true, 24},
        {"32 bpp", BmpKind::Rgb32, false, 32},       {"32 bpp bit fields", BmpKind::Bitfields32, false, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture p = c.kind == BmpKind::Pal1 ? TwoColours() : FourColours();
        HBITMAP bitmap = LoadBytes(ovtest::WriteBmp(p, c.kind, c.topDown));
        ExpectPicture(bitmap, p, c.bits);
        EXPECT_TRUE(DeleteObject(bitmap));
    }
}

TEST_F(HeadlessTest, DamagedBmpFilesFailWithoutReadingOutside)
{
    const Picture p = FourColours();
    const auto pal8 = ovtest::WriteBmp(p, BmpKind::Pal8);
    const auto rgb24 = ovtest::WriteBmp(p, BmpKind::Rgb24);
    const auto rle8 = ovtest::WriteBmp(p, BmpKind::Rle8);
    const auto rle4 = ovtest::WriteBmp(p, BmpKind::Rle4);
    const auto fields = ovtest::WriteBmp(p, BmpKind::Bitfields565);
    using Bytes = std::vector<std::uint8_t>;
    using Edit = std::function<void(Bytes&)>;
    // Offsets: 10 pixel offset, 14 header size, 18 width, 22 height, 26 planes,
    // 28 bpp, 30 compression, 46 colours used, 54 first mask or palette entry.
    struct Case {
        const char* name;
        const Bytes* base;
        Edit edit;
    } cases[] = {
        {"not BM", &rgb24, [](Bytes& b) { b[0] = 'X'; }},
        {"width 0", &rgb24, [](Bytes& b) { ovtest::Put32(b, 18, 0); }},
        {"height 0", &rgb24, [](Bytes& b) { ovtest::Put32(b, 22, 0); }},
        {"negative width", &rgb24, [](Bytes& b) { ovtest::Put32(b, 18, static_cast<std::uint32_t>(-7)); }},
        {"width 65536", &rgb24, [](Bytes& b) { ovtest::Put32(b, 18, 65536); }},
        {"height 65536", &rgb24, [](Bytes& b) { ovtest::Put32(b, 22, 65536); }},
        {"height -65536", &rgb24, [](Bytes& b) { ovtest::Put32(b, 22, static_cast<std::uint32_t>(-65536)); }},
        {"huge picture, few rows present", &rgb24, [](Bytes& b) { ovtest::Put32(b, 18, 60000); ovtest::Put32(b, 22, 60000); }},
        {"height beyond the rows present", &rgb24, [](Bytes& b) { ovtest::Put32(b, 22, 6); }},
        {"planes 2", &rgb24, [](Bytes& b) { ovtest::Put16(b, 26, 2); }},
        {"7 bits per pixel", &rgb24, [](Bytes& b) { ovtest::Put16(b, 28, 7); }},
        {"unknown compression", &rgb24, [](Bytes& b) { ovtest::Put32(b, 30, 4); }},
        {"RLE8 on 24 bits", &rgb24, [](Bytes& b) { ovtest::Put32(b, 30, 1); }},
        {"header size 39", &rgb24, [](Bytes& b) { ovtest::Put32(b, 14, 39); }},
        {"header size past the end", &rgb24, [](Bytes& b) { ovtest::Put32(b, 14, 4000); }},
        {"pixel offset past the end", &rgb24, [](Bytes& b) { ovtest::Put32(b, 10, 100000); }},
        {"pixel offset inside the header", &rgb24, [](Bytes& b) { ovtest::Put32(b, 10, 20); }},
        {"pixel offset near the end", &rgb24, [](Bytes& b) { ovtest::Put32(b, 10, static_cast<std::uint32_t>(b.size() - 3)); }},
        {"palette of 257", &pal8, [](Bytes& b) { ovtest::Put32(b, 46, 257); }},
        {"palette over the pixels", &pal8, [](Bytes& b) { ovtest::Put32(b, 46, 200); }},
        {"palette of 17 at 4 bits", &rle4, [](Bytes& b) { ovtest::Put32(b, 46, 17); }},
        {"overlapping masks", &fields, [](Bytes& b) { ovtest::Put32(b, 54, 0xFC00); }},
        {"split mask", &fields, [](Bytes& b) { ovtest::Put32(b, 54, 0xA800); }},
        {"mask beyond 16 bits", &fields, [](Bytes& b) { ovtest::Put32(b, 54, 0x1F0000); }},
        {"masks missing", &fields, [](Bytes& b) { b.resize(60); }},
        {"top-down RLE", &rle8, [](Bytes& b) { ovtest::Put32(b, 22, static_cast<std::uint32_t>(-5)); }},
        {"RLE8 run past the row", &rle8, [](Bytes& b) { b.insert(b.begin() + static_cast<long>(ovtest::U32At(b, 10)), {8, 1}); }},
        {"RLE8 absolute run past the row", &rle8, [](Bytes& b) { b[ovtest::U32At(b, 10) + 1] = 9; }},
        {"RLE8 delta past the image", &rle8, [](Bytes& b) { b.insert(b.begin() + static_cast<long>(ovtest::U32At(b, 10)), {0, 2, 1, 9}); }},
        {"RLE8 delta cut short", &rle8, [](Bytes& b) { b.resize(ovtest::U32At(b, 10) + 0); b.insert(b.end(), {0, 2, 1}); }},
        {"RLE8 absolute run cut short", &rle8, [](Bytes& b) { b.resize(ovtest::U32At(b, 10) + 5); }},
        {"RLE4 run past the row", &rle4, [](Bytes& b) { b.insert(b.begin() + static_cast<long>(ovtest::U32At(b, 10)), {8, 0x11}); }},
        {"RLE without an end, 65535 x 65535", &rle8, [](Bytes& b) {
             ovtest::Put32(b, 18, 65535); ovtest::Put32(b, 22, 65535);
             b.resize(ovtest::U32At(b, 10)); b.insert(b.end(), {0, 1}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = *c.base;
        c.edit(bytes);
        EXPECT_EQ(LoadBytes(bytes), nullptr);
    }
    // Every cut of a file short of its end fails (an RLE image is complete once
    // its last end-of-line is read, so its final 2 bytes may go).
    for (const Bytes* base : {&pal8, &rgb24, &rle8, &rle4, &fields}) {
        const std::size_t keep = base == &rle8 || base == &rle4 ? 2 : 0;
        for (std::size_t n = 0; n + keep < base->size(); ++n) {
            Bytes cut(base->begin(), base->begin() + static_cast<long>(n));
            ASSERT_EQ(LoadBytes(cut), nullptr) << "cut at " << n << " of " << base->size();
        }
    }
}

TEST_F(HeadlessTest, BitmapFilesAreFoundInAnyCaseAndResourcesNeedTheirTable)
{
    char folder[] = "/tmp/ovbmpXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/Strip.BMP";
    const Picture p = FourColours();
    ASSERT_TRUE(ovtest::WriteFile(path, ovtest::WriteBmp(p, BmpKind::Rgb24)));

    HBITMAP exact = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ExpectPicture(exact, p, 24);
    const std::string otherCase = std::string(folder) + "\\STRIP.bmp";
    HBITMAP folded = LoadImageA(nullptr, otherCase.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ExpectPicture(folded, p, 24);
    EXPECT_EQ(LoadImageA(nullptr, (std::string(folder) + "/none.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    // Without LR_LOADFROMFILE the name is a resource: the empty table has none.
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);

    // A selected bitmap is not deleted; after deselection it is.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, exact);
    ASSERT_NE(previous, nullptr);
    EXPECT_FALSE(DeleteObject(exact));
    EXPECT_EQ(GetPixel(dc, 0, 0), kRed);
    EXPECT_EQ(SelectObject(dc, previous), exact);
    EXPECT_TRUE(DeleteObject(exact));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(folded));
    std::remove(path.c_str());
    rmdir(folder);
}
