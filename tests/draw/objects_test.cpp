// The graphic object table: names, slot search and reuse, colour keys, key
// copies, and the restore of lost surfaces.

#include "draw/texts.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/display_fixture.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace hl = ovPlatform::headless;
using ovtest::ErrorText;

namespace {

class ObjectTest : public ovtest::DisplayTest {
protected:
    std::string folder;

    void SetUp() override
    {
        char name[] = "/tmp/ovobjXXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        DisplayTest::SetUp();
        hl::SetExecutablePath(folder + "/program");
        // A 4 x 3 picture with a magenta top-left pixel and a green one beside it.
        Write("pict.bmp", RGB(255, 0, 255));
        Write("blue.bmp", RGB(0, 0, 255));
        ASSERT_EQ(ovDraw::Screen(180, 360, 2), 1);
    }

    void TearDown() override
    {
        DisplayTest::TearDown();
        std::remove((folder + "/pict.bmp").c_str());
        std::remove((folder + "/blue.bmp").c_str());
        rmdir(folder.c_str());
    }

    void Write(const char* name, COLORREF corner)
    {
        ovtest::Picture p{4, 3, std::vector<COLORREF>(12, RGB(255, 255, 255))};
        p.pixels[0] = corner;
        p.pixels[1] = RGB(0, 255, 0);
        ASSERT_TRUE(ovtest::WriteFile(folder + "/" + name, ovtest::WriteBmp(p, ovtest::BmpKind::Rgb24)));
    }

    static DWORD KeyOf(int object)
    {
        DDCOLORKEY key{};
        EXPECT_EQ(ovDraw::Objects[object].surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        return key.dwColorSpaceLowValue;
    }

    static std::uint32_t PixelOf(int object, int x, int y)
    {
        return hl::SurfaceImage(ovDraw::Objects[object].surface).At(x, y);
    }
};

}  // namespace

TEST_F(ObjectTest, NamesUpToThirtyCharactersLoad)
{
    const std::string thirty = std::string(26, 'a') + ".bmp";
    std::rename((folder + "/pict.bmp").c_str(), (folder + "/" + thirty).c_str());
    const int object = ovDraw::LoadObject(thirty.c_str(), 2);
    EXPECT_EQ(object, 4);
    EXPECT_STREQ(ovDraw::Objects[4].name, thirty.c_str());
    EXPECT_EQ(ovDraw::Objects[4].width, 4);
    EXPECT_EQ(ovDraw::Objects[4].height, 3);
    EXPECT_EQ(PixelOf(4, 1, 0), 0x07E0u);
    std::remove((folder + "/" + thirty).c_str());

    const std::string thirtyOne = "b" + thirty;
    EXPECT_EQ(ovDraw::LoadObject(thirtyOne.c_str(), 2), 0);
    EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::LoadObject", ovDraw::texts::kNameTooLong));
    EXPECT_EQ(ovDraw::Objects[5].name[0], '\0');  // no slot was claimed
    EXPECT_EQ(ovDraw::SwapObject(thirtyOne.c_str(), 4, 2), 0);
    EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::SwapObject", ovDraw::texts::kNameTooLong));
    EXPECT_NE(ovDraw::Objects[4].surface, nullptr);  // the slot is untouched

    // A missing file keeps its claimed slot, without a surface.
    EXPECT_EQ(ovDraw::LoadObject("none.bmp", 2), 0);
    EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::LoadObject", ovDraw::texts::kBmpUnreadable));
    EXPECT_STREQ(ovDraw::Objects[5].name, "none.bmp");
    EXPECT_EQ(ovDraw::Objects[5].surface, nullptr);
    ovDraw::ReleaseObject(5);
    EXPECT_STREQ(ovDraw::Objects[5].name, "none.bmp");
    EXPECT_EQ(ovDraw::LoadObject("pict.bmp", 2), 0);  // pict.bmp was renamed away
    EXPECT_EQ(ovDraw::CreateObject(8, 8, 2), 7);
}

TEST_F(ObjectTest, TheTableFillsUpAndReleasedSlotsAreReusedFirst)
{
    for (int i = 4; i <= 9; ++i) ASSERT_EQ(ovDraw::CreateObject(2, 2, 1), i);
    ovDraw::ReleaseObject(7);
    EXPECT_EQ(ovDraw::Objects[7].surface, nullptr);
    EXPECT_EQ(ovDraw::Objects[7].name[0], '\0');
    EXPECT_EQ(ovDraw::LoadObject("pict.bmp", 2), 7);

    for (int i = 10; i < ov::MAX_OBJECTS; ++i) ASSERT_EQ(ovDraw::CreateObject(2, 2, 1), i);
    EXPECT_TRUE(hl::Boxes().empty());
    EXPECT_EQ(ovDraw::LoadObject("pict.bmp", 2), 0);
    EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::LoadObject", ovDraw::texts::kTooManyObjects));
    EXPECT_EQ(ovDraw::CreateObject(2, 2, 2), 0);
    EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::CreateObject", ovDraw::texts::kTooManyObjects));
    EXPECT_STREQ(ovDraw::Objects[1023].name, "*");
    EXPECT_TRUE(ovDraw::Objects[1023].surface != nullptr);
}

TEST_F(ObjectTest, DefaultKeyAndCornerKey)
{
    ovDraw::SetDefaultKey(RGB(255, 0, 255));
    const int magenta = ovDraw::LoadObject("pict.bmp", 2);
    EXPECT_EQ(ovDraw::Objects[magenta].colorKey, static_cast<std::int32_t>(RGB(255, 0, 255)));
    EXPECT_EQ(KeyOf(magenta), 0xF81Fu);
    EXPECT_EQ(PixelOf(magenta, 0, 0), 0xF81Fu);  // matching the colour left the picture as it was

    ovDraw::SetDefaultCornerKey();
    const int corner = ovDraw::LoadObject("blue.bmp", 2);
    EXPECT_EQ(ovDraw::Objects[corner].colorKey, -1);
    EXPECT_EQ(KeyOf(corner), 0x001Fu);

    EXPECT_EQ(ovDraw::SetKey(magenta, 0xFFFFFFFFu), DD_OK);  // -1 is the corner key
    EXPECT_EQ(ovDraw::Objects[magenta].colorKey, -1);
    EXPECT_EQ(KeyOf(magenta), 0xF81Fu);
    EXPECT_EQ(ovDraw::SetKey(corner, RGB(0, 255, 0)), DD_OK);
    EXPECT_EQ(KeyOf(corner), 0x07E0u);
    EXPECT_EQ(ovDraw::SetCornerKey(corner), DD_OK);
    EXPECT_EQ(KeyOf(corner), 0x001Fu);

    // Blank objects take the default key too.
    ovDraw::SetDefaultKey(RGB(0, 0, 255));
    const int blank = ovDraw::CreateObject(3, 3, 1);
    EXPECT_EQ(ovDraw::Objects[blank].colorKey, static_cast<std::int32_t>(RGB(0, 0, 255)));
    EXPECT_EQ(KeyOf(blank), 0x001Fu);
}

TEST_F(ObjectTest, RestoreAllReloadsFileObjectsWithTheirOwnKeys)
{
    ovDraw::SetDefaultKey(RGB(0, 255, 0));
    const int green = ovDraw::LoadObject("pict.bmp", 2);
    ovDraw::SetDefaultKey(RGB(255, 255, 255));
    const int blank = ovDraw::CreateObject(5, 5, 2);
    const int white = ovDraw::LoadObject("blue.bmp", 2);
    EXPECT_EQ(ovDraw::LoadObject("none.bmp", 2), 0);  // a named slot without a surface
    ovDraw::SetDefaultKey(RGB(255, 0, 0));
    EXPECT_EQ(ovDraw::CopyKey(green, white), DD_OK);
    EXPECT_EQ(KeyOf(green), 0xFFFFu);
    EXPECT_EQ(ovDraw::Objects[green].colorKey, static_cast<std::int32_t>(RGB(0, 255, 0)));

    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 0x1234;
    ovDraw::Objects[blank].surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
    IDirectDrawSurface* blankSurface = ovDraw::Objects[blank].surface;

    hl::LoseAllSurfaces();
    EXPECT_EQ(ovDraw::BackBuffer->BltFast(0, 0, ovDraw::Objects[green].surface, nullptr, DDBLTFAST_WAIT),
              DDERR_SURFACELOST);
    ovDraw::RestoreAll();
    EXPECT_EQ(ovDraw::PrimarySurface->IsLost(), DD_OK);
    EXPECT_EQ(ovDraw::BackBuffer->IsLost(), DD_OK);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ovDraw::Objects[i].surface->IsLost(), DD_OK);

    // The file objects came back from their files into the same slots, each with its own key.
    EXPECT_STREQ(ovDraw::Objects[green].name, "pict.bmp");
    EXPECT_EQ(PixelOf(green, 1, 0), 0x07E0u);
    EXPECT_EQ(KeyOf(green), 0x07E0u);
    EXPECT_EQ(PixelOf(white, 0, 0), 0x001Fu);
    EXPECT_EQ(KeyOf(white), 0xFFFFu);
    // The blank one was restored, not reloaded: same surface, contents cleared.
    EXPECT_EQ(ovDraw::Objects[blank].surface, blankSurface);
    EXPECT_EQ(ovDraw::Objects[blank].surface->IsLost(), DD_OK);
    EXPECT_EQ(PixelOf(blank, 2, 2), 0u);
    // The default key is the last reloaded object's, corner mode off.
    EXPECT_EQ(ovDraw::DefaultKeyColor, RGB(255, 255, 255));
    EXPECT_EQ(ovDraw::CornerKeyMode, 0);
    EXPECT_EQ(ovDraw::BackBuffer->BltFast(0, 0, ovDraw::Objects[green].surface, nullptr, DDBLTFAST_WAIT), DD_OK);
}
