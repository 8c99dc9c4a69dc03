#pragma once

#include "fms/Fms.h"

#include <cstdint>

namespace tavi {

// Puts a one-page screen's renderer and key handler into its row of the page table.
template <class Page>
void bindPage(Fms::CduPageEntry& entry, Page& page) {
    entry.draw = [&page] {
        page.draw();
    };
    entry.onKey = [&page](int32_t key) {
        page.onKey(key);
    };
}

} // namespace tavi
