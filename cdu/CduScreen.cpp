#include "cdu/CduScreen.h"

#include "core/Format.h"

namespace tavi {

namespace {

// The length of the UTF-8 sequence that begins with lead, or 0 for a byte that cannot begin one.
size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}

} // namespace

std::u32string CduScreen::decodeUtf8(std::string_view text) {
    constexpr char32_t kReplacement = U'\uFFFD';
    std::u32string decoded;
    size_t position = 0;
    while (position < text.size()) {
        const auto lead = static_cast<unsigned char>(text[position]);
        const size_t length = sequenceLength(lead);
        if (length == 0 || position + length > text.size()) {
            decoded.push_back(kReplacement);
            ++position;
            continue;
        }
        char32_t character = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[position + i]);
            valid = valid && (next & 0xC0) == 0x80;
            character = (character << 6) | (next & 0x3F);
        }
        decoded.push_back(valid ? character : kReplacement);
        position += valid ? length : 1;
    }
    return decoded;
}

std::u32string CduScreen::rowText(int32_t row) const {
    std::u32string text;
    for (int32_t column = 0; column < kColumns; ++column) {
        text.push_back(cell(row, column).character);
    }
    return text;
}

void CduScreen::clear() {
    cells.fill(CduCell{});
}

void CduScreen::putText(int32_t row, int32_t column, std::string_view text, CduColour colour,
                        bool large, bool reverse) {
    putText(row, column, decodeUtf8(text), colour, large, reverse);
}

void CduScreen::putText(int32_t row, int32_t column, std::u32string_view text, CduColour colour,
                        bool large, bool reverse) {
    if (row < 0 || row >= kRows) {
        return;
    }
    for (const char32_t character : text) {
        if (column < 0 || column >= kColumns) {
            return;
        }
        cells[index(row, column)] = CduCell{character, colour, reverse, large};
        ++column;
    }
}

void CduScreen::putTextRight(int32_t row, int32_t column, std::string_view text, CduColour colour,
                             bool large, bool reverse) {
    putTextRight(row, column, decodeUtf8(text), colour, large, reverse);
}

void CduScreen::putTextRight(int32_t row, int32_t column, std::u32string_view text,
                             CduColour colour, bool large, bool reverse) {
    putText(row, column - static_cast<int32_t>(text.size()), text, colour, large, reverse);
}

void CduScreen::drawTitle(std::string_view text) {
    const std::u32string title = decodeUtf8(text);
    const auto length = static_cast<int32_t>(title.size());
    if (length > kColumns) {
        return;
    }
    putText(0, (kColumns - length) / 2, title, CduColour::White, true, false);
}

void CduScreen::drawPageNumber(int32_t page, int32_t count) {
    putTextRight(0, kColumns, format("%d/%d", page, count), CduColour::White, false, false);
}

void CduScreen::drawLeftPrompt(std::string_view text, bool reverse, int32_t row) {
    putText(row, 0, kLeftArrow + decodeUtf8(text), CduColour::White, false, reverse);
}

void CduScreen::drawRightPrompt(std::string_view text, bool reverse, int32_t row) {
    putTextRight(row, kColumns, decodeUtf8(text) + kRightArrow, CduColour::White, false, reverse);
}

} // namespace tavi
