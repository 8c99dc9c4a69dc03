#include "displays/Pfd.h"

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Autopilot.h"
#include "avionics/Baro.h"
#include "avionics/EicasDau.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "avionics/Gpws.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "core/ModuleGraphics.h"
#include "core/RequestVariable.h"
#include "core/StateBlob.h"
#include "displays/PfdPalette.h"
#include "fms/Fms.h"
#include "platform/gfx/Surface.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using platform::gfx::Canvas;

namespace {

constexpr float kPfdLoad = 10.0f;
constexpr float kMachShown = 0.45f;
constexpr float kMachHidden = 0.05f;
constexpr const char* kStateSection = "TAVI.PFD";

// '#' stands for the side's digit.
constexpr std::array<const char*, Pfd::kNamedVariableCount> kNamedVariables = {
    "Pfd#InHpaClick",      "Pfd#StdClick",         "Pfd#KnobDecClick", "Pfd#KnobIncClick",
    "TaviPfd#Brg1",        "TaviPfd#Brg1Dec",      "TaviPfd#Brg1Inc",  "TaviPfd#Brg2",
    "TaviPfd#Brg2Dec",     "TaviPfd#Brg2Inc",      "TaviDh#Dec",       "TaviDh#Inc",
    "TaviPfd#FullWxClick", "TaviPfd#GspdTtgClick", "VezoDid#UvuVorev", "RuriRaz#OroDezor"};

struct VsiPoint {
    float feetPerMinute;
    float deflection;
};
constexpr std::array<VsiPoint, 9> kVsiScale = {{{-4000, -60},
                                                {-3000, -50},
                                                {-2000, -34},
                                                {-1000, -18},
                                                {0, 0},
                                                {1000, 18},
                                                {2000, 35},
                                                {3000, 50},
                                                {4000, 60}}};

// Vertical speeds (fpm) bounding the red and the green band of each resolution advisory kind,
// and whether the green band waits until the advisory is no longer new.
struct RaBandRow {
    float redFrom, redTo, greenFrom, greenTo;
    bool greenAfterIssue;
};
constexpr std::array<RaBandRow, 15> kRaBands = {{{-6000, 1500, 1500, 2000, false},
                                                 {-6000, 1500, 1500, 4400, false},
                                                 {-6000, 2500, 2500, 3000, false},
                                                 {-6000, 0, 0, 250, true},
                                                 {-6000, -500, -500, 250, true},
                                                 {-6000, -1000, -1000, 250, true},
                                                 {-6000, -2000, -2000, 250, true},
                                                 {-1500, 6000, -2000, -1500, false},
                                                 {-1500, 6000, -4400, -1500, false},
                                                 {-2500, 6000, -3000, -2500, false},
                                                 {0, 6000, -250, 0, true},
                                                 {500, 6000, -250, 500, true},
                                                 {1000, 6000, -250, 1000, true},
                                                 {2000, 6000, -250, 2000, true},
                                                 {-6000, 6000, -250, 250, false}}};
constexpr int32_t kSelfTestRaKind = 3;
constexpr int32_t kPreventiveRaKind = 14;

float wrapped360(float degrees) {
    float angle = std::fmod(degrees, 360.0f);
    return angle < 0.0f ? angle + 360.0f : angle;
}

} // namespace

Pfd::Pfd(int side)
    : side(side), font16(privateFontCollection().face("Arial Narrow"), 16.0),
      font18(privateFontCollection().face("Arial Narrow"), 18.0),
      font20(privateFontCollection().face("Arial Narrow"), 20.0),
      font22(privateFontCollection().face("Arial Narrow"), 22.0),
      labelFont15(privateFontCollection().face("Arial Narrow"), 15.0) {
    namedVariableIds.fill(-1);
}

std::string Pfd::namedVariableName(int variable, int side) {
    if (variable < 0 || variable >= kNamedVariableCount) {
        return {};
    }
    std::string name = kNamedVariables[static_cast<std::size_t>(variable)];
    name[name.find('#')] = static_cast<char>('0' + side);
    return name;
}

void Pfd::update(Aircraft& aircraft) {
    cacheSystems(aircraft);
    if (!dataReady) {
        buildShapes();
    }
    if (adc) {
        if (adc->mach < kMachHidden) {
            machVisible = false;
        } else if (adc->mach >= kMachShown) {
            machVisible = true;
        }
    }
    updateBearingPointers();
    actOnNamedVariables();
    dataReady = true;
}

void Pfd::cacheSystems(Aircraft& aircraft) {
    ahrs = aircraft.ahrs();
    adc = aircraft.adc();
    radAlt = aircraft.radAlt();
    autopilot = aircraft.autopilot();
    flightDirector = aircraft.flightDirector();
    baro = aircraft.baro();
    radio = aircraft.radio();
    gpws = aircraft.gpws();
    tcas = aircraft.tcas();
    fms = aircraft.fms();
    gps = aircraft.gps();
    eicasDau = aircraft.eicasDau();
    electric = aircraft.electric();
    now = aircraft.timeMs();
    slewing = aircraft.slewActive;
}

void Pfd::updateBearingPointers() {
    auto point = [this](int32_t source, const RadioUnit* unit, float& angle, bool& valid) {
        switch (source) {
        case kBearingOff:
            valid = false;
            angle = 90.0f;
            break;
        case kBearingVor:
            if (unit) {
                valid = unit->navSignal != 0 && !unit->hasLocalizer && !unit->unpowered[2];
                angle = unit->stationBearing;
            }
            break;
        case kBearingAdf:
            if (unit) {
                valid = unit->adfSignal != 0 && !unit->unpowered[1];
                angle = unit->adfBearing;
            }
            break;
        case kBearingFms: {
            const LnavState* lnav = fms ? fms->lnavState() : nullptr;
            valid = lnav && lnav->valid;
            if (lnav && ahrs) {
                angle =
                    wrapped360(static_cast<float>(lnav->bearingToFix) - ahrs->unit1.token82Value);
            }
            break;
        }
        default:
            break;
        }
    };
    point(bearing1Source, radio ? &radio->unit1 : nullptr, bearing1Angle, bearing1Valid);
    point(bearing2Source, radio ? &radio->unit2 : nullptr, bearing2Angle, bearing2Valid);
}

void Pfd::actOnNamedVariables() {
    platform::PanelServices& panel = panelServices();
    if (!namedVariablesRegistered) {
        for (int variable = 0; variable < kNamedVariableCount; ++variable) {
            namedVariableIds[static_cast<std::size_t>(variable)] =
                panel.registerNamedVariable(namedVariableName(variable, side).c_str());
        }
        namedVariablesRegistered = true;
    }
    auto request = [this](NamedVariable variable) {
        return takeRequest(namedVariableIds[variable]);
    };
    auto publish = [this, &panel](NamedVariable variable, int32_t value) {
        if (namedVariableIds[variable] >= 0) {
            panel.writeNamedVariable(namedVariableIds[variable], value);
        }
    };
    if (request(kInHpaClick)) {
        baroInInches = !baroInInches;
    }
    if (request(kStdClick) && baro) {
        baro->setBaroSetting(Baro::kStandardSettingInHg);
    }
    if (request(kKnobDecClick) && baro) {
        baro->decBaroSetting();
    }
    if (request(kKnobIncClick) && baro) {
        baro->incBaroSetting();
    }
    if (request(kBrg1Dec)) {
        bearing1Source = std::max(bearing1Source - 1, 0);
    }
    if (request(kBrg1Inc)) {
        bearing1Source = std::min(bearing1Source + 1, 3);
    }
    publish(kBrg1, bearing1Source);
    if (request(kBrg2Dec)) {
        bearing2Source = std::max(bearing2Source - 1, 0);
    }
    if (request(kBrg2Inc)) {
        bearing2Source = std::min(bearing2Source + 1, 3);
    }
    publish(kBrg2, bearing2Source);
    if (request(kDhDec)) {
        stepDecisionHeight(false);
    }
    if (request(kDhInc)) {
        stepDecisionHeight(true);
    }
    if (request(kFullWxClick)) {
        hsiArcMode = !hsiArcMode;
    }
    if (request(kGspdTtgClick)) {
        showTimeToGo = !showTimeToGo;
    }
    if (request(kNavSourceRadio) && flightDirector) {
        flightDirector->selectNavigationSource(side, false);
    }
    if (request(kNavSourceFms) && flightDirector) {
        flightDirector->selectNavigationSource(side, true);
    }
}

void Pfd::stepDecisionHeight(bool up) const {
    if (!radAlt) {
        return;
    }
    const int32_t height = radAlt->decisionHeight;
    if (up) {
        radAlt->setDecisionHeight(height + (height < 200 ? 5 : 10));
    } else {
        radAlt->setDecisionHeight(height - (height <= 200 ? 5 : 10));
    }
}

void Pfd::loadSettings(Aircraft& aircraft) {
    PanelElement::loadSettings(aircraft);
    vBarOn = aircraft.readIniInt("Preferences", "vBarOn", 1) == 1;
    baroInInches = aircraft.readIniInt("Preferences", "pressUseHpa", 0) == 0;
    loadFrameRate(aircraft, "pfd");
}

void Pfd::addElectricLoad(Aircraft&, BusLoads& loads) {
    const bool master =
        electric && (side == 1 ? electric->avionicsMaster1 : electric->avionicsMaster2);
    if (master && !unpowered) {
        loads[side] += kPfdLoad;
    }
}

void Pfd::updatePower(Aircraft& aircraft) {
    const Electric* network = aircraft.electric();
    const bool master =
        network && (side == 1 ? network->avionicsMaster1 : network->avionicsMaster2);
    unpowered = !(master && network->isPowered(side));
}

void Pfd::saveState(const StateFile& file) {
    StateBlob<8> blob;
    blob.put<0>(bearing1Source);
    blob.put<4>(bearing2Source);
    blob.save(Fs9Reader(), file, kStateSection, format("data%d", side));
}

void Pfd::loadState(const StateFile& file) {
    StateBlob<8> blob;
    blob.put<0>(bearing1Source);
    blob.put<4>(bearing2Source);
    blob.load(Fs9Reader(), file, kStateSection, format("data%d", side));
    // A damaged state file must not leave a pointer on a source that no selector reaches.
    bearing1Source = std::clamp(blob.get<0, int32_t>(), 0, 3);
    bearing2Source = std::clamp(blob.get<4, int32_t>(), 0, 3);
}

void Pfd::markAltitudeSelectChange() {
    altitudeSelectChangeTime = now;
}

float Pfd::vsiDeflection(float feetPerMinute) {
    const float speed = std::clamp(feetPerMinute, -9900.0f, 9900.0f);
    if (!(speed > kVsiScale.front().feetPerMinute)) {
        return std::isnan(speed) ? 0.0f : kVsiScale.front().deflection;
    }
    if (speed >= kVsiScale.back().feetPerMinute) {
        return kVsiScale.back().deflection;
    }
    for (std::size_t i = 1; i < kVsiScale.size(); ++i) {
        if (kVsiScale[i].feetPerMinute >= speed) {
            const VsiPoint& low = kVsiScale[i - 1];
            const VsiPoint& high = kVsiScale[i];
            return low.deflection + (speed - low.feetPerMinute) /
                                        (high.feetPerMinute - low.feetPerMinute) *
                                        (high.deflection - low.deflection);
        }
    }
    return kVsiScale.back().deflection;
}

std::array<float, 4> Pfd::raBands(int32_t kind, bool selfTest, bool justIssued,
                                  int32_t sensitivityLevel) {
    std::array<float, 4> limits{};
    if (selfTest) {
        kind = kSelfTestRaKind;
    }
    if (kind < 0 || kind >= static_cast<int32_t>(kRaBands.size())) {
        return limits;
    }
    const RaBandRow& row = kRaBands[static_cast<std::size_t>(kind)];
    limits[0] = vsiDeflection(row.redFrom);
    limits[1] = vsiDeflection(row.redTo);
    bool green = !row.greenAfterIssue || !justIssued;
    if (kind == kSelfTestRaKind) {
        green = green && sensitivityLevel != 2;
    }
    if (green) {
        limits[2] = vsiDeflection(row.greenFrom);
        limits[3] = vsiDeflection(row.greenTo);
    }
    return limits;
}

void Pfd::computeRaBands(Canvas& canvas) {
    const int32_t kind = tcas->selfTest ? kSelfTestRaKind : tcas->raKind;
    raBandLimits = raBands(kind, tcas->selfTest, tcas->raAnnounced, tcas->sensitivityLevel);
    const auto& l = raBandLimits;
    drawLayer(canvas, layers.raBands, {static_cast<double>(kind), l[0], l[1], l[2], l[3]},
              [&](Canvas& bands) {
                  place(bands, kVsiCentre, 0.0);
                  const platform::gfx::RectF circle{-88, -88, 176, 176};
                  auto arc = [&](const platform::gfx::Pen& pen, float from, float to) {
                      bands.drawArc(pen, circle, from - 180.0f, to - from);
                  };
                  if (kind == kPreventiveRaKind) {
                      arc(pfd::kRed4, l[0], l[2]);
                      arc(pfd::kRed4, l[3], l[1]);
                      arc(pfd::kGreen4, l[2], l[3]);
                      return;
                  }
                  arc(pfd::kRed4, l[0], l[1]);
                  if (l[2] != 0.0f || l[3] != 0.0f) {
                      arc(pfd::kGreen4, l[2], l[3]);
                  }
              });
}

bool Pfd::systemsPresent() const {
    return ahrs && adc && radAlt && autopilot && flightDirector && baro && radio;
}

int Pfd::draw(platform::gfx::Surface& surface, int, int, bool blank) {
    if (!isFrameDue()) {
        return 0;
    }
    Canvas canvas(surface);
    // Without the air data, attitude, guidance and radios there is nothing true to show.
    if (!dataReady || unpowered || blank || !systemsPresent()) {
        canvas.clear(kOpaqueBlack);
        return canvas.status();
    }
    clearBackground(canvas, kWidth, kHeight);
    applyQuality(canvas);
    if (adc->failed[static_cast<std::size_t>(side - 1)]) {
        drawSelfTestPage(canvas);
        return canvas.status();
    }
    const Frame frame = frameValues();
    drawSpeedTape(canvas);
    drawAltitudeTape(canvas);
    drawReadouts(canvas, frame);
    drawAdi(canvas, frame);
    if (hsiArcMode) {
        drawHsiArc(canvas, frame);
    } else {
        drawHsiRose(canvas, frame);
    }
    drawVerticalSpeed(canvas, frame);
    drawFlightModeAnnunciator(canvas);
    canvas.resetTransform();
    canvas.resetClip();
    return canvas.status();
}

void Pfd::drawLayer(Canvas& canvas, PfdLayer& layer, std::array<double, 5> values,
                    const std::function<void(Canvas&)>& paint) {
    // Copying compositing replaces what lies under each shape, which a picture laid over the
    // screen cannot do: with it the layer is painted straight onto the screen.
    if (compositingMode == kCompositingSourceCopy) {
        canvas.save();
        canvas.resetClip();
        canvas.resetTransform();
        paint(canvas);
        canvas.restore();
        return;
    }
    const PfdLayer::Inputs inputs = {values[0],
                                     values[1],
                                     values[2],
                                     values[3],
                                     values[4],
                                     static_cast<double>(smoothingMode),
                                     static_cast<double>(textRenderingHint)};
    if (layer.stale(canvas.target(), inputs)) {
        {
            Canvas painter(layer.restart(canvas.target(), inputs));
            applyQuality(painter);
            paint(painter);
        }
        layer.finish();
    }
    layer.drawOn(canvas);
}

Pfd::Frame Pfd::frameValues() const {
    const std::size_t s = static_cast<std::size_t>(side - 1);
    Frame frame;
    const AhrsUnit& unit1 = ahrs->unit1;
    // An attitude or heading that is not a number shows as its unit's failure, never as a
    // picture drawn from it.
    frame.attitudeInvalid = (side == 1 ? unit1.attitudeSide1 : unit1.attitudeSide2).invalid ||
                            adc->selfTest[s] || !std::isfinite(unit1.pitch) ||
                            !std::isfinite(unit1.bank);
    frame.headingFailed = (side == 1 ? unit1.headingSide1 : unit1.headingSide2).invalid ||
                          !std::isfinite(unit1.heading);
    frame.heading = frame.headingFailed ? (side == 1 ? unit1.frozenHeading1 : unit1.frozenHeading2)
                                        : unit1.heading;
    if (!std::isfinite(frame.heading)) {
        frame.heading = 0.0f;
    }
    frame.fmsSource = flightDirector->isFmsSource(side);
    frame.nav = side == 1 ? &radio->unit1 : &radio->unit2;
    frame.lnav = fms ? fms->lnavState() : nullptr;
    frame.unit = side == 1 ? &ahrs->unit1 : &ahrs->unit2;
    frame.course = frame.fmsSource
                       ? (frame.lnav ? static_cast<float>(frame.lnav->desiredTrackMagnetic) : 0.0f)
                       : static_cast<float>(frame.nav->course);
    return frame;
}

void Pfd::drawSelfTestPage(Canvas& canvas) {
    static constexpr std::array<const char*, 9> kItems = {
        "FLIGHT DIRECTOR",    "SYMBOL GENERATOR",    "DISPLAY UNIT",
        "ATT/HDG INTERFACE",  "RADIO ALT INTERFACE", "RADIO INTERFACE",
        "DISPLAY CONTROLLER", "LAMP DRIVERS",        "ADC DATA"};
    const uint32_t elapsed = now - adc->powerOnTime[static_cast<std::size_t>(side - 1)];
    text(canvas, "IC-600 IBIT", font20, pfd::kGreen, {50, 120});
    if (elapsed < 30000) {
        text(canvas, "WAIT", font20, pfd::kAmber, {290, 120});
    }
    for (std::size_t i = 0; i < kItems.size(); ++i) {
        const double y = 160.0 + 22.0 * static_cast<double>(i);
        text(canvas, kItems[i], font20, pfd::kWhite, {50, y});
        const bool passed = elapsed >= 6000 + 3000 * i;
        text(canvas, passed ? "PASS" : "FAIL", font20, passed ? pfd::kGreen : pfd::kRed, {290, y});
    }
    canvas.drawRectangle(pfd::kWhite15, {44, 116, 302, 250});
}

void Pfd::text(Canvas& canvas, const std::string& value, const platform::gfx::Font& font,
               platform::gfx::Argb colour, PointF at) const {
    canvas.drawString(value, font, colour, at);
}

void Pfd::textRight(Canvas& canvas, const std::string& value, const platform::gfx::Font& font,
                    platform::gfx::Argb colour, PointF at) const {
    const double width = canvas.measureString(value, font).width;
    canvas.drawString(value, font, colour, {at.x - width, at.y});
}

void Pfd::textCentred(Canvas& canvas, const std::string& value, const platform::gfx::Font& font,
                      platform::gfx::Argb colour, double y) const {
    const double width = canvas.measureString(value, font).width;
    canvas.drawString(value, font, colour, {-width / 2.0, y});
}

void Pfd::place(Canvas& canvas, PointF centre, double degrees) const {
    canvas.resetTransform();
    canvas.translate(centre.x, centre.y);
    canvas.rotate(degrees);
}

bool Pfd::tenSecondFlagVisible(uint32_t since) const {
    const uint32_t elapsed = now - since;
    return elapsed > 10000 || elapsed % 1000 < 500;
}

std::string Pfd::machText(float mach) {
    if (mach < 1.0f) {
        return format("%4.3f", static_cast<double>(mach)).substr(1);
    }
    return format("%4.2f", static_cast<double>(mach));
}

std::string Pfd::distanceText(double nauticalMiles) {
    return nauticalMiles < 99.95 ? format("%-3.1f", nauticalMiles)
                                 : format("%-3.0f", nauticalMiles);
}

std::string Pfd::headingReadoutText(float heading) {
    if (heading >= 359.5f || heading < 0.5f) {
        return "360";
    }
    return format("%03.0f", static_cast<double>(heading));
}

std::string Pfd::verticalSpeedReadout(int32_t feetPerMinute) {
    const int32_t limited = std::clamp(feetPerMinute, -9900, 9900);
    const int32_t magnitude = (std::abs(limited) + 50) / 100 * 100;
    return format("%d", limited < 0 ? -magnitude : magnitude);
}

std::string Pfd::fmsTimeToGoText(double seconds) {
    const int32_t total = static_cast<int32_t>(seconds);
    int32_t hours = total / 3600;
    int32_t minutes = total % 3600 / 60;
    if (total % 60 >= 30) {
        ++minutes;
    }
    if (minutes == 60) {
        minutes = 0;
        ++hours;
    }
    return format("%02d:%02d", hours, minutes);
}

std::string Pfd::navTimeToGoText(float distance, float speed) {
    const int32_t total = static_cast<int32_t>(distance / std::fabs(speed) * 3600.0f);
    return format("%02d:%02d", total / 60, total % 60);
}

} // namespace tavi
