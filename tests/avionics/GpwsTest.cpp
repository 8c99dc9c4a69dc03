// The ground proximity warning system on the stand-in simulator. The sensors, the landing gear
// and flaps and the electrical network are held by the test; the EICAS unit and the aural
// warning unit are the aircraft's own, with call-outs of 200 ms each.
#include "avionics/Gpws.h"

#include "airframe/Electric.h"
#include "airframe/Mechanisation.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "avionics/FlightDirector.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "support/HeldSystem.h"
#include "support/SensorScenario.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <vector>

namespace tavi::test {
namespace {

constexpr SoundId kPullUp = 19;
constexpr SoundId kSinkRate = 20;
constexpr SoundId kTerrainTerrain = 21;
constexpr SoundId kTerrain = 22;
constexpr SoundId kDontSink = 23;
constexpr SoundId kTooLowTerrain = 24;
constexpr SoundId kGlideSlope = 27;
constexpr SoundId kBankAngle = 28;
constexpr SoundId kApproachingMinimums = 29;
constexpr SoundId kMinimums = 30;
constexpr SoundId k100 = 31;
constexpr SoundId k200 = 32;
constexpr SoundId k500 = 33;
constexpr SoundId kFirstCallout = 19;
constexpr SoundId kLastCallout = 33;
constexpr uint32_t kCalloutMs = 200;

constexpr int32_t kGpwsId = 67;
constexpr int32_t kGpwsInopId = 68;
constexpr int32_t kTerrInopId = 69;

constexpr int32_t kGearDown = 16383;
// The needle (NAV GSI) of a glide slope deviation in dots, negative below the path.
constexpr float gsiForDots(float dots) {
    return dots * 120.0f * 0.3f / 0.7f;
}

// What the held neighbours report; by default level flight at 2000 ft above the ground and
// 250 kt, gear and flaps up, long after the lift-off, no flight director mode.
struct Flight {
    float radioAltitude = 2000.0f;
    float verticalSpeed = 0.0f;
    float airspeed = 250.0f;
    float closure = 0.0f;
    float flaps = 0.0f;
    int32_t gear = 0;
    float bank = 0.0f;
    bool glideSlopeReceived = false;
    float glideSlopeDots = 0.0f;
    bool recentLiftoff = false;
    // The flight began in the air: no lift-off is known.
    bool startedInAir = false;
    // The flight director flies LOC and GS on the coupled side's receiver.
    bool coupledIls = false;
    float localizerDots = 0.0f;
};

class GpwsBench {
public:
    GpwsBench() {
        scenario.start();
        Aircraft& aircraft = scenario.aircraft();
        electric = &holdSystem<Electric>(aircraft, 9);
        ahrs = &holdSystem<Ahrs>(aircraft, 12);
        adc = &holdSystem<Adc>(aircraft, 13);
        radAlt = &holdSystem<RadAlt>(aircraft, 15);
        mechanisation = &holdSystem<Mechanisation>(aircraft, 18);
        radio = &holdSystem<Radio>(aircraft, 21);
        baro = &holdSystem<Baro>(aircraft, 11);
        flightDirector = &holdSystem<FlightDirector>(aircraft, 24);
        scenario.keepOnly({electric, aircraft.eicasDau(), ahrs, adc, radAlt, aircraft.gpws(),
                           mechanisation, radio, aircraft.aws(), baro, flightDirector});
        powerBuses({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        // What the systems taken out posted in the first frame goes with them.
        scenario.eicas().messages.clear();
        scenario.eicas().acknowledgeWarnings();
        scenario.eicas().acknowledgeCautions();
        std::vector<std::pair<SoundId, uint32_t>> callouts;
        for (SoundId id = kFirstCallout; id <= kLastCallout; ++id) {
            callouts.emplace_back(id, kCalloutMs);
        }
        soundsInstalled = scenario.installSounds(callouts);
        fly(Flight{});
        step(2);
    }

    Aircraft& aircraft() { return scenario.aircraft(); }
    Gpws& gpws() { return *aircraft().gpws(); }
    EicasDau& eicas() { return scenario.eicas(); }
    uint32_t now() { return aircraft().simTimeMs; }

    void powerBuses(std::initializer_list<int> powered) {
        for (auto& bus : electric->buses) {
            bus.powered = false;
        }
        for (int bus : powered) {
            electric->buses[static_cast<std::size_t>(bus)].powered = true;
        }
    }

    void fly(const Flight& flight) {
        radAlt->radioAltitude = flight.radioAltitude;
        radAlt->closureRate = flight.closure;
        ahrs->unit1.verticalSpeed = flight.verticalSpeed;
        ahrs->unit1.smoothedBank = flight.bank;
        adc->indicatedAirspeed = flight.airspeed;
        adc->liftoffTime = flight.recentLiftoff ? now() : now() - 100000;
        if (flight.startedInAir) {
            adc->liftoffTime = 0;
        }
        mechanisation->flapAngle = flight.flaps;
        mechanisation->gearPositions = {flight.gear, flight.gear, flight.gear};
        RadioUnit& unit = flightDirector->coupledSide() == 2 ? radio->unit2 : radio->unit1;
        unit.glideSlopeFlag = flight.glideSlopeReceived;
        unit.gsi = gsiForDots(flight.glideSlopeDots);
        unit.cdiDeviation = flight.localizerDots * 127.0f * 5.0f / 10.0f;
        if (flight.coupledIls) {
            coupleIls();
        }
    }

    // The flight director's modes as its buttons and captures leave them on an ILS: LOC, then
    // GS.
    void coupleIls() {
        if (!flightDirector->isDirectorOn(1)) {
            flightDirector->toggleFlightDirector1();
        }
        flightDirector->setLateralMode(FdLateralMode::Loc);
        flightDirector->setVerticalMode(FdVerticalMode::Gs);
    }

    // Frames of 1/18 s; every call-out that starts is heard.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            scenario.step();
            listen();
        }
    }
    void run(double seconds) { step(static_cast<int>(seconds * 18.0)); }

    int timesHeard(SoundId id) const {
        return static_cast<int>(std::count(heard.begin(), heard.end(), id));
    }

    const EicasMessage* message(int32_t level, int32_t id) {
        for (const EicasMessage& shown : eicas().messages) {
            if (shown.level == level && shown.id == id) {
                return &shown;
            }
        }
        return nullptr;
    }

    SensorScenario scenario;
    Electric* electric = nullptr;
    Ahrs* ahrs = nullptr;
    Adc* adc = nullptr;
    RadAlt* radAlt = nullptr;
    Mechanisation* mechanisation = nullptr;
    Radio* radio = nullptr;
    Baro* baro = nullptr;
    FlightDirector* flightDirector = nullptr;
    bool soundsInstalled = false;
    // The call-outs in the order they started.
    std::vector<SoundId> heard;

private:
    void listen() {
        for (SoundId id = kFirstCallout; id <= kLastCallout; ++id) {
            const bool playing = scenario.sounds().isPlaying(id);
            if (playing && !wasPlaying[id]) {
                heard.push_back(id);
            }
            wasPlaying[id] = playing;
        }
    }

    std::map<SoundId, bool> wasPlaying;
};

class GpwsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bench.soundsInstalled);
        ASSERT_TRUE(bench.eicas().messages.empty());
        ASSERT_FALSE(bench.eicas().warningLatched || bench.eicas().cautionLatched);
    }

    GpwsBench bench;
    Gpws& gpws() { return bench.gpws(); }
};

// Boundaries of the envelopes, one frame at each condition.

struct SinkRateCase {
    float height;
    float verticalSpeed;
    bool sinkRate;
    bool pullUp;
};

std::ostream& operator<<(std::ostream& out, const SinkRateCase& row) {
    return out << row.height << " ft, " << row.verticalSpeed << " fpm";
}

class GpwsSinkRateTest : public testing::TestWithParam<SinkRateCase> {};

TEST_P(GpwsSinkRateTest, SinkRateAndPullUpEnvelopes) {
    const SinkRateCase& row = GetParam();
    GpwsBench bench;
    bench.fly({.radioAltitude = row.height, .verticalSpeed = row.verticalSpeed});
    bench.step();
    EXPECT_EQ(bench.gpws().mode1, row.sinkRate);
    EXPECT_EQ(bench.gpws().mode1PullUp, row.pullUp);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, GpwsSinkRateTest,
                         testing::Values(SinkRateCase{1000.0f, -2600.0f, false, false},
                                         SinkRateCase{1000.0f, -2610.0f, true, false},
                                         SinkRateCase{1000.0f, -3495.0f, true, false},
                                         SinkRateCase{1000.0f, -3505.0f, true, true},
                                         SinkRateCase{284.0f, -1705.0f, true, false},
                                         SinkRateCase{284.0f, -1715.0f, true, true},
                                         SinkRateCase{283.0f, -1708.0f, true, false},
                                         SinkRateCase{31.0f, -1510.0f, true, true},
                                         SinkRateCase{30.0f, -9000.0f, false, false},
                                         SinkRateCase{2450.0f, -5010.0f, true, false},
                                         SinkRateCase{2451.0f, -9000.0f, false, false}));

struct ClosureCase {
    const char* name;
    Flight flight;
    bool alert;
};

std::ostream& operator<<(std::ostream& out, const ClosureCase& row) {
    return out << row.name;
}

class GpwsTerrainClosureTest : public testing::TestWithParam<ClosureCase> {};

TEST_P(GpwsTerrainClosureTest, ClosureEnvelopes) {
    GpwsBench bench;
    bench.fly(GetParam().flight);
    bench.step();
    EXPECT_EQ(bench.gpws().mode2, GetParam().alert);
}

constexpr Flight closing(float height, float airspeed, float closure) {
    return Flight{.radioAltitude = height, .airspeed = airspeed, .closure = closure};
}

constexpr Flight landingClosing(float height, float closure) {
    return Flight{.radioAltitude = height, .closure = closure, .flaps = 22.0f, .gear = kGearDown};
}

constexpr Flight afterLiftoffClosing(float height, float closure) {
    return Flight{.radioAltitude = height, .closure = closure, .recentLiftoff = true};
}

// On the localizer and glide slope by the given dots, gear and flaps still up.
constexpr Flight coupledIlsClosing(float height, float closure, float dots) {
    return Flight{.radioAltitude = height,
                  .closure = closure,
                  .glideSlopeReceived = true,
                  .glideSlopeDots = dots,
                  .coupledIls = true,
                  .localizerDots = dots};
}

INSTANTIATE_TEST_SUITE_P(
    Envelopes, GpwsTerrainClosureTest,
    testing::Values(
        ClosureCase{"A_at30ft", closing(30.0f, 250.0f, 2038.0f), true},
        ClosureCase{"A_below30ft", closing(29.9f, 250.0f, 9000.0f), false},
        ClosureCase{"A_1220ftBelow", closing(1220.0f, 250.0f, 3540.0f), false},
        ClosureCase{"A_1220ftAbove", closing(1220.0f, 250.0f, 3550.0f), true},
        ClosureCase{"A_slowBelow", closing(1400.0f, 200.0f, 4450.0f), false},
        ClosureCase{"A_slowAbove", closing(1400.0f, 200.0f, 4470.0f), true},
        ClosureCase{"A_slowTop", closing(1650.0f, 220.0f, 5740.0f), true},
        ClosureCase{"A_slowAboveTop", closing(1700.0f, 220.0f, 20000.0f), false},
        ClosureCase{"A_fastGap", closing(1400.0f, 250.0f, 20000.0f), false},
        ClosureCase{"A_fastFrom1560Below", closing(1600.0f, 250.0f, 7080.0f), false},
        ClosureCase{"A_fastFrom1560Above", closing(1600.0f, 250.0f, 7100.0f), true},
        ClosureCase{"A_speedHeldTo310Below", closing(2000.0f, 400.0f, 9800.0f), false},
        ClosureCase{"A_speedHeldTo310Above", closing(2000.0f, 400.0f, 9810.0f), true},
        ClosureCase{"A_above2450", closing(2451.0f, 300.0f, 20000.0f), false},
        ClosureCase{"B_gearDownCapBelow", landingClosing(400.0f, 2250.0f), false},
        ClosureCase{"B_gearDownCapAbove", landingClosing(400.0f, 2260.0f), true},
        ClosureCase{"B_lowBelow", landingClosing(100.0f, 2120.0f), false},
        ClosureCase{"B_lowAbove", landingClosing(100.0f, 2130.0f), true},
        ClosureCase{"B_above789", landingClosing(800.0f, 20000.0f), false},
        ClosureCase{"B_afterLiftoffUncapped", afterLiftoffClosing(400.0f, 2400.0f), false},
        ClosureCase{"B_afterLiftoffAbove789", afterLiftoffClosing(800.0f, 5000.0f), false},
        ClosureCase{"A_flapsWithoutGear",
                    Flight{.radioAltitude = 800.0f, .closure = 5000.0f, .flaps = 22.0f}, true},
        ClosureCase{"B_coupledIls", coupledIlsClosing(1000.0f, 3300.0f, 1.9f), false},
        ClosureCase{"A_coupledIlsTwoDotsOff", coupledIlsClosing(1000.0f, 3300.0f, 2.0f), true},
        ClosureCase{"A_startedInTheAir",
                    Flight{.radioAltitude = 800.0f, .closure = 5000.0f, .startedInAir = true},
                    true}),
    [](const testing::TestParamInfo<ClosureCase>& info) { return info.param.name; });

struct ClearanceCase {
    const char* name;
    Flight flight;
    bool envelopeA;
    bool envelopeB;
    bool alert;
};

std::ostream& operator<<(std::ostream& out, const ClearanceCase& row) {
    return out << row.name;
}

class GpwsTerrainClearanceTest : public testing::TestWithParam<ClearanceCase> {};

TEST_P(GpwsTerrainClearanceTest, ClearanceEnvelopesByConfiguration) {
    const ClearanceCase& row = GetParam();
    GpwsBench bench;
    bench.fly(row.flight);
    bench.step();
    EXPECT_EQ(bench.gpws().mode4A, row.envelopeA);
    EXPECT_EQ(bench.gpws().mode4B, row.envelopeB);
    EXPECT_EQ(bench.gpws().mode4, row.alert);
}

constexpr Flight low(float height, float airspeed, float flaps = 0.0f, int32_t gear = 0) {
    return Flight{.radioAltitude = height, .airspeed = airspeed, .flaps = flaps, .gear = gear};
}

INSTANTIATE_TEST_SUITE_P(
    Envelopes, GpwsTerrainClearanceTest,
    testing::Values(
        ClearanceCase{"SlowA", low(400.0f, 150.0f), true, false, true},
        ClearanceCase{"SlowAB", low(240.0f, 150.0f), true, true, true},
        ClearanceCase{"SlowAboveA", low(510.0f, 150.0f), false, false, false},
        ClearanceCase{"FastAB", low(990.0f, 250.0f), true, true, true},
        ClearanceCase{"SpeedHeldTo250", low(990.0f, 300.0f), true, true, true},
        ClearanceCase{"FastAbove", low(1010.0f, 300.0f), false, false, false},
        ClearanceCase{"MidSpeedAB", low(750.0f, 220.0f), true, true, true},
        ClearanceCase{"MidSpeedB", low(751.0f, 220.0f), false, true, true},
        ClearanceCase{"Below30ft", low(29.0f, 150.0f), false, false, false},
        ClearanceCase{"Climbing",
                      Flight{.radioAltitude = 400.0f, .verticalSpeed = 201.0f, .airspeed = 150.0f},
                      false, false, false},
        ClearanceCase{"SlowClimb",
                      Flight{.radioAltitude = 400.0f, .verticalSpeed = 200.0f, .airspeed = 150.0f},
                      true, false, true},
        ClearanceCase{"TooLowFlap", low(200.0f, 150.0f, 0.0f, kGearDown), true, true, true},
        ClearanceCase{"GearDownEnvelopeAOnly", low(300.0f, 150.0f, 0.0f, kGearDown), true, false,
                      false},
        ClearanceCase{"TooLowGear", low(400.0f, 150.0f, 22.0f), true, false, true},
        ClearanceCase{"LandingConfiguration", low(200.0f, 150.0f, 22.0f, kGearDown), true, true,
                      false},
        ClearanceCase{"PartFlapsGearDown", low(200.0f, 150.0f, 10.0f, kGearDown), true, true,
                      false},
        ClearanceCase{"GearInTransitFlapsDown", low(200.0f, 150.0f, 22.0f, 8192), true, true,
                      false},
        ClearanceCase{"GearInTransitFlapsUp", low(200.0f, 150.0f, 0.0f, 8192), true, true, true}),
    [](const testing::TestParamInfo<ClearanceCase>& info) { return info.param.name; });

struct GlideSlopeCase {
    float height;
    float dots;
    bool received;
    bool soft;
    bool hard;
};

std::ostream& operator<<(std::ostream& out, const GlideSlopeCase& row) {
    return out << row.height << " ft, " << row.dots << " dots"
               << (row.received ? "" : ", no signal");
}

class GpwsGlideSlopeTest : public testing::TestWithParam<GlideSlopeCase> {};

TEST_P(GpwsGlideSlopeTest, BelowTheGlideSlope) {
    const GlideSlopeCase& row = GetParam();
    GpwsBench bench;
    bench.fly({.radioAltitude = row.height,
               .flaps = 45.0f,
               .gear = kGearDown,
               .glideSlopeReceived = row.received,
               .glideSlopeDots = row.dots});
    bench.step();
    EXPECT_EQ(bench.gpws().mode5Soft, row.soft);
    EXPECT_EQ(bench.gpws().mode5Hard, row.hard);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, GpwsGlideSlopeTest,
                         testing::Values(GlideSlopeCase{500.0f, -1.29f, true, false, false},
                                         GlideSlopeCase{150.0f, -1.4f, true, true, false},
                                         GlideSlopeCase{140.0f, -1.4f, true, false, false},
                                         GlideSlopeCase{100.0f, -2.2f, true, true, false},
                                         GlideSlopeCase{140.0f, -2.2f, true, true, true},
                                         GlideSlopeCase{310.0f, -2.2f, true, true, false},
                                         GlideSlopeCase{1000.0f, -2.2f, true, true, false},
                                         GlideSlopeCase{1001.0f, -2.2f, true, false, false},
                                         GlideSlopeCase{140.0f, -2.2f, false, false, false},
                                         GlideSlopeCase{140.0f, 2.2f, true, false, false}));

struct BankCase {
    float height;
    float bank;
    bool alert;
};

std::ostream& operator<<(std::ostream& out, const BankCase& row) {
    return out << row.height << " ft, " << row.bank << " deg";
}

class GpwsBankAngleTest : public testing::TestWithParam<BankCase> {};

TEST_P(GpwsBankAngleTest, BankLimitRisesFrom10To40DegreesBelow150Feet) {
    GpwsBench bench;
    bench.fly({.radioAltitude = GetParam().height, .bank = GetParam().bank});
    bench.step();
    EXPECT_EQ(bench.gpws().mode6, GetParam().alert);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, GpwsBankAngleTest,
    testing::Values(BankCase{30.0f, 9.9f, false}, BankCase{30.0f, 10.0f, true},
                    BankCase{30.0f, -10.0f, true}, BankCase{90.0f, 24.9f, false},
                    BankCase{90.0f, -25.0f, true}, BankCase{149.0f, 39.8f, true},
                    BankCase{150.0f, 39.9f, false}, BankCase{150.0f, 40.0f, true},
                    BankCase{20.0f, 30.0f, false}));

// Alerts and call-outs over time.

TEST_F(GpwsTest, SinkRateIsCalledOnceThenPullUpRepeatsAndTheWarningIsPostedOnce) {
    Flight descent{.radioAltitude = 1500.0f, .verticalSpeed = -4000.0f};
    float pullUpHeight = 0.0f;
    uint32_t postedAt = 0;
    while (descent.radioAltitude > 500.0f) {
        bench.fly(descent);
        bench.step();
        if (pullUpHeight == 0.0f && gpws().mode1PullUp) {
            pullUpHeight = descent.radioAltitude;
        }
        const EicasMessage* warning = bench.message(kEicasWarning, kGpwsId);
        ASSERT_NE(warning, nullptr) << descent.radioAltitude;
        EXPECT_EQ(warning->text, "GPWS");
        if (postedAt == 0) {
            postedAt = warning->time;
        }
        EXPECT_EQ(warning->time, postedAt) << "posted once, not every frame";
        descent.radioAltitude -= 4000.0f / 60.0f / 18.0f;
    }
    EXPECT_NEAR(pullUpHeight, 1200.0f, 5.0f);
    ASSERT_FALSE(bench.heard.empty());
    EXPECT_EQ(bench.heard.front(), kSinkRate);
    EXPECT_EQ(bench.timesHeard(kSinkRate), 1);
    EXPECT_GE(bench.timesHeard(kPullUp), 10) << "again each time it has played";
    EXPECT_EQ(bench.heard.size(), 1u + bench.timesHeard(kPullUp));

    bench.fly(Flight{});
    bench.step();
    EXPECT_FALSE(gpws().terrainAlert());
    EXPECT_EQ(bench.message(kEicasWarning, kGpwsId), nullptr);
}

TEST_F(GpwsTest, TerrainClosureCallsTerrainTwiceThenPullUpAndHoldsFor500Ms) {
    bench.fly(closing(1100.0f, 250.0f, 4000.0f));
    bench.run(1.5);
    ASSERT_TRUE(gpws().mode2);
    ASSERT_FALSE(bench.heard.empty());
    EXPECT_EQ(bench.heard.front(), kTerrainTerrain);
    EXPECT_GE(bench.timesHeard(kPullUp), 3);
    EXPECT_EQ(bench.heard.size(), 1u + bench.timesHeard(kPullUp));

    const uint32_t lastHeld = bench.now();
    bench.fly(closing(1100.0f, 250.0f, 1000.0f));
    while (gpws().mode2 && bench.now() - lastHeld < 2000) {
        bench.step();
    }
    EXPECT_GT(bench.now() - lastHeld, 500u);
    EXPECT_LE(bench.now() - lastHeld, 560u);

    bench.heard.clear();
    bench.fly(landingClosing(700.0f, 3000.0f));
    bench.run(1.0);
    ASSERT_FALSE(bench.heard.empty());
    EXPECT_EQ(bench.heard.front(), kTerrainTerrain);
    EXPECT_GE(bench.timesHeard(kTerrain), 2);
    EXPECT_EQ(bench.heard.size(), 1u + bench.timesHeard(kTerrain))
        << "in landing configuration the repeat is \"terrain\"";
}

TEST_F(GpwsTest, AltitudeLossAfterTakeOffSaysDontSinkWhileDescending) {
    Flight flight{.radioAltitude = 0.0f};
    bench.ahrs->onGround = true;
    bench.adc->indicatedAltitude = 1000.0f;
    bench.fly(flight);
    bench.step();
    ASSERT_TRUE(gpws().mode3Armed);

    bench.ahrs->onGround = false;
    flight.verticalSpeed = 1500.0f;
    for (float climbed = 0.0f; climbed <= 600.0f; climbed += 20.0f) {
        flight.radioAltitude = climbed;
        bench.adc->indicatedAltitude = 1000.0f + climbed;
        bench.fly(flight);
        bench.step();
    }
    EXPECT_FALSE(gpws().mode3);

    // 60 ft lost at 540 ft, where 53 ft are allowed.
    flight.verticalSpeed = -500.0f;
    flight.radioAltitude = 540.0f;
    bench.adc->indicatedAltitude = 1540.0f;
    bench.fly(flight);
    bench.step();
    EXPECT_TRUE(gpws().mode3);
    EXPECT_TRUE(gpws().mode3Descending);
    EXPECT_TRUE(bench.message(kEicasWarning, kGpwsId));
    EXPECT_EQ(bench.heard, std::vector<SoundId>{kDontSink});

    flight.verticalSpeed = 300.0f;
    bench.fly(flight);
    bench.run(1.0);
    EXPECT_TRUE(gpws().mode3) << "the loss still stands";
    EXPECT_EQ(bench.heard, std::vector<SoundId>{kDontSink}) << "no call while climbing";

    flight.radioAltitude = 610.0f;
    bench.adc->indicatedAltitude = 1610.0f;
    bench.fly(flight);
    bench.step();
    EXPECT_FALSE(gpws().mode3) << "back above the highest altitude";
    EXPECT_EQ(bench.message(kEicasWarning, kGpwsId), nullptr);

    flight.radioAltitude = 1510.0f;
    bench.adc->indicatedAltitude = 2510.0f;
    bench.fly(flight);
    bench.step();
    EXPECT_FALSE(gpws().mode3Armed) << "disarmed above 1500 ft";
    flight.radioAltitude = 1000.0f;
    flight.verticalSpeed = -2000.0f;
    bench.adc->indicatedAltitude = 2000.0f;
    bench.fly(flight);
    bench.step();
    EXPECT_FALSE(gpws().mode3);
}

// Climbing after take-off, the crew sets the altimeter from 1030 hPa to standard: the altitude
// reads 500 ft lower, but nothing was lost; a real loss after it still counts.
TEST_F(GpwsTest, ANewAltimeterSettingIsNoAltitudeLoss) {
    Flight flight{.radioAltitude = 0.0f};
    bench.ahrs->onGround = true;
    bench.adc->indicatedAltitude = 1500.0f;
    bench.baro->simPressureAltitude = 1000.0f;
    bench.baro->mainSettingAltitude = 1500.0f;
    bench.fly(flight);
    bench.step();
    ASSERT_TRUE(gpws().mode3Armed);

    bench.ahrs->onGround = false;
    flight.verticalSpeed = 1500.0f;
    const auto climbTo = [&](float height, float correction) {
        flight.radioAltitude = height;
        bench.baro->simPressureAltitude = 1000.0f + height;
        bench.baro->mainSettingAltitude = 1000.0f + height + correction;
        bench.adc->indicatedAltitude = bench.baro->mainSettingAltitude;
        bench.fly(flight);
        bench.step();
    };
    for (float height = 0.0f; height <= 800.0f; height += 20.0f) {
        climbTo(height, 500.0f);
    }
    climbTo(820.0f, 0.0f);
    for (int i = 0; i < 18; ++i) {
        climbTo(820.0f, 0.0f);
        ASSERT_FALSE(gpws().mode3);
    }
    EXPECT_FALSE(gpws().terrainAlert());
    EXPECT_EQ(bench.message(kEicasWarning, kGpwsId), nullptr);

    flight.verticalSpeed = -500.0f;
    climbTo(740.0f, 0.0f);
    EXPECT_TRUE(gpws().mode3) << "80 ft lost at 740 ft, where 72 ft are allowed";
}

// Side 2 below its glide slope, side 1 on it: the side the flight director couples counts.
TEST_F(GpwsTest, TheGlideSlopeIsTheCoupledSides) {
    for (const int32_t side : {1, 2}) {
        if (bench.flightDirector->coupledSide() != side) {
            bench.flightDirector->switchSide();
        }
        bench.fly(Flight{.radioAltitude = 500.0f});
        bench.radio->unit1.glideSlopeFlag = true;
        bench.radio->unit1.gsi = 0.0f;
        bench.radio->unit2.glideSlopeFlag = true;
        bench.radio->unit2.gsi = gsiForDots(-2.5f);
        bench.step();
        EXPECT_EQ(gpws().mode5Soft, side == 2) << "coupled side " << side;
    }
}

TEST_F(GpwsTest, TooLowTerrainIsCalledAgainOnlyAfterAFurther20PercentLost) {
    Flight flight = low(450.0f, 150.0f);
    flight.verticalSpeed = -100.0f;
    const auto descendTo = [&](float height) {
        flight.radioAltitude = height;
        bench.fly(flight);
        bench.run(0.5);
    };
    descendTo(450.0f);
    bench.run(2.0);
    EXPECT_EQ(bench.timesHeard(kTooLowTerrain), 1);
    EXPECT_FLOAT_EQ(gpws().mode4ReferenceHeight, 450.0f);
    descendTo(361.0f);
    EXPECT_EQ(bench.timesHeard(kTooLowTerrain), 1);
    descendTo(360.0f);
    EXPECT_EQ(bench.timesHeard(kTooLowTerrain), 2);
    descendTo(289.0f);
    EXPECT_EQ(bench.timesHeard(kTooLowTerrain), 2);
    descendTo(288.0f);
    EXPECT_EQ(bench.timesHeard(kTooLowTerrain), 3);
    EXPECT_EQ(bench.heard.size(), 3u);
}

TEST_F(GpwsTest, GlideSlopeRaisesTheCautionAndRepeatsUntilItIsAcknowledged) {
    Flight approach{.radioAltitude = 500.0f,
                    .flaps = 45.0f,
                    .gear = kGearDown,
                    .glideSlopeReceived = true,
                    .glideSlopeDots = -2.0f};
    bench.fly(approach);
    bench.run(1.0);
    EXPECT_TRUE(gpws().mode5Soft);
    EXPECT_TRUE(bench.eicas().cautionRequest);
    EXPECT_TRUE(bench.eicas().cautionLatched);
    EXPECT_GE(bench.timesHeard(kGlideSlope), 3);

    bench.eicas().acknowledgeCautions();
    bench.run(0.5);
    const int heard = bench.timesHeard(kGlideSlope);
    bench.run(1.0);
    EXPECT_EQ(bench.timesHeard(kGlideSlope), heard) << "silent once acknowledged";
    EXPECT_FALSE(bench.eicas().cautionLatched) << "not raised again while the alert stands";

    approach.glideSlopeDots = 0.0f;
    bench.fly(approach);
    bench.step();
    approach.glideSlopeDots = -2.0f;
    bench.fly(approach);
    bench.step();
    EXPECT_TRUE(bench.eicas().cautionLatched) << "a new alert raises it again";
    approach.glideSlopeDots = 0.0f;
    bench.fly(approach);
    bench.step();
    EXPECT_FALSE(bench.eicas().cautionRequest) << "withdrawn back on the glide slope";
}

TEST_F(GpwsTest, GlideSlopeCautionIsWithdrawnAlsoWhenATerrainAlertInterrupts) {
    Flight approach{.radioAltitude = 500.0f,
                    .flaps = 45.0f,
                    .gear = kGearDown,
                    .glideSlopeReceived = true,
                    .glideSlopeDots = -2.0f};
    bench.fly(approach);
    bench.step();
    ASSERT_TRUE(bench.eicas().cautionRequest);
    approach.verticalSpeed = -3000.0f;
    bench.fly(approach);
    bench.step();
    ASSERT_TRUE(gpws().mode1);
    approach.glideSlopeDots = 0.0f;
    bench.fly(approach);
    bench.step();
    EXPECT_FALSE(gpws().mode5Soft);
    EXPECT_FALSE(bench.eicas().cautionRequest);
}

TEST_F(GpwsTest, BankAngleIsCalledOnceForEachFurther20PercentOfBank) {
    Flight turn{.radioAltitude = 1500.0f, .bank = 45.0f};
    bench.fly(turn);
    bench.run(2.0);
    EXPECT_EQ(bench.timesHeard(kBankAngle), 1) << "not repeated back to back";
    turn.bank = -53.9f;
    bench.fly(turn);
    bench.run(1.0);
    EXPECT_EQ(bench.timesHeard(kBankAngle), 1);
    turn.bank = -54.1f;
    bench.fly(turn);
    bench.run(1.0);
    EXPECT_EQ(bench.timesHeard(kBankAngle), 2);
    turn.bank = 50.0f;
    bench.fly(turn);
    bench.run(1.0);
    EXPECT_EQ(bench.timesHeard(kBankAngle), 2);
    turn.bank = 0.0f;
    bench.fly(turn);
    bench.step();
    turn.bank = 41.0f;
    bench.fly(turn);
    bench.run(1.0);
    EXPECT_EQ(bench.timesHeard(kBankAngle), 3) << "a new alert";
}

struct ApproachCase {
    const char* name;
    float startHeight;
    int32_t decisionHeight;
    std::vector<SoundId> calls;
    bool glideSlopeMode = false;
};

std::ostream& operator<<(std::ostream& out, const ApproachCase& row) {
    return out << row.name;
}

class GpwsApproachTest : public testing::TestWithParam<ApproachCase> {};

// A descent in landing configuration at 5 ft a frame.
TEST_P(GpwsApproachTest, MinimumsAndAltitudeCallouts) {
    const ApproachCase& row = GetParam();
    GpwsBench bench;
    ASSERT_TRUE(bench.soundsInstalled);
    bench.radAlt->decisionHeight = row.decisionHeight;
    if (row.glideSlopeMode) {
        bench.coupleIls();
    }
    Flight approach{.radioAltitude = row.startHeight,
                    .verticalSpeed = -700.0f,
                    .airspeed = 130.0f,
                    .flaps = 45.0f,
                    .gear = kGearDown};
    uint32_t belowDecisionHeight = 0;
    while (approach.radioAltitude >= 50.0f) {
        bench.fly(approach);
        bench.step();
        if (belowDecisionHeight == 0 &&
            approach.radioAltitude < static_cast<float>(row.decisionHeight)) {
            belowDecisionHeight = bench.now();
        }
        approach.radioAltitude -= 5.0f;
    }
    bench.run(2.0);
    EXPECT_EQ(bench.heard, row.calls);
    const bool armed = row.startHeight > 1000.0f;
    EXPECT_EQ(bench.gpws().minimums, armed);
    if (armed) {
        EXPECT_EQ(bench.gpws().minimumsTime, belowDecisionHeight);
    }
    EXPECT_FALSE(bench.gpws().terrainAlert());
}

INSTANTIATE_TEST_SUITE_P(
    DecisionHeights, GpwsApproachTest,
    testing::Values(
        ApproachCase{"Dh200", 1500.0f, 200, {k500, kApproachingMinimums, kMinimums, k100}},
        ApproachCase{"Dh500", 1500.0f, 500, {kApproachingMinimums, kMinimums, k200, k100}},
        ApproachCase{"Dh100", 1500.0f, 100, {k500, kApproachingMinimums, k200, kMinimums}},
        ApproachCase{"NotArmedBelow1000FeetWithGearDown", 900.0f, 200, {k500, k100}},
        ApproachCase{
            "Dh200InGlideSlopeMode", 1500.0f, 200, {kApproachingMinimums, kMinimums, k100}, true}),
    [](const testing::TestParamInfo<ApproachCase>& info) { return info.param.name; });

TEST_F(GpwsTest, MinimumsArm5SecondsAfterLeavingTheGround) {
    bench.fly({.radioAltitude = 5.0f});
    bench.step();
    bench.fly({.radioAltitude = 1500.0f, .gear = kGearDown});
    bench.run(4.5);
    EXPECT_FALSE(gpws().minimumsArmed);
    bench.run(1.0);
    EXPECT_TRUE(gpws().minimumsArmed);
    bench.fly({.radioAltitude = 5.0f, .gear = kGearDown});
    bench.step();
    EXPECT_FALSE(gpws().minimumsArmed);
    EXPECT_FALSE(gpws().armingTime.has_value());
}

TEST_F(GpwsTest, ATerrainAlertSilencesTheOtherCallouts) {
    bench.radAlt->decisionHeight = 200;
    Flight approach{.radioAltitude = 1500.0f,
                    .airspeed = 130.0f,
                    .flaps = 45.0f,
                    .gear = kGearDown,
                    .bank = 45.0f,
                    .glideSlopeReceived = true,
                    .glideSlopeDots = -2.0f};
    bench.fly(approach);
    bench.run(6.0);
    ASSERT_TRUE(gpws().minimumsArmed);
    bench.heard.clear();
    approach.verticalSpeed = -5000.0f;
    while (approach.radioAltitude >= 50.0f) {
        bench.fly(approach);
        bench.step();
        approach.radioAltitude -= 5.0f;
    }
    EXPECT_TRUE(gpws().terrainAlert());
    for (SoundId call :
         {kGlideSlope, kBankAngle, kApproachingMinimums, kMinimums, k500, k200, k100}) {
        EXPECT_EQ(bench.timesHeard(call), 0) << call;
    }
    EXPECT_GT(bench.timesHeard(kPullUp), 0);
}

TEST_F(GpwsTest, NoAlertStandsAtTheStartOfAFlight) {
    bench.fly(Flight{.radioAltitude = 1500.0f});
    while (bench.now() < 1000) {
        bench.step();
        ASSERT_FALSE(gpws().terrainAlert()) << bench.now();
    }
    EXPECT_TRUE(bench.heard.empty());
    EXPECT_EQ(bench.message(kEicasWarning, kGpwsId), nullptr);
}

// The electrical side.

TEST_F(GpwsTest, WithoutThe115VoltBusNoAlertStandsAndGpwsInopShows) {
    const Flight sinking{.radioAltitude = 1000.0f, .verticalSpeed = -4000.0f};
    bench.fly(sinking);
    bench.step();
    ASSERT_TRUE(gpws().mode1);
    ASSERT_NE(bench.message(kEicasWarning, kGpwsId), nullptr);
    EXPECT_EQ(bench.message(kEicasCaution, kGpwsInopId), nullptr);

    bench.powerBuses({0, 1, 2, 3, 4, 5, 6, 7, 8});
    bench.step();
    EXPECT_FALSE(gpws().terrainAlert()) << "a dead computer keeps no alert";
    EXPECT_EQ(bench.message(kEicasWarning, kGpwsId), nullptr);
    const EicasMessage* inop = bench.message(kEicasCaution, kGpwsInopId);
    ASSERT_NE(inop, nullptr);
    EXPECT_EQ(inop->text, "GPWS INOP");
    const std::size_t heard = bench.heard.size();
    bench.run(2.0);
    EXPECT_FALSE(gpws().terrainAlert());
    EXPECT_EQ(bench.heard.size(), heard);
    BusLoads loads;
    gpws().addElectricLoad(bench.aircraft(), loads);
    EXPECT_EQ(loads[Electric::kAcBus], 0.0f);

    bench.powerBuses({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    bench.step();
    EXPECT_TRUE(gpws().mode1);
    EXPECT_EQ(bench.message(kEicasCaution, kGpwsInopId), nullptr);
    EXPECT_NE(bench.message(kEicasWarning, kGpwsId), nullptr);
    gpws().addElectricLoad(bench.aircraft(), loads);
    EXPECT_EQ(loads[Electric::kAcBus], 1.0f);
}

TEST_F(GpwsTest, WithoutAvionicsMaster1TerrInopShowsAndTheAlertsGoOn) {
    bench.electric->avionicsMaster1 = false;
    bench.step();
    const EicasMessage* inop = bench.message(kEicasCaution, kTerrInopId);
    ASSERT_NE(inop, nullptr);
    EXPECT_EQ(inop->text, "TERR INOP");
    bench.fly({.radioAltitude = 1000.0f, .verticalSpeed = -3000.0f});
    bench.step();
    EXPECT_TRUE(gpws().mode1);
    EXPECT_EQ(bench.heard, std::vector<SoundId>{kSinkRate});

    bench.electric->avionicsMaster1 = true;
    bench.step();
    EXPECT_EQ(bench.message(kEicasCaution, kTerrInopId), nullptr);
}

TEST_F(GpwsTest, MessagesComeBackWhenTheEicasUnitRegainsPower) {
    bench.fly({.radioAltitude = 1000.0f, .verticalSpeed = -3000.0f});
    bench.powerBuses({0, 5, 6, 7, 8, 9});
    bench.step(2);
    ASSERT_TRUE(bench.eicas().unpowered);
    ASSERT_TRUE(gpws().mode1);
    EXPECT_TRUE(bench.eicas().messages.empty());

    bench.powerBuses({0, 1, 2, 4, 5, 6, 7, 8, 9});
    bench.step(2);
    EXPECT_NE(bench.message(kEicasWarning, kGpwsId), nullptr);
    EXPECT_NE(bench.message(kEicasCaution, kTerrInopId), nullptr);
}

} // namespace
} // namespace tavi::test
