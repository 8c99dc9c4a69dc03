#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

class CduScreen;

// The CDU's entry line: the pilot types an entry into it, a line key hands it to the page. An
// entry that ends in "-" can be opened for correction with PREV: then typed characters overwrite
// the character under the cursor, which PREV and NEXT move and CLR deletes.
class ScratchPad {
public:
    static constexpr size_t kMaxTypedLength = 23;
    static constexpr std::string_view kDeleteKeyword = "*DELETE*";

    const std::string& text() const { return pad; }
    bool editMode() const { return editing; }
    int32_t editCursor() const { return cursor; }

    // Appends a typed character, or overwrites the one under the cursor in edit mode. A
    // character past the length limit is dropped.
    void type(char character);
    // Hands the entry to a page and leaves the pad empty.
    std::string take();
    // Shows text in the pad and ends edit mode.
    void set(std::string text);
    bool isDelete() const { return pad == kDeleteKeyword; }
    void endEditMode() { editing = false; }
    // Edit mode as a saved flight had it, over the text the pad holds now.
    void restoreEditMode(bool editMode, int32_t editCursor);

    // The CDU's editing keys, applied before the page sees the key. Each returns whether the key
    // goes on to the page.
    bool pressClr();
    bool pressDel();
    bool pressPrev(bool messageQueued);
    bool pressNext();

    // The pad on the scratch-pad row, the character under the cursor reversed in edit mode.
    void draw(CduScreen& screen) const;

private:
    void empty();
    bool startsTemporaryEntry() const;

    std::string pad;
    bool editing = false;
    int32_t cursor = 0;
};

} // namespace tavi
