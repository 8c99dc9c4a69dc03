#include "core/Aircraft.h"

#include "airframe/Electric.h"
#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/Hydraulic.h"
#include "airframe/JetEngine.h"
#include "airframe/Lights.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "airframe/Pressure.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Autopilot.h"
#include "avionics/Aws.h"
#include "avionics/Baro.h"
#include "avionics/Clock.h"
#include "avionics/EicasDau.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "avionics/Gpws.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "core/ModuleGraphics.h"
#include "core/sound/SoundManager.h"
#include "displays/CduDisplay.h"
#include "displays/ClockDspy.h"
#include "displays/Eicas.h"
#include "displays/Isi.h"
#include "displays/Mfd.h"
#include "displays/PanelElement.h"
#include "displays/Pfd.h"
#include "displays/Rmu.h"
#include "fms/Fms.h"
#include "platform/files/Files.h"
#include "platform/profile/Profile.h"

#include <filesystem>
#include <vector>

namespace tavi {

Aircraft* theAircraft = nullptr;

namespace {

constexpr uint32_t kTimerPeriodMs = 50;

enum SystemSlot : int {
    kEngine1Slot = 1,
    kEngine2Slot = 2,
    kHydraulic1Slot = 5,
    kHydraulic2Slot = 6,
    kElectricSlot = 9,
    kEicasDauSlot = 10,
    kBaroSlot = 11,
    kAhrsSlot = 12,
    kAdcSlot = 13,
    kGpsSlot = 14,
    kRadAltSlot = 15,
    kGpwsSlot = 16,
    kFadecSlot = 17,
    kMechanisationSlot = 18,
    kFuelSystemSlot = 19,
    kPressureSlot = 20,
    kRadioSlot = 21,
    kFmsSlot = Aircraft::kFmsSlot,
    kAutopilotSlot = 23,
    kFlightDirectorSlot = 24,
    kPneumaticSlot = 25,
    kTcasSlot = 26,
    kAwsSlot = 27,
    kLightsSlot = 28,
    kClockSlot = 29,
};

template <typename Class>
Class* slotAs(const Aircraft& aircraft, int slot) {
    return dynamic_cast<Class*>(aircraft.system(slot));
}

} // namespace

Aircraft::Aircraft() : slewVar("IS SLEW ACTIVE", "BOOL", 0) {
    platform::HostServices& host = hostServices();
    simWindow = host.findWindowByClass("FS98MAIN");
    simThreadId = host.windowThread(simWindow);
    timerId = host.setTimer(kTimerPeriodMs, timerProc);
    buildPaths();
    truncateLog();
    openSimConnect();
}

Aircraft::~Aircraft() {
    panelServices().panelShutdown();
    simConnectServices().close(simConnect);
    hostServices().killTimer(timerId);
    inFrame = false;
    if (!initialised) {
        return;
    }
    hostServices().removeKeyboardHook(keyboardHook);
    keyboardHook = 0;
    panelServices().unregisterKeyEventHandler(keyEventHandler, this);
    for (PanelElement*& screen : displays) {
        delete screen;
        screen = nullptr;
    }
    for (System*& system : systems) {
        delete system;
        system = nullptr;
    }
    soundManager.reset();
    stopGraphics(readIniBool("GDI+", "unload", true));
}

PanelElement* Aircraft::display(int slot) const {
    if (slot < 0 || slot >= kDisplaySlots) {
        return nullptr;
    }
    return displays[static_cast<std::size_t>(slot)];
}

// The flight's whole state is gathered in memory and replaces the file in one write, so a kill
// or a full disk leaves the flight as it was saved before, never a mix of two saves.
void Aircraft::saveFlightState(const std::string& flightPath) const {
    const std::filesystem::path path(flightPath);
    platform::files::removeLeftoverTemporaries(path.parent_path());
    platform::profile::LoadedDocument loaded = platform::profile::loadDocument(path);
    if (!loaded.problem.empty()) {
        log(format("Flight state not saved: %s is %s", flightPath.c_str(), loaded.problem.c_str()));
        return;
    }
    std::vector<platform::profile::Entry> fields;
    const StateFile file{0, flightPath, nullptr, &fields};
    forEachStateHolder([&](auto& holder) { holder.saveState(file); });
    loaded.document.setAll(fields);
    if (!platform::profile::saveDocument(path, loaded.document)) {
        log(format("Flight state not saved: %s could not be written", flightPath.c_str()));
    }
}

// The flight file is read once for every system and screen.
void Aircraft::loadFlightState(const std::string& flightPath) const {
    const std::filesystem::path path(flightPath);
    platform::files::removeLeftoverTemporaries(path.parent_path());
    platform::profile::LoadedDocument loaded = platform::profile::loadDocument(path);
    if (!loaded.problem.empty()) {
        log(format("Flight state not loaded: %s is %s", flightPath.c_str(),
                   loaded.problem.c_str()));
        return;
    }
    const StateFile file{0, flightPath, &loaded.document};
    forEachStateHolder([&](auto& holder) { holder.loadState(file); });
}

template <class Visit>
void Aircraft::forEachStateHolder(Visit visit) const {
    for (System* system : systems) {
        if (system) {
            visit(*system);
        }
    }
    for (PanelElement* screen : displays) {
        if (screen) {
            visit(*screen);
        }
    }
}

System* Aircraft::system(int slot) const {
    if (slot < 0 || slot >= kSystemSlots) {
        return nullptr;
    }
    return systems[static_cast<std::size_t>(slot)];
}

void Aircraft::createEnginesAndHydraulics() {
    systems[kEngine1Slot] = new (std::nothrow) JetEngine(1);
    systems[kEngine2Slot] = new (std::nothrow) JetEngine(2);
    systems[kHydraulic1Slot] = new (std::nothrow) Hydraulic(1);
    systems[kHydraulic2Slot] = new (std::nothrow) Hydraulic(2);
}

System* Aircraft::createSystem(int id) {
    switch (id) {
    case kElectricSlot:
        return new (std::nothrow) Electric();
    case kEicasDauSlot:
        return new (std::nothrow) EicasDau();
    case kBaroSlot:
        return new (std::nothrow) Baro();
    case kAhrsSlot:
        return new (std::nothrow) Ahrs();
    case kAdcSlot:
        return new (std::nothrow) Adc();
    case kGpsSlot:
        return new (std::nothrow) Gps();
    case kRadAltSlot:
        return new (std::nothrow) RadAlt();
    case kGpwsSlot:
        return new (std::nothrow) Gpws();
    case kFadecSlot:
        return new (std::nothrow) Fadec();
    case kMechanisationSlot:
        return new (std::nothrow) Mechanisation();
    case kFuelSystemSlot:
        return new (std::nothrow) FuelSystem();
    case kPressureSlot:
        return new (std::nothrow) Pressure();
    case kFmsSlot:
        return new (std::nothrow) Fms();
    case kRadioSlot:
        return new (std::nothrow) Radio();
    case kAutopilotSlot:
        return new (std::nothrow) Autopilot();
    case kFlightDirectorSlot:
        return new (std::nothrow) FlightDirector();
    case kPneumaticSlot:
        return new (std::nothrow) Pneumatic();
    case kTcasSlot:
        return new (std::nothrow) Tcas();
    case kAwsSlot:
        return new (std::nothrow) Aws();
    case kLightsSlot:
        return new (std::nothrow) Lights();
    case kClockSlot:
        return new (std::nothrow) Clock();
    default:
        return nullptr;
    }
}

PanelElement* Aircraft::createDisplay(int id) {
    switch (id) {
    case kPfdLeft:
        return new (std::nothrow) Pfd(1);
    case kPfdRight:
        return new (std::nothrow) Pfd(2);
    case kMfdLeft:
        return new (std::nothrow) Mfd(1);
    case kMfdRight:
        return new (std::nothrow) Mfd(2);
    case kEicasDisplay:
        return new (std::nothrow) Eicas();
    case kStandbyInstrument:
        return new (std::nothrow) Isi();
    case kCduDisplay:
        return new (std::nothrow) CduDisplay();
    case kRmuLeft:
        return new (std::nothrow) Rmu(1);
    case kRmuRight:
        return new (std::nothrow) Rmu(2);
    case kClockLeft:
        return new (std::nothrow) ClockDspy(1);
    case kClockRight:
        return new (std::nothrow) ClockDspy(2);
    default:
        return nullptr;
    }
}

JetEngine* Aircraft::engine1() const {
    return slotAs<JetEngine>(*this, kEngine1Slot);
}

JetEngine* Aircraft::engine2() const {
    return slotAs<JetEngine>(*this, kEngine2Slot);
}

Hydraulic* Aircraft::hydraulic1() const {
    return slotAs<Hydraulic>(*this, kHydraulic1Slot);
}

Hydraulic* Aircraft::hydraulic2() const {
    return slotAs<Hydraulic>(*this, kHydraulic2Slot);
}

Electric* Aircraft::electric() const {
    return slotAs<Electric>(*this, kElectricSlot);
}

EicasDau* Aircraft::eicasDau() const {
    return slotAs<EicasDau>(*this, kEicasDauSlot);
}

Baro* Aircraft::baro() const {
    return slotAs<Baro>(*this, kBaroSlot);
}

Ahrs* Aircraft::ahrs() const {
    return slotAs<Ahrs>(*this, kAhrsSlot);
}

Adc* Aircraft::adc() const {
    return slotAs<Adc>(*this, kAdcSlot);
}

Gps* Aircraft::gps() const {
    return slotAs<Gps>(*this, kGpsSlot);
}

RadAlt* Aircraft::radAlt() const {
    return slotAs<RadAlt>(*this, kRadAltSlot);
}

Gpws* Aircraft::gpws() const {
    return slotAs<Gpws>(*this, kGpwsSlot);
}

Fadec* Aircraft::fadec() const {
    return slotAs<Fadec>(*this, kFadecSlot);
}

Mechanisation* Aircraft::mechanisation() const {
    return slotAs<Mechanisation>(*this, kMechanisationSlot);
}

FuelSystem* Aircraft::fuelSystem() const {
    return slotAs<FuelSystem>(*this, kFuelSystemSlot);
}

Pressure* Aircraft::pressure() const {
    return slotAs<Pressure>(*this, kPressureSlot);
}

FlightDirector* Aircraft::flightDirector() const {
    return slotAs<FlightDirector>(*this, kFlightDirectorSlot);
}

Radio* Aircraft::radio() const {
    return slotAs<Radio>(*this, kRadioSlot);
}

Autopilot* Aircraft::autopilot() const {
    return slotAs<Autopilot>(*this, kAutopilotSlot);
}

Fms* Aircraft::fms() const {
    return slotAs<Fms>(*this, kFmsSlot);
}

Pneumatic* Aircraft::pneumatic() const {
    return slotAs<Pneumatic>(*this, kPneumaticSlot);
}

Aws* Aircraft::aws() const {
    return slotAs<Aws>(*this, kAwsSlot);
}

Lights* Aircraft::lights() const {
    return slotAs<Lights>(*this, kLightsSlot);
}

Clock* Aircraft::clock() const {
    return slotAs<Clock>(*this, kClockSlot);
}

Tcas* Aircraft::tcas() const {
    return slotAs<Tcas>(*this, kTcasSlot);
}

} // namespace tavi
