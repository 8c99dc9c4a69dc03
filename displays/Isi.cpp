#include "displays/Isi.h"

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "core/ModuleGraphics.h"
#include "core/RequestVariable.h"
#include "platform/panel/PanelServices.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr int kIsiBus = 2;
constexpr float kIsiLoad = 5.0f;
// The turn coordinator's ball, which the skid indicator shows.
constexpr int kSkidToken = 69;
constexpr int kBrightnessStep = 5;

} // namespace

Isi::Isi()
    : font16(privateFontCollection().face("Arial Narrow"), 16.0),
      font18(privateFontCollection().face("Arial Narrow"), 18.0) {
    buildLadder();
}

void Isi::buildLadder() {
    const float s = pitchScale;
    const auto fineMarks = [this, s](float y, float side) {
        ladderLines.push_back({{-7, y + side * s / 2}, {7, y + side * s / 2}});
        ladderLines.push_back({{-4, y + side * s / 4}, {4, y + side * s / 4}});
        ladderLines.push_back({{-4, y + side * 3 * s / 4}, {4, y + side * 3 * s / 4}});
    };
    for (int n = -8; n <= 8; ++n) {
        const float y = static_cast<float>(n) * s;
        if (n == 0) {
            fineMarks(0, 1);
            fineMarks(0, -1);
            continue;
        }
        if (std::abs(n) == 6 || std::abs(n) == 7) {
            continue;
        }
        ladderLines.push_back({{-14, y}, {14, y}});
        const std::string number = format("%d0", std::abs(n));
        ladderNumbers.push_back({number, {16, y + 1}});
        ladderNumbers.push_back({number, {-36, y + 1}});
        if (std::abs(n) <= 2) {
            fineMarks(y, n > 0 ? 1.0f : -1.0f);
        }
    }
}

void Isi::update(Aircraft& aircraftNow) {
    aircraft = &aircraftNow;
    ahrs = aircraftNow.ahrs();
    adc = aircraftNow.adc();
    baro = aircraftNow.baro();
    skidValue = static_cast<float>(aircraftNow.tokens.value(kSkidToken));
    const uint32_t now = aircraftNow.simTimeMs;
    if (adc) {
        if (adc->mach < 0.40f) {
            machShown = false;
        } else if (adc->mach >= 0.45f) {
            machShown = true;
        }
    }
    if (cageHeld && now - cagePressTime >= kCageHoldMs && !fastAligning) {
        fastAligning = true;
        fastAlignStartTime = now;
    }
    if (aligning && now - alignStartTime >= kAlignMs) {
        aligning = false;
    }
    if (fastAligning && now - fastAlignStartTime >= kFastAlignMs) {
        fastAligning = false;
    }
    dataReady = true;
    if (!variablesRegistered) {
        platform::PanelServices& panel = panelServices();
        for (std::size_t i = 0; i < kVariableNames.size(); ++i) {
            variableIds[i] = panel.registerNamedVariable(kVariableNames[i]);
        }
        variablesRegistered = true;
    }
    pollVariables();
    if (!started && now != 0) {
        started = true;
    }
}

void Isi::pollVariables() {
    if (takeRequest(variableIds[0])) {
        setBrightness(brightness + kBrightnessStep);
    }
    if (takeRequest(variableIds[1])) {
        setBrightness(brightness - kBrightnessStep);
    }
    const bool standard = takeRequest(variableIds[2]);
    const bool down = takeRequest(variableIds[3]);
    const bool up = takeRequest(variableIds[4]);
    if (!baro) {
        return;
    }
    if (standard) {
        baro->setStandbyBaroSetting(Baro::kStandardSettingInHg);
    }
    if (down) {
        baro->decStandbyBaroSetting();
    }
    if (up) {
        baro->incStandbyBaroSetting();
    }
}

void Isi::loadSettings(Aircraft& aircraftNow) {
    PanelElement::loadSettings(aircraftNow);
    baroInInches = aircraftNow.readIniInt("Preferences", "pressUseHpa", 0) == 0;
    loadFrameRate(aircraftNow, "isi");
}

void Isi::addElectricLoad(Aircraft& aircraftNow, BusLoads& loads) {
    const Electric* network = aircraftNow.electric();
    if (network && network->avionicsMaster2 && !unpowered) {
        loads[kIsiBus] += kIsiLoad;
    }
}

void Isi::updatePower(Aircraft& aircraftNow) {
    const Electric* network = aircraftNow.electric();
    const bool powered = network && network->isPowered(kIsiBus) && network->avionicsMaster2;
    if (started && powered && unpowered && !aligning) {
        aligning = true;
        alignStartTime = aircraftNow.simTimeMs;
    }
    unpowered = !powered;
}

void Isi::setCageButton(bool pressed) {
    if (!cageHeld && pressed) {
        cageHeld = true;
        cagePressTime = aircraft ? aircraft->simTimeMs : 0;
    } else if (cageHeld && !pressed) {
        cageHeld = false;
    }
}

std::string Isi::alignmentText() const {
    if (aligning) {
        return "INIT 90s";
    }
    return fastAligning ? "INIT 10s" : "";
}

int Isi::draw(platform::gfx::Surface& surface, int, int, bool blank) {
    if (!isFrameDue()) {
        return 0;
    }
    platform::gfx::Canvas canvas(surface);
    if (!dataReady || unpowered || blank || !ahrs || !adc || !baro) {
        canvas.clear(kOpaqueBlack);
        return canvas.status();
    }
    applyQuality(canvas);
    clearBackground(canvas, kSize, kSize);
    drawAttitude(canvas);
    drawBaroSetting(canvas);
    drawAirspeed(canvas);
    drawAltitude(canvas);
    drawHeading(canvas);
    canvas.resetTransform();
    canvas.resetClip();
    if (brightness < kNeutralBrightness && compositingMode == kCompositingSourceOver) {
        drawDimOverlay(canvas, kSize, kSize);
    }
    return canvas.status();
}

} // namespace tavi
