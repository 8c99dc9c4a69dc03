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

// Puts one page of a page family's renderer and key handler into its row of the page table.
template <class Pages>
void bindPage(Fms::CduPageEntry& entry, Pages& pages, void (Pages::*draw)() const,
              void (Pages::*onKey)(int32_t)) {
    entry.draw = [&pages, draw] {
        (pages.*draw)();
    };
    entry.onKey = [&pages, onKey](int32_t key) {
        (pages.*onKey)(key);
    };
}

} // namespace tavi
