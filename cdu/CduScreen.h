#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

// The colours of the CDU's characters. The CDU display draws any other value as white.
enum class CduColour : int32_t {
    Black = 0,
    White = 1,
    Green = 2,
    Red = 3,
    Cyan = 4,
    Magenta = 5,
    Yellow = 6,
    Amber = 7,
};

// One character cell of the CDU. A reversed cell draws its character in black on a rectangle of
// the cell's colour.
struct CduCell {
    char32_t character = U' ';
    CduColour colour = CduColour::Black;
    bool reverse = false;
    bool large = true;

    bool operator==(const CduCell&) const = default;
};

// The CDU's character buffer of 9 rows by 24 columns: row 0 the title line, rows 1 to 7 labels,
// values and line-key prompts, row 8 the scratch-pad or message line. Texts are UTF-8; every
// write is clipped to the screen.
class CduScreen {
public:
    static constexpr int32_t kRows = 9;
    static constexpr int32_t kColumns = 24;
    static constexpr int32_t kScratchpadRow = 8;
    static constexpr char32_t kLeftArrow = U'\u25C4';
    static constexpr char32_t kRightArrow = U'\u25BA';

    const CduCell& cell(int32_t row, int32_t column) const { return cells[index(row, column)]; }
    // The characters of one row, for tests and logs.
    std::u32string rowText(int32_t row) const;

    // Every cell becomes a black, large, non-reversed space.
    void clear();
    // Writes text into row from column on. Writing stops at the first character outside the
    // screen, so a text that starts left of column 0 writes nothing.
    void putText(int32_t row, int32_t column, std::string_view text, CduColour colour, bool large,
                 bool reverse);
    void putText(int32_t row, int32_t column, std::u32string_view text, CduColour colour,
                 bool large, bool reverse);
    // As putText, with the text's last character in column - 1.
    void putTextRight(int32_t row, int32_t column, std::string_view text, CduColour colour,
                      bool large, bool reverse);
    void putTextRight(int32_t row, int32_t column, std::u32string_view text, CduColour colour,
                      bool large, bool reverse);
    // The page title centred on row 0, white and large; a title wider than the screen is not
    // shown.
    void drawTitle(std::string_view text);
    // "page/count" at the right end of row 0, white and small.
    void drawPageNumber(int32_t page, int32_t count);
    // A left line-key prompt: the arrow, then the text, from column 0, white and small.
    void drawLeftPrompt(std::string_view text, bool reverse, int32_t row);
    // A right line-key prompt: the text, then the arrow, ending in the last column.
    void drawRightPrompt(std::string_view text, bool reverse, int32_t row);

    static std::u32string decodeUtf8(std::string_view text);

private:
    static constexpr size_t index(int32_t row, int32_t column) {
        return static_cast<size_t>(row * kColumns + column);
    }

    std::array<CduCell, kRows * kColumns> cells{};
};

} // namespace tavi
