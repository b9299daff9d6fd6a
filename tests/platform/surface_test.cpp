// Memory surfaces: copies keyed and plain, scaled copies, fills, locks with a
// pitch wider than the row, lent DCs blocking blits, GDI pixels and
// shrinking, and the refresh wait on the virtual clock.

#include "platform/ddraw.h"
#include "platform/gdi.h"
#include "platform/timer.h"
#include "tests/support/program.h"

#include <gtest/gtest.h>

namespace hl = ovPlatform::headless;
using ovtest::HeadlessTest;

namespace {

IDirectDrawSurface* Make(IDirectDraw* dd, int w, int h)
{
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(w);
    desc.dwHeight = static_cast<DWORD>(h);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface* s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DD_OK);
    return s;
}

void Fill(IDirectDrawSurface* s, DWORD value, RECT* rect = nullptr)
{
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = value;
    ASSERT_EQ(s->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
}

}  // namespace

TEST_F(HeadlessTest, BlitsCopyKeyScaleAndFillAtEveryDepth)
{
    for (int depth : {16, 15, 24, 32}) {
        SCOPED_TRACE(depth);
        TearDown();
        SetUp();
        hl::SetDesktopDepth(depth);
        hl::SetRowPadding(12);
        IDirectDraw* dd = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
        IDirectDrawSurface* src = Make(dd, 4, 2);
        IDirectDrawSurface* dest = Make(dd, 10, 6);
        Fill(dest, 7);
        Fill(src, 1);
        RECT right{2, 0, 4, 2};
        Fill(src, 2, &right);
        DDCOLORKEY key{1, 1};
        ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);

        // Keyed: only the 2s land; plain: everything; clipped at the right edge.
        ASSERT_EQ(dest->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
        ASSERT_EQ(dest->BltFast(8, 4, src, nullptr, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT), DD_OK);
        hl::Image img = hl::SurfaceImage(dest);
        EXPECT_EQ(img.At(0, 0), 7u);
        EXPECT_EQ(img.At(2, 1), 2u);
        EXPECT_EQ(img.At(8, 4), 1u);
        EXPECT_EQ(img.At(9, 5), 1u);

        // Scaled 4 x 2 -> 8 x 4 at (0, 2): each source pixel twice across and down.
        RECT to{0, 2, 8, 6};
        ASSERT_EQ(dest->Blt(&to, src, nullptr, DDBLT_WAIT, nullptr), DD_OK);
        img = hl::SurfaceImage(dest);
        EXPECT_EQ(img.At(3, 5), 1u);
        EXPECT_EQ(img.At(4, 2), 2u);
        EXPECT_EQ(img.At(7, 5), 2u);

        // The lock gives the pitch, wider than the row.
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(desc);
        ASSERT_EQ(dest->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        const int bytes = (depth + 7) / 8 == 2 ? 2 : (depth == 24 ? 3 : 4);
        EXPECT_GT(desc.lPitch, 10 * bytes);
        EXPECT_EQ(static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount), depth == 15 ? 16 : depth);
        auto* row1 = static_cast<std::uint8_t*>(desc.lpSurface) + desc.lPitch;
        EXPECT_EQ(row1[2 * bytes], 2);  // pixel (2, 1), low byte
        EXPECT_EQ(dest->BltFast(0, 0, src, nullptr, 0), DDERR_SURFACEBUSY);
        ASSERT_EQ(dest->Unlock(nullptr), DD_OK);

        // While a DC is out, blits to and from the surface fail.
        HDC dc = nullptr;
        ASSERT_EQ(dest->GetDC(&dc), DD_OK);
        EXPECT_EQ(SetPixel(dc, 0, 0, RGB(255, 255, 255)), RGB(255, 255, 255));
        EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), depth == 15 ? 16 : depth);
        EXPECT_EQ(dest->BltFast(0, 0, src, nullptr, 0), DDERR_SURFACEBUSY);
        EXPECT_EQ(src->BltFast(0, 0, dest, nullptr, 0), DDERR_SURFACEBUSY);
        ASSERT_EQ(dest->ReleaseDC(dc), DD_OK);
        EXPECT_EQ(dest->BltFast(0, 0, src, nullptr, 0), DD_OK);

        // Lost surfaces refuse blits until restored, and come back cleared.
        hl::LoseAllSurfaces();
        EXPECT_EQ(dest->BltFast(0, 0, src, nullptr, 0), DDERR_SURFACELOST);
        EXPECT_EQ(dest->Restore(), DD_OK);
        EXPECT_EQ(dest->BltFast(0, 0, src, nullptr, 0), DDERR_SURFACELOST);  // src still lost
        EXPECT_EQ(src->Restore(), DD_OK);
        EXPECT_EQ(hl::SurfaceImage(dest).At(9, 5), 0u);
        src->Release();
        dest->Release();
        EXPECT_EQ(dd->Release(), 0u);
    }
}

TEST_F(HeadlessTest, GdiPixelsConvertAndShrinkingAndsThePixels)
{
    hl::SetDesktopDepth(15);
    IDirectDraw* dd = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    IDirectDrawSurface* s = Make(dd, 4, 4);
    HDC dc = nullptr;
    ASSERT_EQ(s->GetDC(&dc), DD_OK);
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(255, 0, 255)), RGB(255, 0, 255));
    EXPECT_EQ(SetPixel(dc, 1, 0, RGB(0x84, 0x40, 0x0F)), RGB(0x84, 0x42, 0x08));  // 5 bits each
    EXPECT_EQ(GetPixel(dc, 4, 0), CLR_INVALID);
    s->ReleaseDC(dc);
    EXPECT_EQ(hl::SurfaceImage(s).At(0, 0), 0x7C1Fu);

    // A 2 x 2 bitmap shrunk to one pixel ANDs all four; enlarged, it repeats.
    const std::uint8_t bmp[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
                                0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                0, 0, 0, 0,
                                // bottom row: white, red; top row: yellow, magenta (B, G, R, 0)
                                255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 255, 0, 255, 0, 255, 0};
    static_assert(sizeof(bmp) == 70);
    const ovPlatform::BitmapResource table[] = {{"four", bmp, sizeof(bmp)}};
    ovPlatform::SetBitmapResources(table, 1);
    HBITMAP bitmap = LoadImageA(nullptr, "FOUR", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(bitmap, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, bitmap);
    ASSERT_EQ(s->GetDC(&dc), DD_OK);
    ASSERT_TRUE(StretchBlt(dc, 0, 0, 1, 1, memory, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));  // yellow & magenta & white & red = red
    ASSERT_TRUE(StretchBlt(dc, 0, 0, 1, 1, memory, 0, 0, 1, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 0));  // yellow & white = yellow
    ASSERT_TRUE(StretchBlt(dc, 0, 0, 1, 1, memory, 1, 0, 1, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));  // magenta & red = red
    ASSERT_TRUE(StretchBlt(dc, 0, 0, 4, 4, memory, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 0));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 0, 0));
    s->ReleaseDC(dc);
    DeleteDC(memory);
    EXPECT_TRUE(DeleteObject(bitmap));
    ovPlatform::SetBitmapResources(nullptr, 0);
    s->Release();
    dd->Release();
}

TEST_F(HeadlessTest, SixtyRefreshWaitsAreOneSecond)
{
    IDirectDraw* dd = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    const DWORD start = timeGetTime();
    dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    const DWORD first = timeGetTime() - start;
    EXPECT_TRUE(first == 16 || first == 17);
    for (int i = 1; i < 60; ++i) dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    EXPECT_EQ(timeGetTime() - start, 1000u);
    hl::SetRefreshRate(100);
    dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    EXPECT_EQ(timeGetTime() - start, 1010u);
    EXPECT_EQ(hl::VerticalBlankCount(), 61u);
    dd->Release();
}
