#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// The record behind the stored-plan page: the sub-page, the line last selected, the pending
// origin or destination entry and the automatic page turn. The plan it shows is the module-wide
// selectedStoredPlan.
class StoredFplPage {
public:
    // The origin, the legs and the destination; 2 lines while the plan lacks an end.
    static int32_t lineCount();
    static int32_t pageCount();

    // The 24-byte block under "<key>.data", then the plan under "<key>.fpl".
    void save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    // False when the plan was not whole in the file and stays as it was.
    bool load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    int32_t subPage = 1;
    int32_t selectedLine = 0;
    int32_t pageTurnTarget = 1;
    bool destinationPending = false;
    bool originPending = false;
    bool pageTurnRequested = false;
    uint32_t pageTurnTime = 0;
};

} // namespace tavi
