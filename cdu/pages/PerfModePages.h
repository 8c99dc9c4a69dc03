#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace tavi {

class Fms;

// CLIMB MODES, CRUISE MODES and DESCENT MODES: the manual schedule of a phase and the schedules
// to choose from, the one in force large and marked (ACT). Every selection and every entry
// taken returns to PERFORMANCE INIT's schedules.
class PerfModePages {
public:
    explicit PerfModePages(Fms& fms) : fms(fms) {}

    void registerPages();

    void drawClimbModes() const;
    void drawCruiseModes() const;
    void drawDescentModes() const;
    void onClimbModesKey(int32_t key);
    void onCruiseModesKey(int32_t key);
    void onDescentModesKey(int32_t key);

private:
    void drawFrame(const char* title) const;
    void drawActive(int32_t row, int32_t column) const;
    // A line key: an empty pad selects, "*DELETE*" restores (where the line has a default),
    // a text is parsed; then the predictions follow and the page returns. A refused text posts
    // its message and the page stays.
    void onLine(const std::function<void()>& select, const std::function<void()>& restore,
                const std::function<bool(std::string_view)>& accept);
    void selectAndReturn(const std::function<void()>& select);
    void returnToInit();

    Fms& fms;
};

} // namespace tavi
