#pragma once

#include "support/CduPlanSession.h"

#include <cstdint>
#include <string>

namespace tavi::test {

// A pilot at the CDU through the stand-in for the procedure and pattern pages, with the CDU
// pop-up's keyboard on from the start.
class ProcedureSession : public CduPlanSession {
protected:
    explicit ProcedureSession(const std::string& navSql = "") : CduPlanSession(navSql) {
        useKeyboard();
    }

    // A line key, 0..7 for L1..R4.
    void lineKey(int32_t line) {
        press(kF1Key + static_cast<uint32_t>(line));
        module.simulator.step();
    }
    void nextPage() {
        press(kPageDownKey);
        module.simulator.step();
    }
    void previousPage() {
        press(kPageUpKey);
        module.simulator.step();
    }
    // The route's ends on ACTIVE FLT PLAN, typed.
    void enterRouteEnds(const std::string& origin, const std::string& destination) {
        pageKey(Fms::kFplKey);
        typeThenPress(origin, kL1);
        typeThenPress(destination, kR2);
    }
    // The NAV INDEX prompt of sub-page 1 or 2.
    void openFromNavIndex(int32_t subPage, int32_t line) {
        pageKey(Fms::kNavKey);
        if (subPage == 2) {
            nextPage();
        }
        lineKey(line);
    }
    // The rows of the screen, as row() gives them.
    std::vector<std::string> rows(int32_t first, int32_t last) {
        std::vector<std::string> texts;
        for (int32_t r = first; r <= last; ++r) {
            texts.push_back(row(r));
        }
        return texts;
    }
};

} // namespace tavi::test
