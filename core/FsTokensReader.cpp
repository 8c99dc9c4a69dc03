#include "core/FsTokensReader.h"

#include "core/Imports.h"

namespace tavi {

namespace {

struct TokenRange {
    int first;
    int last;
};

// Tokens of these inclusive ranges are never looked up.
constexpr TokenRange kSkippedRanges[] = {
    {127, 266}, {390, 545}, {558, 597}, {624, 731}, {801, 816}, {883, 902},
};

} // namespace

FsTokensReader::FsTokensReader() {
    for (int id = 0; id < kTokenCount; ++id) {
        records[static_cast<std::size_t>(id)].id = id;
    }
}

bool FsTokensReader::isRefreshed(int tokenId) {
    if (tokenId < 0 || tokenId >= kTokenCount) {
        return false;
    }
    for (const TokenRange& range : kSkippedRanges) {
        if (tokenId >= range.first && tokenId <= range.last) {
            return false;
        }
    }
    return true;
}

void FsTokensReader::refresh() {
    platform::PanelServices& panel = panelServices();
    int id = 0;
    for (const TokenRange& skipped : kSkippedRanges) {
        for (; id < skipped.first; ++id) {
            panel.lookupToken(records[static_cast<std::size_t>(id)]);
        }
        id = skipped.last + 1;
    }
    for (; id < kTokenCount; ++id) {
        panel.lookupToken(records[static_cast<std::size_t>(id)]);
    }
}

} // namespace tavi
