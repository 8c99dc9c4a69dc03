#include "cdu/CduScreen.h"

#include <gtest/gtest.h>
#include <string>

namespace tavi {
namespace {

class CduScreenTest : public ::testing::Test {
protected:
    // The row's characters with every blank shown as ".".
    std::u32string shown(int32_t row) const {
        std::u32string text = screen.rowText(row);
        for (char32_t& character : text) {
            if (character == U' ') {
                character = U'.';
            }
        }
        return text;
    }

    bool rowIsBlank(int32_t row) const { return shown(row) == std::u32string(24, U'.'); }

    CduScreen screen;
};

TEST_F(CduScreenTest, StartsAndClearsToBlackLargeSpaces) {
    const CduCell blank{U' ', CduColour::Black, false, true};
    EXPECT_EQ(screen.cell(4, 7), blank);
    screen.putText(3, 0, "ABC", CduColour::Green, false, true);
    screen.clear();
    for (int32_t row = 0; row < CduScreen::kRows; ++row) {
        for (int32_t column = 0; column < CduScreen::kColumns; ++column) {
            ASSERT_EQ(screen.cell(row, column), blank) << row << "," << column;
        }
    }
}

TEST_F(CduScreenTest, PutTextSetsEveryFieldOfItsCells) {
    screen.putText(2, 5, "N45°", CduColour::Magenta, false, true);
    EXPECT_EQ(shown(2), U".....N45°...............");
    EXPECT_EQ(screen.cell(2, 8), (CduCell{U'°', CduColour::Magenta, true, false}));
    EXPECT_EQ(screen.cell(2, 9), CduCell{});
}

struct ClipCase {
    const char* name;
    bool rightAligned;
    int32_t row;
    int32_t column;
    const char* text;
    int32_t expectedRow;
    std::u32string expected;
};

class CduScreenClipping : public CduScreenTest, public ::testing::WithParamInterface<ClipCase> {};

TEST_P(CduScreenClipping, WritesOnlyInsideTheScreen) {
    const ClipCase& c = GetParam();
    if (c.rightAligned) {
        screen.putTextRight(c.row, c.column, c.text, CduColour::White, true, false);
    } else {
        screen.putText(c.row, c.column, c.text, CduColour::White, true, false);
    }
    for (int32_t row = 0; row < CduScreen::kRows; ++row) {
        if (row == c.expectedRow) {
            EXPECT_EQ(shown(row), c.expected) << row;
        } else {
            EXPECT_TRUE(rowIsBlank(row)) << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, CduScreenClipping,
    ::testing::Values(
        ClipCase{"CutAtTheRightEdge", false, 8, 20, "ABCDEFG", 8, U"....................ABCD"},
        ClipCase{"RowBelowTheScreen", false, 9, 0, "ABC", -1, U""},
        ClipCase{"RowAboveTheScreen", false, -1, 0, "ABC", -1, U""},
        ClipCase{"NegativeStartWritesNothing", false, 1, -1, "ABC", -1, U""},
        ClipCase{"EmptyText", false, 1, 0, "", -1, U""},
        ClipCase{"RightAgainstTheLastColumn", true, 3, 24, "XYZ", 3, U".....................XYZ"},
        ClipCase{"RightInTheMiddle", true, 3, 10, "XYZ", 3, U".......XYZ.............."},
        ClipCase{"RightLongerThanItsEnd", true, 3, 2, "XYZ", -1, U""},
        ClipCase{"RightFillingTheRow", true, 0, 24, "ABCDEFGHIJKLMNOPQRSTUVWX", 0,
                 U"ABCDEFGHIJKLMNOPQRSTUVWX"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CduScreenTest, TitleIsCentredWhiteAndLarge) {
    screen.drawTitle("ABCDE");
    EXPECT_EQ(shown(0), U".........ABCDE..........");
    EXPECT_EQ(screen.cell(0, 9), (CduCell{U'A', CduColour::White, false, true}));
    screen.clear();
    screen.drawTitle("ABCD");
    EXPECT_EQ(shown(0), U"..........ABCD..........");
}

TEST_F(CduScreenTest, TitleWiderThanTheScreenIsNotShown) {
    screen.drawTitle("ABCDEFGHIJKLMNOPQRSTUVWXY");
    EXPECT_TRUE(rowIsBlank(0));
}

TEST_F(CduScreenTest, PageNumberSitsAtTheRightEndInTheSmallFont) {
    screen.drawPageNumber(1, 2);
    EXPECT_EQ(shown(0), U".....................1/2");
    for (int32_t column = 21; column < 24; ++column) {
        EXPECT_EQ(screen.cell(0, column).colour, CduColour::White);
        EXPECT_FALSE(screen.cell(0, column).large);
    }
}

TEST_F(CduScreenTest, PromptsCarryTheirArrowsOnTheScreenEdges) {
    screen.drawLeftPrompt("ABC", false, 7);
    screen.drawRightPrompt("DEFGHIJK", true, 7);
    EXPECT_EQ(shown(7), U"◄ABC...........DEFGHIJK►");
    EXPECT_EQ(screen.cell(7, 0), (CduCell{U'◄', CduColour::White, false, false}));
    EXPECT_FALSE(screen.cell(7, 3).reverse);
    for (int32_t column = 15; column < 24; ++column) {
        EXPECT_EQ(screen.cell(7, column).colour, CduColour::White);
        EXPECT_TRUE(screen.cell(7, column).reverse) << column;
        EXPECT_FALSE(screen.cell(7, column).large) << column;
    }
}

TEST_F(CduScreenTest, EachColourIsKeptInItsCell) {
    const CduColour colours[] = {CduColour::Black,  CduColour::White, CduColour::Green,
                                 CduColour::Red,    CduColour::Cyan,  CduColour::Magenta,
                                 CduColour::Yellow, CduColour::Amber};
    for (int32_t value = 0; value < 8; ++value) {
        screen.putText(1, value, "X", colours[value], true, false);
    }
    for (int32_t value = 0; value < 8; ++value) {
        EXPECT_EQ(static_cast<int32_t>(screen.cell(1, value).colour), value);
    }
}

TEST_F(CduScreenTest, MalformedUtf8ShowsReplacementCharacters) {
    screen.putText(1, 0, std::string("A\xC3") + "B\xFF", CduColour::White, true, false);
    EXPECT_EQ(shown(1).substr(0, 4), U"A\uFFFDB\uFFFD");
}

} // namespace
} // namespace tavi
