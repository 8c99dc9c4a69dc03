#include "cdu/ScratchPad.h"

#include "cdu/CduScreen.h"

#include <utility>

namespace tavi {

void ScratchPad::type(char character) {
    if (!editing) {
        if (pad.size() < kMaxTypedLength) {
            pad.push_back(character);
        }
        return;
    }
    const auto length = static_cast<int32_t>(pad.size());
    pad[static_cast<size_t>(cursor)] = character;
    ++cursor;
    if (cursor >= length) {
        editing = false;
    }
}

// A taken entry ends any correction too: a cursor left behind would write the next character
// past the end of the empty pad.
std::string ScratchPad::take() {
    std::string entry = std::move(pad);
    empty();
    return entry;
}

void ScratchPad::set(std::string text) {
    pad = std::move(text);
    editing = false;
    cursor = 0;
}

void ScratchPad::empty() {
    pad.clear();
    cursor = 0;
    editing = false;
}

// The pad's text is not saved with the flight: a cursor that does not fall on the text held now
// would write outside it, so such an edit mode is not taken up.
void ScratchPad::restoreEditMode(bool editMode, int32_t editCursor) {
    editing = editMode && editCursor >= 0 && editCursor < static_cast<int32_t>(pad.size());
    cursor = editing ? editCursor : 0;
}

bool ScratchPad::startsTemporaryEntry() const {
    return !pad.empty() && (pad.front() == '#' || pad.front() == '*');
}

bool ScratchPad::pressClr() {
    if (startsTemporaryEntry()) {
        empty();
    } else if (editing) {
        if (!pad.empty()) {
            pad.erase(static_cast<size_t>(cursor), 1);
        }
        editing = cursor < static_cast<int32_t>(pad.size());
    } else if (!pad.empty()) {
        pad.pop_back();
    }
    return false;
}

bool ScratchPad::pressDel() {
    if (!isDelete()) {
        set(std::string(kDeleteKeyword));
        return false;
    }
    if (editing) {
        empty();
        return false;
    }
    return true;
}

bool ScratchPad::pressPrev(bool messageQueued) {
    if (!editing && !messageQueued && !pad.empty() && pad.back() == '-') {
        pad.pop_back();
        // A lone "-" leaves nothing to correct, so the pad stays out of edit mode.
        editing = !pad.empty();
        cursor = editing ? static_cast<int32_t>(pad.size()) - 1 : 0;
        return false;
    }
    if (editing && cursor > 0) {
        --cursor;
        return false;
    }
    return true;
}

bool ScratchPad::pressNext() {
    if (editing && cursor < static_cast<int32_t>(pad.size()) - 1) {
        ++cursor;
        return false;
    }
    return true;
}

void ScratchPad::draw(CduScreen& screen) const {
    constexpr int32_t kRow = CduScreen::kScratchpadRow;
    if (!editing) {
        screen.putText(kRow, 0, pad, CduColour::White, true, false);
        return;
    }
    for (int32_t column = 0; column < static_cast<int32_t>(pad.size()); ++column) {
        screen.putText(kRow, column, std::string_view(&pad[static_cast<size_t>(column)], 1),
                       CduColour::White, true, column == cursor);
    }
}

} // namespace tavi
