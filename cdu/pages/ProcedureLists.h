#pragma once

#include "cdu/CduScreen.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The item lists of the departure and arrival pages: so many items a sub-page, the first half
// down the left side and the second down the right, each beside the line key that picks it.
namespace tavi::procedurelists {

struct ListLayout {
    int32_t perPage;
    // Row of the first slot of each side; the next slots follow two rows apart.
    int32_t firstRow;
    // Line key of the first left slot (0 = L1); the right side uses the same lines.
    int32_t firstLineKey;
};

// DEPARTURE RUNWAYS, SIDS and DEPARTURE TRANS: two items a side on rows 4 and 6 (L2, L3, R2, R3).
inline constexpr ListLayout kDepartureList{4, 4, 1};
// The arrival lists: four items on rows 2 and 4, or six on rows 2, 4 and 6, from L1 and R1.
inline constexpr ListLayout kArrivalShortList{4, 2, 0};
inline constexpr ListLayout kArrivalLongList{6, 2, 0};
// APPROACH: six items, each on a row pair starting at row 1, 3 or 5.
inline constexpr ListLayout kApproachList{6, 1, 0};

struct SlotPlace {
    int32_t row;
    bool left;
};

// The items divided by those a sub-page, rounded up: 0 for an empty list.
int32_t pageCount(std::size_t items, int32_t perPage);

SlotPlace slotPlace(const ListLayout& layout, int32_t slot);

// The list index that the line key picks on the sub-page; empty when the key serves no slot,
// the slot is empty or the sub-page is none of the list's (a count of 0 pages to sub-page 0).
std::optional<std::size_t> pickedIndex(const ListLayout& layout, int32_t subPage, int32_t key,
                                       std::size_t items);

// Calls draw(index, place) for each item the sub-page shows.
template <class Draw>
void forEachShown(const ListLayout& layout, int32_t subPage, std::size_t items, Draw draw) {
    if (subPage < 1) {
        return;
    }
    const int64_t first = static_cast<int64_t>(layout.perPage) * (subPage - 1);
    for (int32_t slot = 0; slot < layout.perPage; ++slot) {
        const int64_t index = first + slot;
        if (index >= static_cast<int64_t>(items)) {
            return;
        }
        draw(static_cast<std::size_t>(index), slotPlace(layout, slot));
    }
}

// An item in green: the prompt arrow at the outer edge and the text beside it, from column 1
// on the left or ending at column 22 on the right.
void drawItem(CduScreen& screen, const SlotPlace& place, std::string_view text, bool large);

} // namespace tavi::procedurelists
