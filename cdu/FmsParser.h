#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

class Navaid;

// The VHF frequencies (MHz) paired with DME/TACAN channel n, X and Y; 0.0 where the channel
// has no pairing. Row 0 is unused.
struct TacanChannelPair {
    float x = 0.0f;
    float y = 0.0f;
};
extern const std::array<TacanChannelPair, 127> tacanChannelTable;

// The CDU's entry parser and formatter: turns scratch-pad entries into values and values into
// the texts the pages show. Frequencies are binary-coded decimal words: NAV 113.90 MHz is
// 0x01139000.
class FmsParser {
public:
    // 1 to 5 letters, digits or "-", not beginning with "-".
    static bool isValidIdent(std::string_view text);
    // "*", "#" or "&" followed by a valid identifier: a point the FMS makes for itself.
    static bool isTemporaryIdent(std::string_view text);

    // A NAV frequency entry (108.00 to 117.95 MHz on a 50 kHz raster; "13.9" stands for
    // 113.90) as its frequency word.
    static bool parseNavFrequency(std::string_view text, int32_t& frequency);
    // "113.90" for 0x01139000.
    static std::string formatNavFrequency(int32_t frequency);

    // The channel ("087X") paired with a NAV frequency, or an empty text.
    static std::string frequencyToTacanChannel(int32_t frequency);
    // The NAV frequency word paired with a channel, or 0.
    static int32_t tacanChannelToFrequency(std::string_view channel);

    // Sets the navaid's type texts from its station type and usage; a channel-only station
    // (TACAN, DME, NDB-DME) gets the frequency paired with its channel.
    static void labelNavaid(Navaid& navaid);
};

} // namespace tavi
