#include "cdu/pages/AirDataPage.h"

#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "core/Aircraft.h"
#include "fms/Fms.h"

#include <cmath>

namespace tavi {

using namespace navpages;
using namespace pagetext;

namespace {

// Below this vertical speed (ft/min) no arrow is drawn.
constexpr double kVerticalSpeedArrowFrom = 0.5;

void value(CduScreen& screen, int32_t row, int32_t lastColumn, const std::string& text) {
    valueEndingAt(screen, row, lastColumn, text, CduColour::Cyan);
}

} // namespace

void AirDataPage::registerPages() {
    bindPage(fms.pages[cdu_page::kAirData], *this);
}

void AirDataPage::draw() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("AIR DATA 1");
    screen.drawPageNumber(1, 1);
    label(screen, 1, 2, "CAS");
    label(screen, 1, 11, "TAS");
    labelEndingAt(screen, 1, 22, "MACH");
    label(screen, 3, 1, "PRESS<\u2013ALT\u2013>BARO");
    labelEndingAt(screen, 3, 21, "VS");
    label(screen, 5, 2, "SAT");
    label(screen, 5, 9, "ISA DEV");
    labelEndingAt(screen, 5, 21, "TAT");
    screen.drawRightPrompt("PROGRESS 3", false, 7);
    const Aircraft* aircraft = fms.owner();
    const Adc* adc = aircraft ? aircraft->adc() : nullptr;
    const Ahrs* ahrs = aircraft ? aircraft->ahrs() : nullptr;
    if (!adc || !ahrs) {
        return;
    }
    value(screen, 2, 4, FmsParser::formatInteger(static_cast<int32_t>(adc->indicatedAirspeed)));
    value(screen, 2, 13, FmsParser::formatInteger(static_cast<int32_t>(adc->trueAirspeed)));
    value(screen, 2, 21, FmsParser::formatMach(adc->mach));
    screen.putTextRight(2, 23, "M", CduColour::Cyan, false, false);
    screen.putText(4, 1, FmsParser::formatNoDecimals(adc->pressureAltitude), CduColour::Cyan, true,
                   false);
    value(screen, 4, 16, FmsParser::formatNoDecimals(adc->indicatedAltitude));
    const double verticalSpeed = ahrs->unit1.verticalSpeed;
    value(screen, 4, 21, FmsParser::formatNoDecimals(std::fabs(verticalSpeed)));
    if (std::fabs(verticalSpeed) >= kVerticalSpeedArrowFrom) {
        value(screen, 4, 22, verticalSpeed < 0.0 ? "\u2193" : "\u2191");
    }
    screen.putText(6, 1, FmsParser::formatTemperature(adc->staticAirTemperature), CduColour::Cyan,
                   true, false);
    value(screen, 6, 13,
          FmsParser::formatTemperature(adc->staticAirTemperature - adc->isaTemperature));
    value(screen, 6, 22, FmsParser::formatTemperature(adc->totalAirTemperature));
}

void AirDataPage::onKey(int32_t key) {
    if (key == kR4) {
        fms.setPage(kProgress, 3);
    }
}

} // namespace tavi
