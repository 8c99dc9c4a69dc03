#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

class Fs9Reader;
struct StateFile;

// The ARINC 424 path terminator of a procedure leg, in the order of the code table.
enum class TerminalLegType : int32_t {
    AF = 0,
    CA,
    CD,
    CF,
    CI,
    CR,
    DF,
    FA,
    FC,
    FD,
    FM,
    HA,
    HF,
    HM,
    IF,
    PI,
    RF,
    TF,
    VA,
    VD,
    VI,
    VM,
    VR,
    DS,
};

// Procedure kinds of a leg.
inline constexpr int32_t kProcRoute = 0;
inline constexpr int32_t kProcStar = 1;
inline constexpr int32_t kProcSid = 2;
inline constexpr int32_t kProcApproach = 3;
inline constexpr int32_t kProcApproachTransition = 4;
inline constexpr int32_t kProcMissedApproach = 5;

// Required turn directions of a leg.
inline constexpr int32_t kTurnNone = 0;
inline constexpr int32_t kTurnLeft = 1;
inline constexpr int32_t kTurnRight = 2;

// One leg of a departure, arrival or approach procedure as the navigation database gives it.
class TerminalLeg {
public:
    TerminalLeg() = default;
    virtual ~TerminalLeg() = default;
    TerminalLeg(const TerminalLeg&) = default;
    TerminalLeg& operator=(const TerminalLeg&) = default;

    // The leg type of a two-letter code, compared exactly; any other text gives TF.
    static TerminalLegType typeFromTrackCode(std::string_view code);
    // The text is one of the two-letter codes of the leg types.
    static bool isTrackCode(std::string_view code);

    // Writes the record into the section of the per-flight state file: "<prefix>.data" holds
    // every field before the altitude text, "<prefix>.alt" the altitude text. A flight-plan leg
    // passes its own prefix followed by ".trmLeg". Both keys are written even when one fails;
    // false when any failed.
    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) const;
    // Reads the record back: the numbers keep their values when "<prefix>.data" is missing, the
    // altitude text is empty when "<prefix>.alt" is.
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix);

    int32_t proc = kProcRoute;
    int32_t turnDirection = kTurnNone;
    TerminalLegType legType = TerminalLegType::TF;
    // Set by the flight director once the leg's turn has been flown.
    bool turnDirectionDone = false;
    bool flyOver = false;
    int32_t reserved = 0;
    int32_t fixId = 0;
    double fixLatitude = 0.0;
    double fixLongitude = 0.0;
    int32_t navaidId = 0;
    double navaidLatitude = 0.0;
    double navaidLongitude = 0.0;
    float navaidBearing = 0.0f;
    float navaidDistance = 0.0f;
    float course = 0.0f;
    float distance = 0.0f;
    float verticalAngle = 0.0f;
    int32_t reserved2 = 0;
    // The altitude text as the database holds it; "MAP" marks the missed-approach point.
    std::string altitude;
};

} // namespace tavi
