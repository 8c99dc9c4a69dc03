#include "cdu/pages/ProcedureLists.h"

namespace tavi::procedurelists {

int32_t pageCount(std::size_t items, int32_t perPage) {
    const auto perPageSize = static_cast<std::size_t>(perPage);
    return static_cast<int32_t>((items + perPageSize - 1) / perPageSize);
}

SlotPlace slotPlace(const ListLayout& layout, int32_t slot) {
    const int32_t perSide = layout.perPage / 2;
    return {layout.firstRow + 2 * (slot % perSide), slot < perSide};
}

std::optional<std::size_t> pickedIndex(const ListLayout& layout, int32_t subPage, int32_t key,
                                       std::size_t items) {
    constexpr int32_t kRightLineKeys = 4;
    const int32_t perSide = layout.perPage / 2;
    int32_t line = key - layout.firstLineKey;
    int32_t slot = line;
    if (key >= kRightLineKeys) {
        line = key - kRightLineKeys - layout.firstLineKey;
        slot = perSide + line;
    }
    if (line < 0 || line >= perSide || subPage < 1) {
        return std::nullopt;
    }
    const int64_t index = static_cast<int64_t>(layout.perPage) * (subPage - 1) + slot;
    if (index >= static_cast<int64_t>(items)) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

void drawItem(CduScreen& screen, const SlotPlace& place, std::string_view text, bool large) {
    if (place.left) {
        screen.drawLeftPrompt("", false, place.row);
        screen.putText(place.row, 1, text, CduColour::Green, large, false);
    } else {
        screen.drawRightPrompt("", false, place.row);
        screen.putTextRight(place.row, CduScreen::kColumns - 1, text, CduColour::Green, large,
                            false);
    }
}

} // namespace tavi::procedurelists
