#pragma once

#include "core/Fs9Reader.h"
#include "core/FsTokensReader.h"
#include "core/ModuleHeapObject.h"
#include "core/SimVar.h"
#include "core/System.h"
#include "platform/host/HostServices.h"
#include "platform/profile/Profile.h"
#include "platform/simconnect/SimConnect.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace tavi {

class Adc;
class Ahrs;
class Autopilot;
class Aws;
class Clock;
class Baro;
class EicasDau;
class Electric;
class Fadec;
class FlightDirector;
class Fms;
class FuelSystem;
class Gpws;
class Gps;
class Hydraulic;
class JetEngine;
class Lights;
class Mechanisation;
class PanelElement;
class RadAlt;
class Pneumatic;
class Pressure;
class Radio;
class SoundManager;
class Tcas;

// Buttons of one joystick as the last poll read them.
struct JoystickRecord {
    uint32_t buttons = 0;
};

// The single simulation object: it owns every system, every screen, the sound manager, the
// token table and the link to the simulator, and runs the frame loop.
class Aircraft : public ModuleHeapObject {
public:
    static constexpr int kSystemSlots = 30;
    static constexpr int kDisplaySlots = 12;
    static constexpr int kJoystickCount = 8;
    static constexpr int kFmsSlot = 22;

    Aircraft();
    virtual ~Aircraft();
    Aircraft(const Aircraft&) = delete;
    Aircraft& operator=(const Aircraft&) = delete;

    // Screens and systems.
    PanelElement* display(int slot) const;
    System* system(int slot) const;
    // Every system's and screen's per-flight state into the flight file, or back from it; a file
    // that cannot be read or written is left as it is and named in the log.
    void saveFlightState(const std::string& flightPath) const;
    void loadFlightState(const std::string& flightPath) const;
    static System* createSystem(int id);
    static PanelElement* createDisplay(int id);
    void createEnginesAndHydraulics();

    // Typed accessors: the system of its slot, or null when the slot is empty or holds another
    // class.
    JetEngine* engine1() const;
    JetEngine* engine2() const;
    Hydraulic* hydraulic1() const;
    Hydraulic* hydraulic2() const;
    Electric* electric() const;
    EicasDau* eicasDau() const;
    Baro* baro() const;
    Ahrs* ahrs() const;
    Adc* adc() const;
    Gps* gps() const;
    RadAlt* radAlt() const;
    Gpws* gpws() const;
    Fadec* fadec() const;
    Mechanisation* mechanisation() const;
    FuelSystem* fuelSystem() const;
    Pressure* pressure() const;
    FlightDirector* flightDirector() const;
    Fms* fms() const;
    Radio* radio() const;
    Autopilot* autopilot() const;
    Pneumatic* pneumatic() const;
    Aws* aws() const;
    Lights* lights() const;
    Clock* clock() const;
    Tcas* tcas() const;

    // SimConnect.
    void openSimConnect();

    // Frame loop and start-up.
    void initialise();
    void startSystems();
    void initSound();
    void update();
    void preUpdate();
    void pollJoysticks();
    // The accumulated unpaused simulation time in milliseconds.
    uint32_t timeMs() const { return simTimeMs; }

    // Settings file and log.
    void buildPaths();
    int32_t readIniInt(const char* section, const char* key, int32_t defaultValue) const;
    double readIniDouble(const char* section, const char* key, double defaultValue) const;
    bool readIniBool(const char* section, const char* key, bool defaultValue) const;
    std::string readIniString(const char* section, const char* key, const char* defaultValue) const;
    // The crew's weight unit, one reading for every page and screen: only exactly 1 selects
    // kilograms, so that a stray value never shows some screens in pounds and others in kilograms.
    bool fuelUseKg() const;
    bool writeIniString(const char* section, const char* key, const char* value) const;
    bool writeIniInt(const char* section, const char* key, int32_t value) const;
    void truncateLog() const;
    // One line of the log: line breaks and other control characters are shown as "\xNN" and
    // a long text is cut, so that nothing a file or database holds can forge or flood lines.
    void log(std::string_view text) const;

    int32_t tick = 0;
    int32_t previousTick = 0;
    int32_t previousSimMs = 0;
    int32_t simMs = 0;
    uint32_t simTimeMs = 0;
    // When a key or the knob of either radio management unit was last used.
    uint32_t rmuLastKeyTime = 0;
    int32_t frameDeltaMs = 0;
    bool slewActive = false;
    bool ctrlDown = false;
    bool shiftDown = false;
    bool tabDown = false;
    bool altDown = false;
    bool simRunning = false;
    platform::TimerId timerId = 0;
    platform::WindowHandle simWindow = 0;
    platform::ThreadId simThreadId = 0;
    bool preUpdateSeen = false;
    bool initialised = false;
    bool inFrame = false;
    bool useFsuipc = false;
    // Set by no operation of the module; kept for the systems that ask.
    bool flightLoaded = false;
    std::unique_ptr<SoundManager> soundManager;
    FsTokensReader tokens;
    Fs9Reader simState;
    std::array<PanelElement*, kDisplaySlots> displays{};
    std::array<System*, kSystemSlots> systems{};
    SimVar slewVar;
    std::string iniPath;
    std::string logPath;
    std::array<JoystickRecord, kJoystickCount> joysticks{};
    std::array<bool, kJoystickCount> joystickPresent{};
    platform::HookHandle keyboardHook = 0;
    std::string loadedFlightPath;
    platform::SimConnectHandle simConnect = 0;

private:
    // The settings file's value of the key; nothing when it is missing or, for a numeric
    // setting, not valid (logged once per key).
    std::optional<std::string> settingText(const char* section, const char* key) const;
    const platform::profile::Document& settingsFile() const;
    // Every system, then every screen, that is there.
    template <class Visit>
    void forEachStateHolder(Visit visit) const;

    // tavi.ini is read once per start (when the paths are built) and then looked up in memory;
    // the module's own writes go to the file and to this copy.
    mutable std::optional<platform::profile::Document> settings;
    mutable std::set<std::string> reportedSettings;
};

// The one Aircraft, from ModuleInit to ModuleDeinit.
extern Aircraft* theAircraft;

// The module's start and stop routines.
void ModuleInit();
void ModuleDeinit();

// Entries the simulator calls on its user-interface thread.
void timerProc();
void keyEventHandler(uint32_t eventId, uint32_t data, void* userData);
void simConnectDispatch(const platform::Recv* message, uint32_t size, void* context);
intptr_t keyboardHookProc(int32_t code, uint32_t virtualKey, uint32_t keyFlags);

} // namespace tavi
