#include "cdu/ScratchPad.h"

#include "cdu/CduScreen.h"

#include <gtest/gtest.h>
#include <string>

namespace tavi {
namespace {

// A pad state: its text, and the cursor in edit mode or -1 outside it.
struct PadState {
    std::string text;
    int32_t cursor = -1;
};

// Brings a pad into a state through the pilot's own keys.
ScratchPad padIn(const PadState& state) {
    ScratchPad pad;
    if (state.cursor < 0) {
        pad.set(state.text);
        return pad;
    }
    pad.set(state.text + "-");
    pad.pressPrev(false);
    while (pad.editCursor() > state.cursor) {
        pad.pressPrev(false);
    }
    return pad;
}

enum class Key { Clr, Del, Prev, Next };

struct KeyCase {
    const char* name;
    PadState before;
    Key key;
    PadState after;
    bool passedOn;
};

class ScratchPadKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ScratchPadKeys, EditKeysFollowTheirRules) {
    const KeyCase& c = GetParam();
    ScratchPad pad = padIn(c.before);
    ASSERT_EQ(pad.text(), c.before.text);
    ASSERT_EQ(pad.editMode(), c.before.cursor >= 0);
    bool passedOn = false;
    switch (c.key) {
    case Key::Clr:
        passedOn = pad.pressClr();
        break;
    case Key::Del:
        passedOn = pad.pressDel();
        break;
    case Key::Prev:
        passedOn = pad.pressPrev(false);
        break;
    case Key::Next:
        passedOn = pad.pressNext();
        break;
    }
    EXPECT_EQ(pad.text(), c.after.text);
    EXPECT_EQ(pad.editMode(), c.after.cursor >= 0);
    if (c.after.cursor >= 0) {
        EXPECT_EQ(pad.editCursor(), c.after.cursor);
    }
    EXPECT_EQ(passedOn, c.passedOn);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ScratchPadKeys,
    ::testing::Values(
        KeyCase{"ClrEmptiesADeleteKeyword", {"*DELETE*"}, Key::Clr, {""}, false},
        KeyCase{"ClrEmptiesATemporaryEntry", {"#WPT"}, Key::Clr, {""}, false},
        KeyCase{"ClrEmptiesATemporaryEntryInEditMode", {"*AB", 1}, Key::Clr, {""}, false},
        KeyCase{"ClrDeletesTheLastCharacter", {"ABCD"}, Key::Clr, {"ABC"}, false},
        KeyCase{"ClrOnAnEmptyPad", {""}, Key::Clr, {""}, false},
        KeyCase{"ClrDeletesUnderTheCursor", {"ABCD", 1}, Key::Clr, {"ACD", 1}, false},
        KeyCase{"ClrOnTheLastCharacterEndsEditMode", {"ABCD", 3}, Key::Clr, {"ABC"}, false},
        KeyCase{"DelShowsTheKeyword", {"ABC"}, Key::Del, {"*DELETE*"}, false},
        KeyCase{"DelEndsEditMode", {"ABC", 0}, Key::Del, {"*DELETE*"}, false},
        KeyCase{"DelOnTheKeywordGoesToThePage", {"*DELETE*"}, Key::Del, {"*DELETE*"}, true},
        KeyCase{"PrevOpensAnEntryEndingInMinus", {"1234-"}, Key::Prev, {"1234", 3}, false},
        KeyCase{"PrevOnALoneMinusLeavesAnEmptyPad", {"-"}, Key::Prev, {""}, false},
        KeyCase{"PrevMovesTheCursorLeft", {"1234", 2}, Key::Prev, {"1234", 1}, false},
        KeyCase{"PrevAtTheFirstCharacterTurnsThePage", {"1234", 0}, Key::Prev, {"1234", 0}, true},
        KeyCase{"PrevWithoutMinusTurnsThePage", {"1234"}, Key::Prev, {"1234"}, true},
        KeyCase{"NextMovesTheCursorRight", {"1234", 2}, Key::Next, {"1234", 3}, false},
        KeyCase{"NextAtTheLastCharacterTurnsThePage", {"1234", 3}, Key::Next, {"1234", 3}, true},
        KeyCase{"NextOutsideEditModeTurnsThePage", {"1234"}, Key::Next, {"1234"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScratchPad, TypingStopsAtTwentyThreeCharacters) {
    ScratchPad pad;
    const std::string typed = "ABCDEFGHIJKLMNOPQRSTUVWX";
    for (const char character : typed) {
        pad.type(character);
    }
    EXPECT_EQ(pad.text(), typed.substr(0, 23));
}

TEST(ScratchPad, TypingInEditModeOverwritesUntilTheEnd) {
    ScratchPad pad = padIn({"ABCD", 2});
    pad.type('X');
    EXPECT_EQ(pad.text(), "ABXD");
    EXPECT_TRUE(pad.editMode());
    EXPECT_EQ(pad.editCursor(), 3);
    pad.type('Y');
    EXPECT_EQ(pad.text(), "ABXY");
    EXPECT_FALSE(pad.editMode());
    pad.type('Z');
    EXPECT_EQ(pad.text(), "ABXYZ");
}

TEST(ScratchPad, PrevOnAMinusIsRefusedWhileAMessageShows) {
    ScratchPad pad;
    pad.set("12-");
    EXPECT_TRUE(pad.pressPrev(true));
    EXPECT_EQ(pad.text(), "12-");
    EXPECT_FALSE(pad.editMode());
}

TEST(ScratchPad, TakeHandsOverTheEntryAndEmptiesThePad) {
    ScratchPad pad;
    pad.pressDel();
    EXPECT_TRUE(pad.isDelete());
    EXPECT_EQ(pad.take(), "*DELETE*");
    EXPECT_EQ(pad.text(), "");
    EXPECT_FALSE(pad.isDelete());
}

TEST(ScratchPad, DrawsOnTheLastRowWithTheCursorReversed) {
    CduScreen screen;
    ScratchPad pad = padIn({"ABC", 1});
    pad.draw(screen);
    for (int32_t column = 0; column < 3; ++column) {
        const CduCell& cell = screen.cell(CduScreen::kScratchpadRow, column);
        EXPECT_EQ(cell.character, static_cast<char32_t>(U'A' + column));
        EXPECT_EQ(cell.colour, CduColour::White);
        EXPECT_TRUE(cell.large);
        EXPECT_EQ(cell.reverse, column == 1) << column;
    }
    EXPECT_EQ(screen.cell(CduScreen::kScratchpadRow, 3), CduCell{});
}

} // namespace
} // namespace tavi
