#pragma once

#include "support/CduPlanSession.h"

#include <cstdint>
#include <string>

namespace tavi::test {

// A pilot at the CDU through the stand-in for the procedure and pattern pages: the CDU pop-up
// open and its keyboard on, letters, digits, line keys, PREV, NEXT and DEL as key events of the
// simulator's keyboard. NAV and FPL have no PC key; they go to the FMS as the CDU's key pad
// sends them.
class ProcedureSession : public CduPlanSession {
protected:
    static constexpr uint32_t kDeleteKey = 46;
    static constexpr uint32_t kBackspaceKey = 8;

    explicit ProcedureSession(const std::string& navSql = "") : CduPlanSession(navSql) {
        module.simulator.panel.setPanelWindowOpen(kCduPopupWindow, true);
        fms().keyboardInput = true;
    }

    void press(uint32_t virtualKey) {
        module.simulator.host.key(virtualKey, true);
        module.simulator.host.key(virtualKey, false);
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
    // The text typed key by key into the pad, then the line key.
    void typeThenPress(const std::string& text, int32_t line) {
        for (const char c : text) {
            press(c == '/' ? 191u : c == '.' ? 190u : static_cast<uint32_t>(c));
        }
        lineKey(line);
    }
    void deleteWith(int32_t line) {
        press(kDeleteKey);
        lineKey(line);
    }
    void pressCduKey(int32_t key) {
        fms().pressKey(key);
        module.simulator.step();
    }
    // The route's ends on ACTIVE FLT PLAN, typed.
    void enterRouteEnds(const std::string& origin, const std::string& destination) {
        pressCduKey(Fms::kFplKey);
        typeThenPress(origin, kL1);
        typeThenPress(destination, kR2);
    }
    // The NAV INDEX prompt of sub-page 1 or 2.
    void openFromNavIndex(int32_t subPage, int32_t line) {
        pressCduKey(Fms::kNavKey);
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
