#include "airframe/Apu.h"

#include "airframe/Battery.h"
#include "airframe/FuelSystem.h"
#include "airframe/Gpu.h"
#include "airframe/SystemStep.h"
#include "avionics/Adc.h"
#include "avionics/Aws.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "platform/Random.h"

#include <algorithm>

namespace tavi::electric {

namespace {

constexpr uint32_t kKnobSpringBackMs = 500;
constexpr uint32_t kGeneratorDelayMs = 7000;
constexpr uint32_t kRunningSoundAfterMs = 7000;
constexpr float kRunningSpeed = 95.0f;
constexpr float kShutdownWithoutFuelAbove = 30.0f;
constexpr float kFuelFlowWithGenerator = 190.0f;
constexpr float kFuelFlowWithoutGenerator = 170.0f;
// Percent per second while the speed settles to its target after the start.
constexpr float kSettleRate = 8.0f * 0.5f;
constexpr double kGallonsPerTankWrite = 0.5;
constexpr uint32_t kLeftMainTankDefinition = 1;
constexpr uint32_t kRightMainTankDefinition = 2;

// Percent per second while starting, by speed band.
float startRate(float speed) {
    if (speed < 3.0f) {
        return 16.0f * 0.6f;
    }
    if (speed < 14.0f) {
        return 14.0f * 0.6f;
    }
    if (speed < 85.0f) {
        return 12.0f * 0.6f;
    }
    return 10.0f * 0.6f;
}

// Percent per second while spooling down, by speed band.
float spoolDownRate(float speed) {
    if (speed > 70.0f) {
        return 12.0f * 0.7f;
    }
    if (speed > 50.0f) {
        return 10.0f * 0.7f;
    }
    if (speed > 30.0f) {
        return 8.0f * 0.7f;
    }
    if (speed > 20.0f) {
        return 6.0f * 0.7f;
    }
    return 4.0f;
}

// The APU's sounds are always forced: they are the machine's own noise, not an alert.
void play(Aws* aws, SoundId id) {
    if (aws) {
        aws->play(id, true);
    }
}

void playLooped(Aws* aws, SoundId id) {
    if (aws) {
        aws->playLooped(id, true);
    }
}

void stopSound(Aws* aws, SoundId id) {
    if (aws) {
        aws->stop(id);
    }
}

bool isPlaying(Aws* aws, SoundId id) {
    return aws && aws->isPlaying(id);
}

} // namespace

Apu::Apu(Battery& battery1, Battery& battery2, const Gpu& gpu)
    : battery1(battery1), battery2(battery2), gpu(gpu) {
    setSwitch(true);
}

void Apu::setKnob(int32_t position, uint32_t now) {
    if ((knob == kKnobOff) != (position == kKnobOff)) {
        knobChangedTime = now;
    }
    knob = position;
}

void Apu::stepKnobUp(uint32_t now) {
    if (knob != kKnobStart) {
        setKnob(knob + 1, now);
    }
}

void Apu::stepKnobDown(uint32_t now) {
    if (knob != kKnobOff) {
        setKnob(knob - 1, now);
    }
}

void Apu::stop(Aircraft& aircraft) {
    Aws* aws = aircraft.aws();
    state = speed > 0.0f ? kSpoolingDown : kOff;
    stopSound(aws, sounds::kApuStartup);
    stopSound(aws, sounds::kApuRunning);
    if (state == kSpoolingDown) {
        play(aws, sounds::kApuShutdown);
    }
}

void Apu::makeReady() {
    speed = 100.0f;
    knob = kKnobOn;
    state = kRunning;
    drawRunningValues();
    egt = egtPeak;
    knobChangedTime = kTimeNotYet;
    runningSince = kTimeNotYet;
}

void Apu::update(Aircraft& aircraft) {
    Aws* aws = aircraft.aws();
    const FuelSystem* fuel = aircraft.fuelSystem();
    fuelAvailable = fuelShutoffOpen && fuel && fuel->fuelAvailable2;
    const bool startPower =
        gpu.isOnline() || (battery2.batterySwitch && battery2.voltage > kOnlineVolts);

    turnKnob(aircraft, aws);

    if ((state != kSpoolingDown && !fuelAvailable && speed > kShutdownWithoutFuelAbove) ||
        (state == kStarting && !startPower && speed <= kRunningSpeed)) {
        shutDown(aws);
    }

    fuelFlow = 0.0f;
    if (state == kRunning) {
        fuelFlow = isOnline() ? kFuelFlowWithGenerator : kFuelFlowWithoutGenerator;
    }

    switch (state) {
    case kStarting:
        spinUp(aircraft, aws);
        break;
    case kSpoolingDown:
        spoolDown(frameSeconds(aircraft), aws);
        break;
    case kRunning:
        run(aircraft, aws);
        break;
    default:
        voltage = 0.0f;
        break;
    }

    speed = std::max(std::min(speed, targetSpeed), 0.0f);
    updateEgt(aircraft);
    previousKnob = knob;
    const bool wasOffBus = offBus;
    offBus = !connected && voltage != 0.0f;
    offBusChanged = offBus != wasOffBus;
}

void Apu::turnKnob(Aircraft& aircraft, Aws* aws) {
    const uint32_t now = aircraft.simTimeMs;
    if (knob == kKnobStart && previousKnob != kKnobStart) {
        // A start of an APU that already turns would take its generator and battery 1 off the
        // network, so it is ignored; the knob springs back as after any start.
        if (state == kRunning || state == kStarting) {
            return;
        }
        // The start takes battery 1 off the network and runs from the GPU or battery 2.
        if (!gpu.isOnline()) {
            battery2.setSwitch(battery2.batterySwitch);
        }
        battery1.setSwitch(false);
        if (gpu.isOnline() || battery2.isOnline()) {
            begin(now, aws);
        }
        stopSound(aws, sounds::kApuShutdown);
        stopSound(aws, sounds::kApuRunning);
    } else if (knob == kKnobOff && previousKnob != kKnobOff) {
        stop(aircraft);
    } else if (knob == kKnobStart && now - startTime >= kKnobSpringBackMs) {
        setKnob(kKnobOn, now);
    }
}

void Apu::begin(uint32_t now, Aws* aws) {
    targetSpeed = 100.0f;
    state = kStarting;
    startTime = now;
    drawRunningValues();
    play(aws, sounds::kApuStartup);
}

void Apu::shutDown(Aws* aws) {
    state = kSpoolingDown;
    stopSound(aws, sounds::kApuStartup);
    stopSound(aws, sounds::kApuRunning);
    play(aws, sounds::kApuShutdown);
}

void Apu::spinUp(Aircraft& aircraft, Aws* aws) {
    const uint32_t now = aircraft.simTimeMs;
    voltage = 0.0f;
    if (speed < kRunningSpeed) {
        speed += frameSeconds(aircraft) * startRate(speed);
    } else {
        if (!isPlaying(aws, sounds::kApuRunning) || now - startTime >= kRunningSoundAfterMs) {
            playLooped(aws, sounds::kApuRunning);
            stopSound(aws, sounds::kApuStartup);
        }
        state = kRunning;
        runningSince = now;
    }
    if (!isPlaying(aws, sounds::kApuRunning) && now - startTime >= kRunningSoundAfterMs) {
        playLooped(aws, sounds::kApuRunning);
        stopSound(aws, sounds::kApuStartup);
    }
    if (!isPlaying(aws, sounds::kApuStartup) && !isPlaying(aws, sounds::kApuRunning)) {
        playLooped(aws, sounds::kApuRunning);
    }
}

void Apu::spoolDown(float seconds, Aws* aws) {
    voltage = speed >= kRunningSpeed ? generatorVoltage : 0.0f;
    if (speed == 0.0f) {
        state = kOff;
    }
    speed -= seconds * spoolDownRate(speed);
    if (isPlaying(aws, sounds::kApuRunning)) {
        stopSound(aws, sounds::kApuRunning);
    }
    if (isPlaying(aws, sounds::kApuStartup)) {
        stopSound(aws, sounds::kApuStartup);
    }
}

void Apu::run(Aircraft& aircraft, Aws* aws) {
    if (!fuelAvailable) {
        state = kSpoolingDown;
        return;
    }
    if (aircraft.simTimeMs - runningSince < kGeneratorDelayMs) {
        if (speed < targetSpeed) {
            speed += frameSeconds(aircraft) * kSettleRate;
            voltage = 0.0f;
        }
    } else {
        voltage = generatorVoltage;
    }
    burnFuel(aircraft);
    if (!isPlaying(aws, sounds::kApuStartup) && !isPlaying(aws, sounds::kApuRunning)) {
        playLooped(aws, sounds::kApuRunning);
    }
}

void Apu::burnFuel(Aircraft& aircraft) {
    fuelBurned += fuelFlow / 3600.0f * runningSeconds(aircraft);
    // The tank quantities are the fuel system's reading of the simulator. Until it has read
    // them, the burned fuel is kept, so that no tank is ever written from a quantity nobody
    // read.
    const FuelSystem* fuel = aircraft.fuelSystem();
    if (!fuel || !fuel->started || fuel->fuelWeightPerGallon <= 0.0f) {
        return;
    }
    const double gallons = fuelBurned / fuel->fuelWeightPerGallon;
    if (gallons < kGallonsPerTankWrite) {
        return;
    }
    const bool rightTank = fuel->tankSelector == 1 || fuel->tankSelector == 3;
    const double quantity = rightTank ? fuel->rightGallons : fuel->leftGallons;
    const double remaining = quantity < gallons ? quantity : quantity - gallons;
    simConnectServices().setDataOnSimObject(
        aircraft.simConnect, rightTank ? kRightMainTankDefinition : kLeftMainTankDefinition,
        platform::kUserObject, 0, 0, sizeof remaining, &remaining);
    fuelBurned = 0.0f;
}

void Apu::updateEgt(const Aircraft& aircraft) {
    const Adc* adc = aircraft.adc();
    const float outside = adc ? adc->totalAirTemperature : 0.0f;
    const float fraction = speed / targetSpeed;
    if (state != kStarting) {
        egt = outside + fraction * (egtPeak - outside);
    } else if (speed < 14.0f) {
        egt = outside + 30.0f * speed / 14.0f;
    } else {
        egt = outside + 30.0f + fraction * (egtPeak - outside - 30.0f);
    }
}

void Apu::drawRunningValues() {
    generatorVoltage = 27.8f + 0.1f * static_cast<float>(platform::randomDraw() % 5);
    egtPeak = 580.0f + static_cast<float>(platform::randomDraw() % 61);
}

} // namespace tavi::electric
