#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fms;

// ORBIT and PROCEDURE TURN: the orbit or the procedure turn of the selected flight-plan leg,
// edited in place. ORBIT sets the radius, the speed (none: maximum endurance) and the
// direction; PROCEDURE TURN the turn's side and angle and the outbound time or distance, and its
// ACTIVATE puts the turn's point and a second pass of the fix behind the fix.
class OrbitPages {
public:
    explicit OrbitPages(Fms& fms) : fms(fms) {}

    void registerPages();

private:
    void drawOrbitPage() const;
    void onOrbitKey(int32_t key);
    void drawProcedureTurnPage() const;
    void onProcedureTurnKey(int32_t key);
    // The pad's text read by the entry's rule: an empty pad does nothing, a refused entry
    // stays in the pad with "INVALID ENTRY"; answers whether the entry was taken.
    template <class Apply>
    bool takeEntry(Apply apply);
    void activateProcedureTurn();

    Fms& fms;
};

} // namespace tavi
