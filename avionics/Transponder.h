#pragma once

#include <cstdint>

namespace tavi {

// Modes of the transponder; the TCAS works in the last two.
enum TransponderModeValue : int32_t {
    kTransponderStandby = 0,
    kTransponderAtcOn = 1,
    kTransponderAtcAltitude = 2,
    kTransponderTaOnly = 3,
    kTransponderTaRa = 4,
};

// The one transponder of the aircraft, shared by both radio sides and read by the TCAS. The
// codes hold four octal digits, one per nibble (7700 is 0x7700).
extern int32_t TransponderMode;
// The code squawked; read back from the simulator every frame.
extern int32_t TransponderCode;
// The code waiting to be swapped in.
extern int32_t TransponderPresetCode;

// ATC ON -> ATC ALT -> TA ONLY -> TA/RA -> ATC ON; STANDBY steps to ATC ON.
void nextTransponderMode();
// TA/RA -> TA ONLY -> ATC ALT -> ATC ON -> TA/RA; STANDBY steps to TA/RA.
void previousTransponderMode();

} // namespace tavi
