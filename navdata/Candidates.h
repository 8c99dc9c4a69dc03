#pragma once

#include <algorithm>
#include <vector>

namespace tavi {

// Orders the candidates of a search by their distance field, nearest first; candidates at
// equal distances keep the order they were found in.
template <typename Record>
void sortByDistance(std::vector<Record>& candidates) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Record& a, const Record& b) { return a.distance < b.distance; });
}

} // namespace tavi
