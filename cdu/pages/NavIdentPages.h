#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fms;

// The navigation database cycle NAV IDENT shows, read from the database once.
struct NavDataCycle {
    std::string startText;
    std::string endText;
    std::string name;
    // Seconds of calendar time: the first second of the first day, the last of the last day,
    // and the first of the simulator's date at the last drawing.
    int64_t startTime = 0;
    int64_t endTime = 0;
    int64_t today = 0;
    bool loaded = false;
};

// NAV IDENT, the page the CDU shows at power-up (the unit, today's date and the database
// cycle), and NAV INDEX, the menu behind the NAV key.
class NavIdentPages {
public:
    explicit NavIdentPages(Fms& fms) : fms(fms) {}

    void registerPages();
    void drawNavIdentPage();
    void drawNavIndexPage() const;
    void onNavIdentKey(int32_t key);
    void onNavIndexKey(int32_t key);

    const NavDataCycle& cycle() const { return dataCycle; }

private:
    void loadCycle();
    void drawCycle(bool current) const;
    // The simulator's UTC date as "DDMMMYY".
    static std::string simulatorDate();

    Fms& fms;
    NavDataCycle dataCycle;
};

} // namespace tavi
