#include "navdata/TerminalLeg.h"

#include <array>

namespace tavi {

namespace {

constexpr std::array<std::string_view, 24> kTrackCodes = {
    "AF", "CA", "CD", "CF", "CI", "CR", "DF", "FA", "FC", "FD", "FM", "HA",
    "HF", "HM", "IF", "PI", "RF", "TF", "VA", "VD", "VI", "VM", "VR", "DS",
};

} // namespace

TerminalLegType TerminalLeg::typeFromTrackCode(std::string_view code) {
    for (std::size_t index = 0; index < kTrackCodes.size(); ++index) {
        if (kTrackCodes[index] == code) {
            return static_cast<TerminalLegType>(index);
        }
    }
    return TerminalLegType::TF;
}

} // namespace tavi
