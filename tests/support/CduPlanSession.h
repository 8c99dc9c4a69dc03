#pragma once

#include "core/Aircraft.h"
#include "displays/PanelElement.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "support/CduKeys.h"
#include "support/CduPadKeys.h"
#include "support/ModuleHarness.h"
#include "support/NavFixtureFiles.h"
#include "support/PredictionRoute.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {

// The module on the stand-in at ZZAA of the test region, on the ground, the CDU powered and the
// present position known, with an empty custom folder for stored plans and pilot waypoints.
class CduPlanSession : public testing::Test, protected CduKeys {
protected:
    static constexpr int kOnGroundToken = 60;

    // The SQL runs on the test region's database after its records.
    explicit CduPlanSession(const std::string& navSql = "") {
        platform::db::createDatabase(module.folder.path() / "Orvane/Nd/nd.sqlite",
                                     navSchema() + navRegion() + navSql);
        std::filesystem::create_directories(customFolder());
        module.writeIni("[Startup]\nstartupMode=2\n");
        module.simulator.panel.setToken(kOnGroundToken, 1.0);
        module.startModule();
        module.simulator.placeOnGround(47.0, 8.0, 90.0);
        module.simulator.step();
        fms().position.initialised = true;
        fms().messages.clear();
    }
    ~CduPlanSession() override { resetGlobalFlightPlans(); }

    // The module stopped and started again on the ground at ZZAA: what it kept is what its files
    // hold.
    void restartModule() {
        module.deinit();
        resetGlobalFlightPlans();
        module.startModule();
        module.simulator.placeOnGround(47.0, 8.0, 90.0);
        module.simulator.step();
        fms().position.initialised = true;
        fms().messages.clear();
    }

    Fms& fms() { return *module.aircraft().fms(); }
    std::filesystem::path customFolder() const {
        return module.folder.path() / "Orvane" / "CustomDB";
    }

    // The row's characters, "-" for U+2013 and "?" for other symbols, trailing blanks cut.
    std::string row(int32_t index) {
        fms().drawPage();
        std::string text;
        for (const char32_t c : fms().screen.rowText(index)) {
            text += c == U'\u2013' ? '-' : c < 0x80 ? static_cast<char>(c) : '?';
        }
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }
    const CduCell& cell(int32_t r, int32_t column) {
        fms().drawPage();
        return fms().screen.cell(r, column);
    }
    void type(const std::string& text) {
        for (const char c : text) {
            fms().typeCharacter(c);
        }
    }
    // Types the entry into an empty pad and presses the key.
    void enter(const std::string& text, int32_t key) {
        fms().messages.clear();
        fms().setScratchpad("");
        type(text);
        fms().pressKey(key);
    }
    std::string message() const {
        const Fms& f = *theAircraft->fms();
        return f.messages.empty() ? std::string() : f.messages.front().text;
    }
    static std::vector<std::string> legIdents(const FlightPlan& plan) {
        std::vector<std::string> idents;
        for (const FlightPlanLeg& leg : plan.legs) {
            idents.push_back(leg.isDiscontinuity() ? "(DISC)" : leg.wpt.ident);
        }
        return idents;
    }
    // The CDU screen to Cdu-<name>.png; kept in the folder TAVI_SCREENS names, when set.
    void screenshot(const std::string& name) {
        module.simulator.step();
        TempFolder folder;
        ASSERT_FALSE(
            writeScreenState(module.aircraft(), kCduDisplay, folder.path(), name, 2).empty());
    }

    // The pilot at the CDU through the stand-in: the CDU pop-up open, its keyboard switched on,
    // and every letter, digit and line key a key event of the simulator's keyboard.
    static constexpr uint32_t kDeleteKey = 46;
    static constexpr uint32_t kBackspaceKey = 8;

    void useKeyboard() {
        module.simulator.panel.setPanelWindowOpen(kCduPopupWindow, true);
        fms().keyboardInput = true;
    }
    void press(uint32_t virtualKey) {
        module.simulator.host.key(virtualKey, true);
        module.simulator.host.key(virtualKey, false);
    }
    // The text typed key by key, then the line key (0..7 for L1..R4).
    void typeThenPress(const std::string& text, int32_t lineKey) {
        for (const char c : text) {
            press(virtualKeyOf(c));
        }
        press(kF1Key + static_cast<uint32_t>(lineKey));
        module.simulator.step();
    }
    void deleteWith(int32_t lineKey) {
        press(kDeleteKey);
        press(kF1Key + static_cast<uint32_t>(lineKey));
        module.simulator.step();
    }

    // A CDU page key, clicked on the CDU's key pad.
    void pageKey(int32_t key) {
        EXPECT_TRUE(clickCduPageKey(key)) << key;
        module.simulator.step();
    }
    // The weights and the cruise altitude of PERFORMANCE INIT, all entered.
    void enterPerformance() { ASSERT_EQ(enterLoadedAircraft(fms().perfInit, 24000), nullptr); }
    // The route ZZAA, P, Q, R, S, ZZAD typed on ACTIVE FLT PLAN: the airway A1 to S, and the
    // discontinuity before the destination deleted.
    void typeRoute() {
        pageKey(Fms::kFplKey);
        typeThenPress("ZZAA", kL1);
        typeThenPress("ZZAD", kR2);
        typeThenPress("P", kL2);
        typeThenPress("ZZAD", kL3);
        typeThenPress("A1.S", kL3);
        press(kPageDownKey);
        deleteWith(kL3);
        press(kPageUpKey);
    }

    ModuleHarness module;
};

} // namespace tavi::test
