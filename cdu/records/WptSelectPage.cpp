#include "cdu/records/WptSelectPage.h"

namespace tavi {

void WptSelectPage::setCandidates(const std::string& entry, const std::vector<Waypoint>& list) {
    constexpr std::size_t kCandidatesPerSubPage = 3;
    subPage = 1;
    pageCount =
        static_cast<int32_t>((list.size() + kCandidatesPerSubPage - 1) / kCandidatesPerSubPage);
    candidates = list;
    entryText = entry;
}

} // namespace tavi
