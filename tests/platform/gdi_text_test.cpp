// Tests of EnumFontsA: stopping, one family by name, the character sets.

#include "platform/gdi_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen {
    std::vector<std::string> names;
    std::vector<BYTE> charSets;
    int stopAfter = -1;  // return 0 once this many were seen
};

int Collect(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD type, LPARAM data)
{
    Seen& seen = *reinterpret_cast<Seen*>(data);
    seen.names.emplace_back(lf->lfFaceName);
    seen.charSets.push_back(lf->lfCharSet);
    EXPECT_EQ(tm->tmCharSet, lf->lfCharSet);
    EXPECT_EQ(type, TRUETYPE_FONTTYPE);
    return static_cast<int>(seen.names.size()) == seen.stopAfter ? 0 : 1;
}

}  // namespace

TEST(GdiText, EnumFontsReportsFamiliesAndStopsWhenAsked)
{
    Seen all;
    EXPECT_EQ(EnumFontsA(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&all)), 1);
    ASSERT_GE(all.names.size(), 3u);
    EXPECT_EQ(all.charSets[0], 128);
    EXPECT_EQ(all.charSets[1], 128);

    Seen some;
    some.stopAfter = 2;
    EXPECT_EQ(EnumFontsA(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&some)), 0);
    EXPECT_EQ(some.names.size(), 2u);

    Seen one;
    EnumFontsA(nullptr, all.names[2].c_str(), Collect, reinterpret_cast<LPARAM>(&one));
    ASSERT_EQ(one.names.size(), 1u);
    EXPECT_EQ(one.names[0], all.names[2]);
    EXPECT_EQ(one.charSets[0], all.charSets[2]);

    Seen none;
    EXPECT_EQ(EnumFontsA(nullptr, "NoSuchFamily", Collect, reinterpret_cast<LPARAM>(&none)), 1);
    EXPECT_TRUE(none.names.empty());
}

TEST(GdiText, FontsWithoutADcAreHandledSafely)
{
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    EXPECT_EQ(TextOutA(nullptr, 0, 0, "a", 1), FALSE);
    SIZE size{};
    EXPECT_EQ(GetTextExtentPoint32A(nullptr, "a", 1, &size), FALSE);
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(DrawTextA(nullptr, "a", -1, &r, DT_CALCRECT), 0);
}
