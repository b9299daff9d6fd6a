// Wait slots, the blocking wait, frame timing, the random generator, and
// the error, information and question boxes.

#include "platform/boxes.h"
#include "system/system.h"
#include "system/texts.h"
#include "tests/support/program.h"

#include <cstring>
#include <string>

namespace hl = ovPlatform::headless;
using ovtest::HeadlessTest;

namespace {

// "ovSystem::SetWait : ウェイトNoが範囲外です" as the box shows it.
std::string ErrorText(const char* context) { return std::string(context) + " : " + ovSystem::texts::kWaitOutOfRange; }

}  // namespace

TEST(Random, SeedOneGivesTheKnownSequenceAndStaysInRange)
{
    ovSystem::SeedRandom(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(ovSystem::Random(), value);
    ovSystem::SeedRandom(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        int r = ovSystem::Random();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST_F(HeadlessTest, WaitSlotsOutOfRangeShowTheBoxAndChangeNothing)
{
    struct Case {
        int slot;
        bool set;  // SetWait, else InitWait
        const char* context;
    } cases[] = {
        {0, true, "ovSystem::SetWait"},
        {11, true, "ovSystem::SetWait"},
        {0, false, "ovSystem::InitWait"},
        {11, false, "ovSystem::InitWait"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        hl::ClearBoxes();
        DWORD before[12];
        std::memcpy(before, ovSystem::WaitSlots, sizeof(before));
        int result = c.set ? ovSystem::SetWait(c.slot, 5) : ovSystem::InitWait(c.slot);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(std::memcmp(before, ovSystem::WaitSlots, sizeof(before)), 0);
        ASSERT_EQ(hl::Boxes().size(), 1u);
        EXPECT_EQ(hl::Boxes()[0].caption, ovSystem::texts::kErrorCaption);
        EXPECT_EQ(hl::Boxes()[0].text, ErrorText(c.context));
        EXPECT_EQ(hl::Boxes()[0].style, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    }
    EXPECT_EQ(hl::BeepCount(), 4u);  // every error box beeps
    EXPECT_EQ(ovSystem::SetWait(10, 5), 1);
    EXPECT_EQ(hl::Boxes().size(), 1u);
}

TEST_F(HeadlessTest, WaitSlotDeadlinesCompareUnsignedAndWrap)
{
    hl::SetTime(1000);
    ovSystem::SetWait(3, 0);
    EXPECT_EQ(ovSystem::CheckWait(3), 1);

    ovSystem::SetWait(4, 50);
    hl::Advance(49);
    EXPECT_EQ(ovSystem::CheckWait(4), 0);
    hl::Advance(1);
    EXPECT_EQ(ovSystem::CheckWait(4), 1);

    // A deadline past 2^32 is stored wrapped and reads as expired at once.
    hl::SetTime(0xFFFFFFF0u);
    ovSystem::SetWait(5, 0x20);
    EXPECT_EQ(ovSystem::WaitSlots[5], 0x10u);
    EXPECT_EQ(ovSystem::CheckWait(5), 1);
    EXPECT_EQ(ovSystem::Wait(0x20), 0xFFFFFFF0u);  // the wrapped deadline has passed: no wait
}

TEST_F(HeadlessTest, DisarmedSlotExpiresOnlyAfter999999999Milliseconds)
{
    ovSystem::Reset();
    hl::SetTime(999999998u);
    EXPECT_EQ(ovSystem::CheckWait(5), 0);
    ovSystem::InitWait(5);
    EXPECT_EQ(ovSystem::CheckWait(5), 0);
    hl::SetTime(999999999u);
    EXPECT_EQ(ovSystem::CheckWait(5), 1);
}

TEST_F(HeadlessTest, BlockingWaitSpinsUntilTheClockPassesTheDeadline)
{
    hl::SetTime(500);
    ovSystem::FrameDelta = 0.5f;
    DWORD returned = ovSystem::Wait(0);
    EXPECT_EQ(returned, 501u);  // strictly after the deadline
    EXPECT_EQ(ovSystem::FrameDelta, 0.0f);
    EXPECT_EQ(ovSystem::PreviousFrameTime, 501u);
    EXPECT_EQ(ovSystem::Wait(30), 532u);
}

TEST_F(HeadlessTest, FrameTimeUsesTheUnsignedDifference)
{
    hl::SetTime(0xFFFFFFFFu - 9);
    ovSystem::ResetFrameTime();
    EXPECT_EQ(ovSystem::FrameDelta, 0.0f);
    hl::Advance(25);  // across the wrap
    EXPECT_EQ(ovSystem::UpdateFrameTime(), 15u);
    EXPECT_FLOAT_EQ(ovSystem::FrameDelta, 0.025f);
}

TEST_F(HeadlessTest, MessageAndQuestionFormatShowTheCursorAndReset)
{
    ovSystem::CursorShown = 0;
    ShowCursor(FALSE);
    hl::SetBoxHook([](const hl::BoxRecord&) {
        EXPECT_EQ(ovSystem::MessageBoxOpen, 1);  // set while the box is open
        hl::Advance(5000);
    });
    hl::SetTime(100);
    ovSystem::ResetFrameTime();
    ovSystem::Message("%d-%s", 7, "x");
    ASSERT_EQ(hl::Boxes().size(), 1u);
    EXPECT_EQ(hl::Boxes()[0].text, "7-x\r\n");
    EXPECT_EQ(hl::Boxes()[0].caption, ovSystem::texts::kMessageCaption);
    EXPECT_EQ(hl::Boxes()[0].style, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    EXPECT_EQ(ovSystem::MessageBoxOpen, 0);
    EXPECT_EQ(ovSystem::CursorShown, 1);
    EXPECT_TRUE(hl::IsCursorVisible());
    EXPECT_EQ(ovSystem::PreviousFrameTime, 5100u);  // the time the box was open is not a frame

    const struct {
        int answer;
        int expected;
    } answers[] = {{IDYES, 1}, {IDNO, 0}, {IDCANCEL, 0}, {0, 0}};
    for (auto a : answers) {
        hl::QueueBoxAnswer(a.answer);
        EXPECT_EQ(ovSystem::Question("q"), a.expected);
        EXPECT_EQ(hl::Boxes().back().style, MB_YESNO | MB_ICONQUESTION);
        EXPECT_EQ(hl::Boxes().back().text, "q\r\n");
    }
    EXPECT_EQ(ovSystem::PreviousFrameTime, hl::Now());

    // The error box leaves the frame timing and the cursor alone.
    hl::SetBoxHook(nullptr);
    ovSystem::CursorShown = 0;
    ShowCursor(FALSE);
    DWORD before = ovSystem::PreviousFrameTime;
    EXPECT_EQ(ovSystem::Error("ctx", "msg", 5), 0);
    EXPECT_EQ(hl::Boxes().back().text, "ctx : msg");
    EXPECT_EQ(ovSystem::PreviousFrameTime, before);
    EXPECT_EQ(ovSystem::CursorShown, 0);
    EXPECT_FALSE(hl::IsCursorVisible());
}

TEST_F(HeadlessTest, LongTextsAreCutAtACharacterBoundary)
{
    // 300 bytes of double-byte characters after one ASCII byte: a cut at 255
    // would split a character.
    std::string text = "a";
    for (int i = 0; i < 150; ++i) text += "\x82\xA0";  // あ
    ovSystem::Message("%s", text.c_str());
    const std::string& shown = hl::Boxes().back().text;
    EXPECT_LE(shown.size(), 255u);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.substr(shown.size() - 2), "\r\n");
    EXPECT_EQ((shown.size() - 3) % 2, 0u);  // "a", whole characters, "\r\n"

    std::string context(200, 'c');
    ovSystem::Error(context.c_str(), text.c_str(), 0);
    const std::string& error = hl::Boxes().back().text;
    EXPECT_LE(error.size(), 255u);
    EXPECT_EQ((error.size() - 204) % 2, 0u);  // context, " : ", "a", whole characters
}
