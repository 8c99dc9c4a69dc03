#pragma once

#include "avionics/EicasDau.h"
#include "core/System.h"
#include "core/sound/AircraftSounds.h"

#include <cstdint>
#include <optional>

namespace tavi {

class Adc;
class Ahrs;
class Aws;
class Mechanisation;
class RadAlt;

// The ground proximity warning system, on the 115 VAC bus. Every unpaused frame it checks the
// six alert envelopes (1 excessive sink rate, 2 excessive terrain closure, 3 altitude loss after
// take-off, 4 unsafe terrain clearance, 5 below the glide slope, 6 bank angle), the minimums
// and the 500/200/100 ft call-outs, and queues its call-outs with the aural warning unit. A
// mode 1 to 4 alert posts the "GPWS" warning and silences the lesser call-outs; mode 5 raises
// the master caution. "GPWS INOP" shows while the 115 VAC bus is dead, "TERR INOP" while the
// terrain function (essential bus 1 behind Avionics Master 1) has no power.
//
// The flight director tells it an approach: the terrain-closure envelope widens on a coupled
// ILS approach within two dots of both beams, the 500 ft call-out is silent in its glide slope
// mode, and the beams are those of the side it couples.
//
// Heights are in feet, vertical speeds and closure rates in feet per minute, times in
// milliseconds of simulation time.
class Gpws : public System {
public:
    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // A mode 1 to 4 alert stands.
    bool terrainAlert() const { return mode1 || mode2 || mode3 || mode4; }

    // Below the decision height in landing configuration.
    bool minimums = false;
    bool minimumsArmed = false;
    bool started = false;
    // Crossed the decision height + 100 ft in this frame.
    bool approachingMinimums = false;
    // The 115 VAC bus is dead; its change in this frame.
    bool gpwsUnpowered = false;
    bool gpwsPowerChanged = false;
    // When minimums last became true.
    uint32_t minimumsTime = 0;
    // The start of the 5 s that arm the minimums call-outs; empty while not running.
    std::optional<uint32_t> armingTime;
    float previousRadioAltitude = 0.0f;
    bool mode1 = false;
    bool mode1PullUp = false;
    bool sinkRateCalled = false;
    bool mode2 = false;
    bool terrainCalled = false;
    bool mode3 = false;
    // Armed on the ground, disarmed above 1500 ft.
    bool mode3Armed = false;
    bool mode3Descending = false;
    // The highest indicated altitude since the aircraft left the ground; last frame's altitude.
    float highestAltitude = 0.0f;
    float previousAltitude = 0.0f;
    bool mode4 = false;
    bool mode4A = false;
    bool mode4B = false;
    // The radio altitude at the last mode 4 call.
    float mode4ReferenceHeight = 0.0f;
    // A mode 4 call was made; the next needs a further 20 percent of height lost.
    bool mode4Called = false;
    bool mode5Soft = false;
    bool mode5Hard = false;
    bool mode5CautionRaised = false;
    bool mode6 = false;
    bool bankAngleCalled = false;
    // The bank at the last "bank angle" call; the next needs 20 percent more.
    float mode6ReferenceBank = 0.0f;
    // The 100, 200 and 500 ft call-out heights crossed in this frame.
    bool callout100 = false;
    bool callout200 = false;
    bool callout500 = false;
    // The terrain function has no power; its change in this frame.
    bool terrainUnpowered = false;
    bool terrainPowerChanged = false;
    // The last frame in which the terrain closure exceeded its envelope; empty before the first.
    std::optional<uint32_t> mode2LastTime;
    Adc* adc = nullptr;
    Ahrs* ahrs = nullptr;
    RadAlt* radAlt = nullptr;
    Mechanisation* mechanisation = nullptr;
    Aws* aws = nullptr;

private:
    // What the envelopes read of the other systems in one frame.
    struct Inputs {
        uint32_t now = 0;
        float radioAltitude = 0.0f;
        float closureRate = 0.0f;
        int32_t decisionHeight = 0;
        float verticalSpeed = 0.0f;
        float bank = 0.0f;
        bool onGround = false;
        float indicatedAirspeed = 0.0f;
        float altitude = 0.0f;
        bool recentLiftoff = false;
        float flaps = 0.0f;
        bool gearDown = false;
        bool gearUp = false;
        bool glideSlopeFlag = false;
        float glideSlopeNeedle = 0.0f;
        float localizerNeedle = 0.0f;
        // The flight director's lateral mode is LOC and its vertical mode GS.
        bool localizerMode = false;
        bool glideSlopeMode = false;
        // The main altimeter's setting correction: indicated minus pressure altitude.
        float altimeterCorrection = 0.0f;

        bool landingFlaps() const;
    };

    // The states of the previous frame that the call-outs fire on the change of.
    struct Edges {
        bool minimums = false;
        bool approachingMinimums = false;
        bool callout500 = false;
        bool callout200 = false;
        bool callout100 = false;
    };

    void fetchSystems(const Aircraft& aircraft);
    void updatePowerFlags(const Aircraft& aircraft);
    Inputs readInputs(const Aircraft& aircraft) const;
    void evaluate(EicasDau* eicas, const Inputs& in);
    void checkSinkRate(const Inputs& in);
    void checkTerrainClosure(const Inputs& in);
    void checkAltitudeLoss(const Inputs& in);
    void checkTerrainClearance(const Inputs& in);
    void checkGlideSlope(const Inputs& in);
    void checkBankAngle(const Inputs& in);
    void checkMinimums(const Inputs& in);
    void checkAltitudeCallouts(const Inputs& in);
    void announceTerrainAlert(const Inputs& in);
    void announceTerrainClearance(const Inputs& in);
    void announceAdvisories(EicasDau* eicas, const Inputs& in, const Edges& before);
    void enqueue(SoundId id) const;
    void releaseLatches(EicasDau* eicas);
    void silence(EicasDau* eicas);
    void updateWarningMessage(EicasDau* eicas, uint32_t now, bool hadTerrainAlert,
                              bool eicasPoweredAgain) const;
    void updateInopMessages(EicasDau* eicas, uint32_t now, bool eicasPoweredAgain) const;

    void followAltimeterSetting(const Inputs& in);

    EicasPowerWatch eicasPower;
    // The altimeter correction of the last frame.
    std::optional<float> altimeterCorrection;
};

} // namespace tavi
