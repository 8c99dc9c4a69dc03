#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavi {

using SoundId = int32_t;

inline constexpr int kAircraftSoundCount = 60;

// The aircraft's sounds by SoundId, as files below the sounds folder. Sounds 54 and 55 are two
// independent sounds of one file, one per air-conditioning pack.
inline constexpr std::array<std::string_view, kAircraftSoundCount> kAircraftSoundFiles = {
    "Tcas\\adjust_vertical_speed.wav",
    "Tcas\\climb_climb.wav",
    "Tcas\\climb_crossing_climb.wav",
    "Tcas\\increase_climb.wav",
    "Tcas\\climb_now.wav",
    "Tcas\\descend_descend.wav",
    "Tcas\\descend_crossing_descend.wav",
    "Tcas\\increase_descend.wav",
    "Tcas\\descend_now.wav",
    "Tcas\\maintain_vertical_speed.wav",
    "Tcas\\maintain_vertical_speed_crossing.wav",
    "Tcas\\monitor_vertical_speed.wav",
    "Tcas\\traffic_traffic.wav",
    "Tcas\\clear_of_confict.wav",
    "Eicas\\caution.wav",
    "Eicas\\warning.wav",
    "Aws\\aural unit OK.wav",
    "Aws\\aural unit one channel.wav",
    "Aws\\aural unit one.wav",
    "Gpws\\whoop whoop pull up.wav",
    "Gpws\\sink rate.wav",
    "Gpws\\terrain terrain.wav",
    "Gpws\\terrain.wav",
    "Gpws\\dont sink.wav",
    "Gpws\\too low terrain.wav",
    "Gpws\\too low gear.wav",
    "Gpws\\too low flap.wav",
    "Gpws\\glideslope.wav",
    "Gpws\\bank angle.wav",
    "Gpws\\approaching minimums.wav",
    "Gpws\\minimums.wav",
    "Gpws\\100.wav",
    "Gpws\\200.wav",
    "Gpws\\500.wav",
    "Gpws\\windshear.wav",
    "Takeoff\\takeoff OK.wav",
    "Takeoff\\takeoff spoiler.wav",
    "Takeoff\\takeoff flaps.wav",
    "Takeoff\\takeoff trim.wav",
    "Takeoff\\takeoff brake.wav",
    "Speed\\high speed.wav",
    "Autopilot\\autopilot.wav",
    "Autopilot\\1000 feet.wav",
    "Gear\\landing gear.wav",
    "Trim\\trim.wav",
    "Pax\\paxsign.wav",
    "Button\\button pushing.wav",
    "Button\\knob.wav",
    "Button\\switch.wav",
    "APU\\APU Startup.wav",
    "APU\\APU Running.wav",
    "APU\\APU shut down.wav",
    "Batteries\\Batteries On.wav",
    "Batteries\\Batteries Startup.wav",
    "AC\\pack running.wav",
    "AC\\pack running.wav",
    "AC\\cabin.wav",
    "Stall\\Stall Warning.wav",
    "Air\\gearair.wav",
    "Air\\spoilerair.wav",
};

} // namespace tavi
