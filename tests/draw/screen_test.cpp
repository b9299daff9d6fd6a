// Display start-up: device choice, cooperative level and depth, surfaces and
// their placement, the clipper, internal objects, the pixel format and the
// lookup tables, every failing step's box, and release.

#include "draw/texts.h"
#include "tests/support/display_fixture.h"

#include <cmath>

namespace hl = ovPlatform::headless;
using ovPlatform::DisplayStep;
using ovtest::DisplayTest;
using ovtest::ErrorText;

namespace {

DWORD CapsOf(IDirectDrawSurface* surface)
{
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    surface->GetSurfaceDesc(&desc);
    return desc.ddsCaps.dwCaps;
}

}  // namespace

TEST_F(DisplayTest, WindowedStartUpMakesEverythingAndBindsTheWindow)
{
    ASSERT_EQ(ovDraw::Screen(-1, 5, 1), 1);
    EXPECT_TRUE(hl::Boxes().empty());
    EXPECT_EQ(ovDraw::DisplayWidth, 180);
    EXPECT_EQ(ovDraw::DisplayHeight, 360);
    EXPECT_EQ(ovDraw::DisplayDepth, 16);
    EXPECT_EQ(ovDraw::Clip.right, 180);
    EXPECT_EQ(ovDraw::Clip.bottom, 360);
    EXPECT_EQ(ovDraw::BackBufferRect.right, 180);
    EXPECT_EQ(ovDraw::WindowRect.left, kClientX);
    EXPECT_EQ(ovDraw::WindowRect.bottom, kClientY + 360);
    ASSERT_NE(ovDraw::PrimarySurface, nullptr);
    ASSERT_NE(ovDraw::BackBuffer, nullptr);
    ASSERT_NE(ovDraw::Clipper, nullptr);
    EXPECT_EQ(ovDraw::AcceleratedDevice, 0);
    EXPECT_EQ(ovDraw::StretchCapable, 1);  // the default device's emulation stretches
    EXPECT_FALSE(hl::IsExclusive());
    EXPECT_TRUE(hl::ModeRequests().empty());

    const char* names[4] = {ovDraw::texts::kInternalName1, ovDraw::texts::kInternalName2,
                            ovDraw::texts::kInternalName3, ovDraw::texts::kInternalName4};
    for (int i = 0; i < 4; ++i) {
        const ovDraw::ObjectSlot& slot = ovDraw::Objects[i];
        SCOPED_TRACE(i);
        ASSERT_NE(slot.surface, nullptr);
        EXPECT_STREQ(slot.name, names[i]);
        EXPECT_EQ(slot.placement, 2);
        EXPECT_EQ(slot.colorKey, 0);
        EXPECT_EQ(slot.width, 180);
        EXPECT_EQ(slot.height, 360);
        DDCOLORKEY key{};
        ASSERT_EQ(slot.surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
    }
    for (int i = 4; i < ov::MAX_OBJECTS; ++i) ASSERT_EQ(ovDraw::Objects[i].surface, nullptr);

    // A fill of the back buffer copied to the window's rectangle is what the window shows.
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 0xF800;
    ASSERT_EQ(ovDraw::BackBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    ASSERT_EQ(ovDraw::PrimarySurface->Blt(&ovDraw::WindowRect, ovDraw::BackBuffer, &ovDraw::BackBufferRect,
                                          DDBLT_WAIT, nullptr),
              DD_OK);
    const hl::Image shown = hl::WindowImage();
    ASSERT_EQ(shown.width, 180);
    ASSERT_EQ(shown.height, 360);
    EXPECT_EQ(shown.Colour(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(shown.Colour(179, 359), RGB(255, 0, 0));

    ovDraw::ReleaseScreen();
    EXPECT_EQ(ovDraw::DirectDraw, nullptr);
    EXPECT_EQ(ovDraw::PrimarySurface, nullptr);
    EXPECT_EQ(ovDraw::BackBuffer, nullptr);
    EXPECT_EQ(ovDraw::Objects[0].surface, nullptr);
    EXPECT_EQ(ovDraw::Objects[0].name[0], '\0');
    // The default device was tried by the enumeration and released, then made again.
    EXPECT_EQ(hl::ReleasedDevices(), (std::vector<int>{0, 0}));
}

TEST_F(DisplayTest, PixelFormatOfTheBackBuffer)
{
    struct Case {
        int desktop;
        unsigned shifts[3], maxes[3], shift5[3];
        std::uint32_t half, white;
    } cases[] = {
        {16, {11, 5, 0}, {31, 63, 31}, {11, 6, 0}, 0x7BEF, 0xFFFF},
        {15, {10, 5, 0}, {31, 31, 31}, {10, 5, 0}, 0x3DEF, 0x7FFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop);
        TearDown();
        SetUp();
        hl::SetDesktopDepth(c.desktop);
        ASSERT_EQ(ovDraw::Screen(180, 360, 2), 1);
        const ovDraw::PixelFormatInfo& p = ovDraw::PixelFormat;
        EXPECT_EQ(p.redShift, c.shifts[0]);
        EXPECT_EQ(p.greenShift, c.shifts[1]);
        EXPECT_EQ(p.blueShift, c.shifts[2]);
        EXPECT_EQ(p.redMax, c.maxes[0]);
        EXPECT_EQ(p.greenMax, c.maxes[1]);
        EXPECT_EQ(p.blueMax, c.maxes[2]);
        EXPECT_EQ(p.redShift5, c.shift5[0]);
        EXPECT_EQ(p.greenShift5, c.shift5[1]);
        EXPECT_EQ(p.blueShift5, c.shift5[2]);
        EXPECT_EQ(p.halfMask, c.half);
        EXPECT_EQ(p.whiteMask, c.white);
        EXPECT_EQ(ovDraw::DisplayDepth, 16);
    }
}

TEST_F(DisplayTest, LookupTablesOnASixteenBitDesktop)
{
    ASSERT_EQ(ovDraw::Screen(180, 360, 1), 1);
    EXPECT_EQ(ovDraw::SineTable[0], 0);
    EXPECT_EQ(ovDraw::SineTable[90], 360);
    EXPECT_EQ(ovDraw::SineTable[180], 0);
    EXPECT_EQ(ovDraw::SineTable[270], -360);
    EXPECT_EQ(ovDraw::SineTable[449], 359);  // 360 * sin(89 degrees) = 359.945
    EXPECT_EQ(ovDraw::SineTable[45], 254);   // 254.56
    EXPECT_EQ(ovDraw::SineTable[200], -123); // -123.13: truncated toward zero

    const auto rgb = [](int pixel) {
        const std::uint8_t* t = ovDraw::PixelRgbTable[pixel];
        return std::vector<int>{t[0], t[1], t[2]};
    };
    EXPECT_EQ(rgb(0xFFFF), (std::vector<int>{31, 31, 31}));
    EXPECT_EQ(rgb(0x07E0), (std::vector<int>{0, 31, 0}));
    EXPECT_EQ(rgb(0xF800), (std::vector<int>{31, 0, 0}));
    EXPECT_EQ(rgb(0x0040), (std::vector<int>{0, 1, 0}));  // green 2 of 63 halves to 1

    const unsigned shift5[3] = {11, 6, 0};
    for (int ch = 0; ch < 3; ++ch)
        for (int a = 0; a < 32; ++a)
            for (int b = 0; b < 32; ++b) {
                if (b < 31) {
                    ASSERT_EQ(ovDraw::CrossFadeTable[ch][0][a][b], a << shift5[ch]);
                }
                ASSERT_EQ(ovDraw::CrossFadeTable[ch][31][a][b], b << shift5[ch]);
                ASSERT_EQ(ovDraw::SubtractTable[ch][a][b], (a > b ? a - b : 0) << shift5[ch]);
            }
    EXPECT_EQ(ovDraw::CrossFadeTable[0][10][20][25], (10 + 4) << 11);
    EXPECT_EQ(ovDraw::FadeAddTable[1][0][31][31], 31 << 6);
    EXPECT_EQ(ovDraw::FadeAddTable[2][5][10][3], 8);
    EXPECT_EQ(ovDraw::FadeAddTable[2][20][10][3], 3);
    EXPECT_EQ(ovDraw::GreyTable[93], 31);
    EXPECT_EQ(ovDraw::GreyTable[5], 1);

    // The noise is the generator's next 10000 numbers, modulo 3, in order.
    int counts[3] = {0, 0, 0};
    for (std::uint8_t n : ovDraw::NoiseTable) {
        ASSERT_LT(n, 3);
        ++counts[n];
    }
    for (int c : counts) EXPECT_GT(c, 3000);
    ovSystem::SeedRandom(1);
    std::vector<int> expected;
    for (int i = 0; i < 10000; ++i) expected.push_back(ovSystem::Random() % 3);
    EXPECT_EQ(std::vector<int>(ovDraw::NoiseTable, ovDraw::NoiseTable + 10000), expected);
}

TEST_F(DisplayTest, WindowedThirtyTwoBitDesktopBuildsOnlyTheSineTable)
{
    hl::SetDesktopDepth(32);
    ASSERT_EQ(ovDraw::Screen(180, 360, 1), 1);
    EXPECT_EQ(ovDraw::DisplayDepth, 32);
    EXPECT_EQ(ovDraw::SineTable[90], 360);
    EXPECT_EQ(ovDraw::PixelFormat.redShift, 16);
    EXPECT_EQ(ovDraw::PixelFormat.redMax, 255u);
    const auto zero = [](const auto& table) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&table);
        for (std::size_t i = 0; i < sizeof(table); ++i)
            if (bytes[i]) return false;
        return true;
    };
    EXPECT_TRUE(zero(ovDraw::PixelRgbTable));
    EXPECT_TRUE(zero(ovDraw::CrossFadeTable));
    EXPECT_TRUE(zero(ovDraw::FadeAddTable));
    EXPECT_TRUE(zero(ovDraw::SubtractTable));
    EXPECT_TRUE(zero(ovDraw::GreyTable));
    EXPECT_TRUE(zero(ovDraw::NoiseTable));
    // No numbers were drawn for the noise.
    EXPECT_EQ(ovSystem::RandomState, 1u);
}

TEST_F(DisplayTest, TheFirstDeviceWithThreeDAndTexturesWins)
{
    hl::DisplayDevice plain;
    hl::DisplayDevice accelerated;
    accelerated.hardwareCaps = DDCAPS_3D;  // no DDCAPS_BLTSTRETCH in hardware
    accelerated.hardwareSurfaceCaps = DDSCAPS_TEXTURE;
    hl::DisplayDevice later = accelerated;
    hl::DisplayDevice onlyTextures;
    onlyTextures.hardwareSurfaceCaps = DDSCAPS_TEXTURE;
    hl::SetDisplayDevices({plain, accelerated, later});
    ASSERT_EQ(ovDraw::Screen(180, 360, 1), 1);
    EXPECT_EQ(ovDraw::AcceleratedDevice, 1);
    EXPECT_EQ(hl::ReleasedDevices(), std::vector<int>{0});  // only the first was tried and released
    EXPECT_EQ(ovDraw::StretchCapable, 0);  // the chosen device's hardware cannot stretch
    ovDraw::ReleaseScreen();
    EXPECT_EQ(hl::ReleasedDevices(), (std::vector<int>{0, 1}));

    // No device qualifies: every candidate is released and the default one is made.
    TearDown();
    SetUp();
    hl::SetDisplayDevices({plain, onlyTextures});
    ASSERT_EQ(ovDraw::Screen(180, 360, 1), 1);
    EXPECT_EQ(ovDraw::AcceleratedDevice, 0);
    EXPECT_EQ(ovDraw::StretchCapable, 1);  // emulation stretches
    EXPECT_EQ(hl::ReleasedDevices(), (std::vector<int>{0, 1}));
}

TEST_F(DisplayTest, FullScreenTriesTheDepthThenEachFallback)
{
    struct Case {
        std::vector<int> refused;
        int depth, fallback1, fallback2;
        std::vector<int> tried;
        int result;
        int finalDepth;
    } cases[] = {
        {{32, 24}, 32, 24, 16, {32, 24, 16}, 1, 16},
        {{32}, 32, 24, 16, {32, 24}, 1, 24},
        {{}, 32, 24, 16, {32}, 1, 32},
        {{32}, 32, 0, 0, {32}, 0, 32},
        {{32, 24, 16}, 32, 24, 16, {32, 24, 16}, 0, 16},
        {{32}, 32, 0, 16, {32}, 0, 32},  // the second fallback follows only a tried first one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tried.size());
        TearDown();
        SetUp();
        ovDraw::FullScreen = 1;
        for (int bits : c.refused) hl::RefuseDepth(bits);
        ovDraw::SetDepth(c.depth, c.fallback1, c.fallback2);
        EXPECT_EQ(ovDraw::Screen(640, 480, 1), c.result);
        EXPECT_EQ(hl::ModeRequests(), c.tried);
        EXPECT_EQ(ovDraw::DisplayDepth, c.finalDepth);
        EXPECT_TRUE(hl::IsExclusive());
        if (c.result) {
            EXPECT_TRUE(hl::Boxes().empty());
            EXPECT_EQ(ovDraw::Clipper, nullptr);
            DDPIXELFORMAT format{};
            ovDraw::BackBuffer->GetPixelFormat(&format);
            EXPECT_EQ(static_cast<int>(format.dwRGBBitCount), c.finalDepth);
            DDSURFACEDESC desc{};
            ovDraw::PrimarySurface->GetSurfaceDesc(&desc);
            EXPECT_EQ(desc.dwWidth, 640u);
            EXPECT_EQ(desc.dwHeight, 480u);
        } else {
            EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::Screen", ovDraw::texts::kNoDisplayMode));
        }
    }
    // Release undoes the mode, gives the screen back and minimises the window.
    ovDraw::ReleaseScreen();
    EXPECT_FALSE(hl::IsDisplayModeSet());
    EXPECT_FALSE(hl::IsExclusive());
    EXPECT_TRUE(hl::MainWindowInfo().minimized);
}

TEST_F(DisplayTest, ModesPlaceSurfacesInSystemOrVideoMemory)
{
    struct Case {
        int mode;
        bool primaryAndBackInSystem;
        bool bufferAndScreenInSystem;
    } cases[] = {{1, false, false}, {2, true, true}, {3, false, true}, {0, true, true}, {7, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TearDown();
        SetUp();
        ASSERT_EQ(ovDraw::Screen(180, 360, c.mode), 1);
        const auto inSystem = [](IDirectDrawSurface* s) { return (CapsOf(s) & DDSCAPS_SYSTEMMEMORY) != 0; };
        EXPECT_EQ(inSystem(ovDraw::PrimarySurface), c.primaryAndBackInSystem);
        EXPECT_EQ(inSystem(ovDraw::BackBuffer), c.primaryAndBackInSystem);
        EXPECT_EQ(inSystem(ovDraw::Objects[0].surface), c.bufferAndScreenInSystem);
        EXPECT_EQ(inSystem(ovDraw::Objects[1].surface), c.bufferAndScreenInSystem);
        EXPECT_TRUE(inSystem(ovDraw::Objects[2].surface));
        EXPECT_TRUE(inSystem(ovDraw::Objects[3].surface));
        EXPECT_TRUE(CapsOf(ovDraw::PrimarySurface) & DDSCAPS_PRIMARYSURFACE);
        EXPECT_TRUE(CapsOf(ovDraw::BackBuffer) & DDSCAPS_OFFSCREENPLAIN);
    }
}

TEST_F(DisplayTest, EachFailingStepShowsItsBoxAndStops)
{
    namespace t = ovDraw::texts;
    struct Case {
        DisplayStep step;
        int serial;
        const char* message;
        bool fullScreen;
    } cases[] = {
        {DisplayStep::CreateDevice, 0, t::kNoDirectDraw, false},
        {DisplayStep::CooperativeLevel, 0, t::kNoCooperativeLevel, false},
        {DisplayStep::CooperativeLevel, 0, t::kNoCooperativeLevel, true},
        {DisplayStep::CreatePrimary, 0, t::kNoPrimary, false},
        {DisplayStep::CreateSurface, 1, t::kNoBackBuffer, false},
        {DisplayStep::CreateClipper, 0, t::kNoClipper, false},
        {DisplayStep::ClipperWindow, 0, t::kNoClipperWindow, false},
        {DisplayStep::SetClipper, 0, t::kNoPrimaryClip, false},
        {DisplayStep::CreateSurface, 2, t::kNoBufferObject, false},
        {DisplayStep::CreateSurface, 3, t::kNoScreenObject, false},
        {DisplayStep::CreateSurface, 4, t::kNoFontObject, false},
        {DisplayStep::CreateSurface, 5, t::kNoFontBufferObject, true},
        {DisplayStep::PixelFormat, 0, t::kNoPixelFormat, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TearDown();
        SetUp();
        ovDraw::FullScreen = c.fullScreen ? 1 : 0;
        hl::FailDisplayStep(c.step, c.serial, DDERR_GENERIC);
        EXPECT_EQ(ovDraw::Screen(180, 360, 1), 0);
        ASSERT_EQ(hl::Boxes().size(), 1u);
        EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::Screen", c.message));
        // Start-up stopped at the failing step: the tables were not built.
        EXPECT_EQ(ovDraw::SineTable[90], 0);
    }
    // An empty device list cannot make any device.
    TearDown();
    SetUp();
    hl::SetDisplayDevices({});
    EXPECT_EQ(ovDraw::Screen(180, 360, 1), 0);
    EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::Screen", t::kNoDirectDraw));
    // An 8-bit desktop has no surfaces to give.
    TearDown();
    SetUp();
    hl::SetDesktopDepth(8);
    EXPECT_EQ(ovDraw::DesktopDepth(), 8);
    EXPECT_EQ(ovDraw::Screen(180, 360, 1), 0);
    EXPECT_EQ(LastBoxText(), ErrorText("ovDraw::Screen", t::kNoPrimary));
}
