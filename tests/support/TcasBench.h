#pragma once

#include "avionics/RadAlt.h"
#include "avionics/Tcas.h"
#include "avionics/Transponder.h"
#include "core/sound/SoundManager.h"
#include "platform/audio/OpenAlDevice.h"
#include "support/AvionicsBench.h"
#include "support/HeldSystem.h"
#include "support/WavBytes.h"

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace tavi::test {

// The TCAS on the stand-in simulator, with the simulator's traffic in the test's hands. The
// own aircraft's air data, vertical speed and radio altitude are the test's; its position,
// true heading and ground speed come from the simulator as the GPS reads them. Every bus is
// powered and the transponder is in TA/RA. The own aircraft climbs or descends with its
// vertical speed as the frames go by, as a crew flying the advisories would make it.
class TcasBench {
public:
    static constexpr int kRadAltSlot = 15;
    static constexpr uint32_t kFrameMs = 56;
    // A call-out lasts less than the second between two scans.
    static constexpr uint32_t kCalloutMs = 400;

    TcasBench() {
        TransponderMode = kTransponderTaRa;
        radAlt = &holdSystem<RadAlt>(aircraft(), kRadAltSlot);
        setOwnPosition(45.0, 7.0);
        setOwnAltitude(10000.0, 5000.0);
        installSounds();
    }
    ~TcasBench() { TransponderMode = kTransponderStandby; }
    TcasBench(const TcasBench&) = delete;
    TcasBench& operator=(const TcasBench&) = delete;

    Aircraft& aircraft() { return bench.aircraft(); }
    Tcas& tcas() { return *aircraft().tcas(); }
    sim::Panel& panel() { return bench.panel(); }
    sim::TrafficList& traffic() { return bench.module.simulator.traffic; }
    sim::Host& host() { return bench.module.simulator.host; }
    uint32_t now() { return bench.now(); }
    bool hasSounds() const { return device != nullptr; }

    // Frames of 1/18 s.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            const double seconds = 1.0 / 18.0;
            bench.adc.trueAltitude += static_cast<float>(verticalSpeed() * seconds / 60.0);
            bench.adc.pressureAltitude += static_cast<float>(verticalSpeed() * seconds / 60.0);
            bench.step();
            if (device) {
                device->render(kFrameMs);
            }
            noteCallouts();
        }
    }
    // Frames until the next frame scans, so that traffic set now flies for one frame only before
    // the TCAS reads it.
    void beforeScan() {
        for (int i = 0; i < 40 && host().tickCountMs() + 56 - tcas().lastScanTick <= 999; ++i) {
            step();
        }
    }
    // Frames until the TCAS has scanned the traffic once more.
    void scan() {
        const uint32_t last = tcas().lastScanTick;
        for (int i = 0; i < 40 && tcas().lastScanTick == last; ++i) {
            step();
        }
    }
    void scans(int count) {
        for (int i = 0; i < count; ++i) {
            scan();
        }
    }

    // Degrees, north and east positive.
    void setOwnPosition(double latitude, double longitude) {
        panel().setToken(71, latitude * 40007000.0 / 360.0);
        panel().setToken(72, longitude / 360.0 * 281474976710656.0);
    }
    void setOwnTrueHeading(double degrees) { panel().setToken(86, degrees); }
    void setOwnGroundSpeed(double knots) { panel().setVariable("GROUND VELOCITY", 0, knots); }
    // True and radio altitudes, feet; the pressure altitude is the true altitude.
    void setOwnAltitude(double feet, double radioAltitude) {
        bench.adc.trueAltitude = static_cast<float>(feet);
        bench.adc.pressureAltitude = static_cast<float>(feet);
        bench.adc.indicatedAltitude = static_cast<float>(feet);
        radAlt->radioAltitude = static_cast<float>(radioAltitude);
    }
    void setOwnVerticalSpeed(double feetPerMinute) {
        bench.ahrs.unit1.verticalSpeed = static_cast<float>(feetPerMinute);
    }
    double verticalSpeed() { return bench.ahrs.unit1.verticalSpeed; }
    double ownLatitude() { return traffic().userLatitude(); }
    double ownLongitude() { return traffic().userLongitude(); }

    // An aircraft of the simulator's traffic at a distance (nm) and true bearing from the own
    // aircraft, a height above it (ft), flying a heading (deg) at a ground speed (kt) and
    // vertical speed (fpm).
    sim::TrafficObject intruder(uint32_t id, double distance, double bearing, double height,
                                double heading = 0.0, double groundSpeed = 0.0,
                                double verticalSpeed = 0.0) {
        const double radians = bearing * std::numbers::pi / 180.0;
        sim::TrafficObject object;
        object.id = id;
        object.latitude = ownLatitude() + distance * std::cos(radians) / 60.0;
        object.longitude =
            ownLongitude() + distance * std::sin(radians) /
                                 (60.0 * std::cos(ownLatitude() * std::numbers::pi / 180.0));
        object.altitude = bench.adc.trueAltitude + height;
        object.indicatedAltitude = object.altitude;
        object.trueHeading = heading;
        object.groundSpeed = groundSpeed;
        object.verticalSpeed = verticalSpeed;
        return object;
    }

    // The record of an object in the traffic table; null when the last scan did not list it.
    const TcasTraffic* record(uint32_t id) {
        for (uint32_t i = 0; i < tcas().trafficCount; ++i) {
            if (tcas().traffic[i].id == id) {
                return &tcas().traffic[i];
            }
        }
        return nullptr;
    }

    // The TCAS call-outs queued since the last look, in their order.
    std::vector<SoundId> takeCallouts() {
        noteCallouts();
        std::vector<SoundId> taken;
        taken.swap(callouts);
        return taken;
    }
    // Ends every call-out, for a test that calls the TCAS between frames.
    void silence() {
        noteCallouts();
        for (SoundId id = 0; id < kCalloutCount; ++id) {
            aircraft().soundManager->dequeue(id, true);
        }
        aircraft().soundManager->serviceQueue();
        noteCallouts();
    }

    AvionicsBench bench;
    RadAlt* radAlt = nullptr;

private:
    static constexpr SoundId kCalloutCount = 14;

    void installSounds() {
        device = platform::audio::LoopbackAudioDevice::open();
        if (!device) {
            return;
        }
        auto manager =
            std::make_unique<SoundManager>([this](std::string_view line) { aircraft().log(line); },
                                           [this](platform::audio::AudioResult& result) {
                                               result = platform::audio::kAudioOk;
                                               return device;
                                           });
        manager->init();
        const std::filesystem::path folder = bench.module.folder.path() / "sounds";
        manager->setFolder(folder.string() + "/");
        for (SoundId id = 0; id < kCalloutCount; ++id) {
            const std::string name = "sound" + std::to_string(id) + ".wav";
            writeFile(folder / name, sineWave16(kCalloutMs));
            manager->load(id, name);
        }
        aircraft().soundManager = std::move(manager);
    }

    void noteCallouts() {
        if (!device) {
            return;
        }
        for (SoundId id = 0; id < kCalloutCount; ++id) {
            const bool queued = aircraft().soundManager->isQueued(id);
            if (queued && !wasQueued[static_cast<std::size_t>(id)]) {
                callouts.push_back(id);
            }
            wasQueued[static_cast<std::size_t>(id)] = queued;
        }
    }

    std::shared_ptr<platform::audio::LoopbackAudioDevice> device;
    std::array<bool, kCalloutCount> wasQueued{};
    std::vector<SoundId> callouts;
};

} // namespace tavi::test
