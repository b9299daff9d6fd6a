// The colour-depth check: when it warns, what the boxes say, and what each
// answer leaves behind (full-screen flag, settings file, quit sequence).

#include "draw/draw.h"
#include "system/system.h"
#include "system/texts.h"

#include "platform/boxes.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace headless = ovPlatform::headless;
namespace texts = ovSystem::texts;

class DepthCheck : public ovtest::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        if (HasFatalFailure()) return;
        headless::SetExecutablePath(dir + "/toy");
        ovDraw::FullScreen = 0;  // windowed, as the shell leaves it
    }
    static std::string Warning(const char* fewer, const char* more)
    {
        std::string format = std::string(texts::kDepthWarningWindowed) + texts::kDepthWarningScreen +
                             texts::kDepthWarningAdvice + texts::kDepthWarningFullScreen;
        char text[512];
        std::snprintf(text, sizeof(text), format.c_str(), fewer, more);
        return std::string(text) + "\r\n";
    }
};

TEST_F(DepthCheck, WarnsWithTheColourCountsOfTheDepths)
{
    struct Case {
        int display, desktop;
        const char* fewer;
        const char* more;
    } cases[] = {
        {16, 8, texts::kColors256, texts::kColors65536},
        {24, 8, texts::kColors65536, texts::kColorsFullColour},
        {32, 16, texts::kColors65536, texts::kColorsFullColour},
        // Display depth 8 warns ("16", "256") only on a desktop of fewer than
        // 8 bits, which the headless desktop (8..32 bits) cannot be.
    };
    for (const Case& c : cases) {
        ovDraw::DisplayDepth = c.display;
        ovDraw::FullScreen = 0;
        headless::SetDesktopDepth(c.desktop);
        headless::ClearBoxes();
        headless::QueueBoxAnswer(IDOK);
        headless::QueueBoxAnswer(IDYES);
        EXPECT_EQ(ovSystem::CheckColorDepth("*"), 1) << c.display;
        ASSERT_EQ(headless::Boxes().size(), 2u) << c.display;
        EXPECT_EQ(headless::Boxes()[0].text, Warning(c.fewer, c.more)) << c.display;
        EXPECT_EQ(headless::Boxes()[1].text, std::string(texts::kDepthQuestionSwitch) + "\r\n");
        EXPECT_EQ(headless::Boxes()[1].style & 0x0F, static_cast<UINT>(MB_YESNO));
        // "*": full screen now, and nothing written for the next start.
        EXPECT_EQ(ovDraw::FullScreen, 1);
        EXPECT_EQ(ovSystem::QuitDone, 0);
        EXPECT_TRUE(fs::is_empty(dir));
    }
    // The warning reads as two lines: the line break ends the second piece.
    std::string text = Warning(texts::kColors256, texts::kColors65536);
    char second[128];
    std::snprintf(second, sizeof(second), texts::kDepthWarningScreen, texts::kColors256);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), std::string(texts::kDepthWarningWindowed) + second);
}

TEST_F(DepthCheck, GoesOnWithoutABoxWhenNothingIsWrong)
{
    struct Case {
        int display, desktop, fullScreen;
    } cases[] = {
        {16, 16, 0}, {16, 32, 0}, {32, 32, 0}, {8, 8, 0},  // the desktop has enough colours
        {16, 8, 1}, {32, 8, 1},                             // full screen sets its own depth
        {15, 8, 0}, {4, 1, 0},                              // depths the check does not know
    };
    for (const Case& c : cases) {
        ovDraw::DisplayDepth = c.display;
        ovDraw::FullScreen = c.fullScreen;
        headless::SetDesktopDepth(c.desktop);
        EXPECT_EQ(ovSystem::CheckColorDepth("setting.txt"), 1) << c.display << " " << c.desktop;
        EXPECT_EQ(ovDraw::FullScreen, c.fullScreen);
    }
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(DepthCheck, WithoutASettingsNameItWarnsAndQuits)
{
    ovDraw::DisplayDepth = 16;
    headless::SetDesktopDepth(8);
    EXPECT_EQ(ovSystem::CheckColorDepth(""), 0);
    ASSERT_EQ(headless::Boxes().size(), 1u);  // the warning only: no question
    EXPECT_EQ(headless::Boxes()[0].text, Warning(texts::kColors256, texts::kColors65536));
    EXPECT_EQ(ovSystem::QuitDone, 1);
    EXPECT_EQ(ovDraw::FullScreen, 0);
}

TEST_F(DepthCheck, ASettingsNameKeepsTheChoiceOrQuits)
{
    ovDraw::DisplayDepth = 16;
    headless::SetDesktopDepth(8);
    headless::QueueBoxAnswer(IDOK);
    headless::QueueBoxAnswer(IDYES);
    EXPECT_EQ(ovSystem::CheckColorDepth("Full.txt"), 1);
    ASSERT_EQ(headless::Boxes().size(), 2u);
    EXPECT_EQ(headless::Boxes()[1].text, std::string(texts::kDepthQuestionSettings) + "\r\n");
    EXPECT_EQ(ovDraw::FullScreen, 1);
    std::ifstream in(dir + "/Full.txt");
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "1");
    EXPECT_EQ(ovSystem::LoadInt("FULL.TXT"), 1);

    // No: the quit sequence runs and nothing changes.
    fs::remove(dir + "/Full.txt");
    ovDraw::FullScreen = 0;
    headless::ClearBoxes();
    headless::QueueBoxAnswer(IDOK);
    headless::QueueBoxAnswer(IDNO);
    EXPECT_EQ(ovSystem::CheckColorDepth("Full.txt"), 0);
    EXPECT_EQ(headless::Boxes().size(), 2u);
    EXPECT_EQ(ovSystem::QuitDone, 1);
    EXPECT_EQ(ovDraw::FullScreen, 0);
    EXPECT_FALSE(fs::exists(dir + "/Full.txt"));
}

}  // namespace
