#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

// The record behind FLIGHT PLAN LIST: the sub-page and, after an origin/destination search,
// the plans it found.
struct FplListPage {
    int32_t subPage = 1;
    int32_t pageCount = 1;
    bool searchMode = false;
    std::vector<std::string> searchResults;
    std::string searchText;
};

} // namespace tavi
