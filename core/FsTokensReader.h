#pragma once

#include "platform/panel/PanelServices.h"

#include <array>
#include <cstdint>

namespace tavi {

using TokenVar = platform::TokenRecord;

// The table of the simulator's panel token variables, refreshed once per frame. Record n holds
// token n. Tokens in the skipped ranges are never looked up and read 0.
class FsTokensReader {
public:
    static constexpr int kTokenCount = 909;

    FsTokensReader();
    virtual ~FsTokensReader() = default;

    void refresh();

    double value(int tokenId) const { return records[static_cast<std::size_t>(tokenId)].value; }
    static bool isRefreshed(int tokenId);

    std::array<TokenVar, kTokenCount> records;
};

} // namespace tavi
