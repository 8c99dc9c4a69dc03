#include "cdu/records/StoredFplPage.h"

#include "core/StateBlob.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

namespace {

constexpr int32_t kLinesPerSubPage = 3;

using Block = StateBlob<24>;

Block pack(const StoredFplPage& page) {
    Block block;
    block.put<0>(page.subPage);
    block.put<4>(page.selectedLine);
    block.put<8>(page.pageTurnTarget);
    block.put<12>(page.destinationPending);
    block.put<13>(page.originPending);
    block.put<14>(page.pageTurnRequested);
    block.put<16>(page.pageTurnTime);
    return block;
}

} // namespace

int32_t StoredFplPage::lineCount() {
    if (!selectedStoredPlan.hasOriginAndDestination()) {
        return 2;
    }
    return static_cast<int32_t>(selectedStoredPlan.legCount()) + 2;
}

int32_t StoredFplPage::pageCount() {
    return (lineCount() + kLinesPerSubPage - 1) / kLinesPerSubPage;
}

void StoredFplPage::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) const {
    pack(*this).save(reader, file, section, key + ".data");
    selectedStoredPlan.save(reader, file, section, key + ".fpl");
}

bool StoredFplPage::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) {
    Block block = pack(*this);
    block.load(reader, file, section, key + ".data");
    subPage = block.get<0, int32_t>();
    selectedLine = block.get<4, int32_t>();
    pageTurnTarget = block.get<8, int32_t>();
    destinationPending = block.get<12, bool>();
    originPending = block.get<13, bool>();
    pageTurnRequested = block.get<14, bool>();
    pageTurnTime = block.get<16, uint32_t>();
    return selectedStoredPlan.load(reader, file, section, key + ".fpl");
}

} // namespace tavi
