#pragma once

#include <cstdint>

namespace tavi {

class Fms;

// FUEL RESERVE, where the crew picks the reserve rule (NBAA, a quantity or a time), and
// FUEL MGT: fuel on board, flow, speeds and specific ranges (sub-page 1), flow and fuel used by
// engine and APU (sub-page 2).
class FuelPages {
public:
    explicit FuelPages(Fms& fms) : fms(fms) {}

    void registerPages();

    void drawFuelReserve() const;
    void onFuelReserveKey(int32_t key);
    void drawFuelMgt() const;
    void onFuelMgtKey(int32_t key);

private:
    void drawFlowSubPage() const;
    void drawEngineSubPage() const;
    // The reserve rule chosen, the predictions following it, back to PERFORMANCE INIT.
    void selectReserve(int32_t type);
    float totalFlow() const;
    bool kilograms() const;

    Fms& fms;
};

} // namespace tavi
