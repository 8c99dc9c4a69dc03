#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <vector>

namespace tavi {

// Orders the candidates of a search by their distance field, nearest first; candidates at
// equal distances keep the order they were found in.
template <typename Record>
void sortByDistance(std::vector<Record>& candidates) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Record& a, const Record& b) { return a.distance < b.distance; });
}

// The positions in the list of its `count` nearest candidates, in the order sortByDistance
// would give them, without moving the candidates.
template <typename Record>
std::vector<std::size_t> nearestOf(const std::vector<Record>& candidates, std::size_t count) {
    std::vector<std::size_t> order(candidates.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto kept = order.begin() + static_cast<std::ptrdiff_t>(std::min(count, order.size()));
    std::partial_sort(order.begin(), kept, order.end(), [&](std::size_t a, std::size_t b) {
        const double first = candidates[a].distance;
        const double second = candidates[b].distance;
        return first < second || (first == second && a < b);
    });
    order.erase(kept, order.end());
    return order;
}

} // namespace tavi
