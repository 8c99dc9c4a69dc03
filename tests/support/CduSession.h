#pragma once

#include "core/Aircraft.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "sim/Panel.h"
#include "support/ModuleHarness.h"
#include "support/NavFixtureFiles.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavi::test {

// The module on the stand-in, on the ground at the test region's airport ZZAA with the CDU
// powered, on a date inside the test database's cycle (25JAN24-21FEB24). The test is the pilot
// at the CDU: it types, presses keys and reads the screen the page engine drew.
class CduSession {
public:
    static constexpr int kOnGroundToken = 60;
    static constexpr double kZzaaLatitude = 47.0;
    static constexpr double kZzaaLongitude = 8.0;

    // The SQL runs on the test region's database after its records.
    explicit CduSession(const std::string& navSql = "",
                        const std::string& ini = "[Startup]\nstartupMode=2\n") {
        platform::db::createDatabase(module.folder.path() / "Orvane/Nd/nd.sqlite",
                                     navSchema() + navRegion() + navSql);
        std::filesystem::create_directories(module.folder.path() / "Orvane/CustomDB");
        module.writeIni(ini);
        setDate(2024, 2, 1);
        setZuluSeconds(13 * 3600 + 43 * 60);
        module.simulator.panel.setToken(kOnGroundToken, 1.0);
        placeAircraft(kZzaaLatitude, kZzaaLongitude);
        module.startModule();
        frame();
        fms().messages.clear();
    }
    ~CduSession() { resetGlobalFlightPlans(); }
    CduSession(const CduSession&) = delete;
    CduSession& operator=(const CduSession&) = delete;

    Fms& fms() { return *module.aircraft().fms(); }
    sim::Panel& panel() { return module.simulator.panel; }
    void frame() { module.simulator.step(); }

    void setDate(int year, int month, int day) {
        setCalculator("(P:ZULU YEAR, number)", year);
        setCalculator("(P:ZULU MONTH OF YEAR, number)", month);
        setCalculator("(P:ZULU DAY OF MONTH, number)", day);
    }
    void setZuluSeconds(double seconds) { setCalculator("(P:ZULU TIME, seconds)", seconds); }
    // The simulator's aircraft position; the next frame brings it to the GPS.
    void placeAircraft(double latitude, double longitude) {
        panel().setToken(71, latitude / 360.0 * 40007000.0);
        panel().setToken(72, longitude / 360.0 * 281474976710656.0);
    }
    void setOnGround(bool onGround) { panel().setToken(kOnGroundToken, onGround ? 1.0 : 0.0); }

    // Types the text into the scratch pad, key by key.
    void type(std::string_view text) {
        for (const char c : text) {
            fms().typeCharacter(c);
        }
    }
    // Types the entry and presses the key, then the screen is drawn.
    void enter(std::string_view text, int32_t key) {
        type(text);
        press(key);
    }
    void press(int32_t key) {
        fms().pressKey(key);
        fms().drawPage();
    }
    void show(int32_t page, int32_t subPage = 1) {
        fms().setPage(page, subPage);
        fms().drawPage();
    }

    // A row as UTF-8, without its trailing blanks.
    std::string row(int32_t index) {
        std::string text;
        for (int32_t column = 0; column < CduScreen::kColumns; ++column) {
            appendUtf8(text, fms().screen.cell(index, column).character);
        }
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }
    // The characters of a row from the column on, as many as the text is long.
    std::string at(int32_t index, int32_t column, size_t length) {
        std::string text;
        for (int32_t c = column; c < column + static_cast<int32_t>(length); ++c) {
            appendUtf8(text, fms().screen.cell(index, c).character);
        }
        return text;
    }
    const CduCell& cell(int32_t index, int32_t column) { return fms().screen.cell(index, column); }
    std::string scratchpad() { return fms().scratchPad.text(); }
    // The message the scratch-pad row shows, empty without one.
    std::string message() {
        return fms().hasMessage() ? fms().messages.messages().front().text : std::string();
    }

    ModuleHarness module;

private:
    void setCalculator(const char* code, double value) {
        sim::CalculatorResult result;
        result.number = value;
        panel().setCalculatorResult(code, result);
    }
    static void appendUtf8(std::string& text, char32_t c) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
};

} // namespace tavi::test
