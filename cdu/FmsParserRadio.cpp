// The entry parser's radio frequencies, TACAN channels and navaid labels.
#include "cdu/EntryText.h"
#include "cdu/FmsParser.h"
#include "core/Format.h"
#include "navdata/Navaid.h"

#include <algorithm>
#include <charconv>

namespace tavi {

namespace {

// The float nearest to hundredths / 100, read from its decimal text.
float frequencyFromHundredths(int hundredths) {
    const std::string text = format("%d.%02d", hundredths / 100, hundredths % 100);
    float value = 0.0f;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::array<TacanChannelPair, 127> buildChannelTable() {
    std::array<TacanChannelPair, 127> table{};
    for (int channel = 1; channel <= 126; ++channel) {
        TacanChannelPair& pair = table[static_cast<std::size_t>(channel)];
        if (channel <= 16) {
            pair.x = frequencyFromHundredths(13440 + 10 * (channel - 1));
        } else if (channel <= 59) {
            pair.x = frequencyFromHundredths(10800 + 10 * (channel - 17));
            pair.y = frequencyFromHundredths(10805 + 10 * (channel - 17));
        } else if (channel <= 69) {
            pair.x = frequencyFromHundredths(13330 + 10 * (channel - 60));
        } else {
            pair.x = frequencyFromHundredths(11230 + 10 * (channel - 70));
            pair.y = frequencyFromHundredths(11235 + 10 * (channel - 70));
        }
    }
    return table;
}

// Reads the leading decimal number of a text as a float, 0.0 when none.
float leadingFloat(std::string_view text) {
    float value = 0.0f;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Digits and at most one ".", the characters every frequency entry is made of.
bool isFrequencyText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return entry::isDigit(c) || c == '.';
    }) && std::count(text.begin(), text.end(), '.') <= 1;
}

// A COM or NAV entry completed to its full form: a two-digit entry or one with the "." in
// third place gets the leading "1", and the decimals are filled up with zeros to the given
// count; more decimals than that, or none after a ".", are refused.
bool completeVhfFrequency(std::string_view text, std::size_t decimals, std::string& whole,
                          std::string& fraction) {
    if (!isFrequencyText(text)) {
        return false;
    }
    const std::size_t dot = text.find('.');
    const std::string_view wholeText = text.substr(0, dot);
    const std::string_view typed =
        dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    if (dot != std::string_view::npos && (typed.empty() || typed.size() > decimals)) {
        return false;
    }
    const bool leadingOne = dot == std::string_view::npos ? text.size() == 2 : dot == 2;
    whole = (leadingOne ? "1" : "") + std::string(wholeText);
    fraction = std::string(typed) + std::string(decimals - typed.size(), '0');
    return true;
}

} // namespace

const std::array<TacanChannelPair, 127> tacanChannelTable = buildChannelTable();

bool FmsParser::parseComFrequency(std::string_view text, int32_t& frequency) {
    std::string whole;
    std::string kilohertz;
    if (!completeVhfFrequency(text, 3, whole, kilohertz)) {
        return false;
    }
    const int32_t megahertz = entry::decimalOf(whole);
    if (megahertz < 118 || megahertz > 136 || entry::decimalOf(kilohertz) % 25 != 0) {
        return false;
    }
    frequency = ((entry::bcdOf(whole) << 12) | entry::bcdOf(kilohertz)) << 4;
    return true;
}

bool FmsParser::parseNavFrequency(std::string_view text, int32_t& frequency) {
    std::string whole;
    std::string hundredths;
    if (!completeVhfFrequency(text, 2, whole, hundredths)) {
        return false;
    }
    const int32_t megahertz = entry::decimalOf(whole);
    if (megahertz < 108 || megahertz > 117 || entry::decimalOf(hundredths) % 5 != 0) {
        return false;
    }
    frequency = ((entry::bcdOf(whole) << 8) | entry::bcdOf(hundredths)) << 8;
    return true;
}

bool FmsParser::parseAdfFrequency(std::string_view text, int32_t& frequency) {
    if (!isFrequencyText(text)) {
        return false;
    }
    const std::size_t dot = text.find('.');
    if (dot != std::string_view::npos && dot + 2 != text.size()) {
        return false;
    }
    const std::string_view whole = text.substr(0, dot);
    const char tenths = dot == std::string_view::npos ? '0' : text.back();
    // The range is checked on the decimal value: its binary-coded form would wrap for entries
    // of more than eight digits and let them through.
    const int32_t kilohertz = entry::decimalOf(whole);
    if (kilohertz < 100 || kilohertz > 1799 || (tenths != '0' && tenths != '5')) {
        return false;
    }
    frequency = ((entry::bcdOf(whole) << 4) | (tenths - '0')) << 12;
    return true;
}

std::string FmsParser::formatComFrequency(int32_t frequency) {
    const auto word = static_cast<uint32_t>(frequency);
    return format("%x.%03x", word >> 16, (word >> 4) & 0xFFF);
}

std::string FmsParser::formatNavFrequency(int32_t frequency) {
    const auto word = static_cast<uint32_t>(frequency);
    return format("%x.%02x", word >> 16, (word >> 8) & 0xFF);
}

std::string FmsParser::formatAdfFrequency(int32_t frequency) {
    const auto word = static_cast<uint32_t>(frequency);
    return format("%3x.%1x", word >> 16, (word >> 12) & 0xF);
}

std::string FmsParser::frequencyToTacanChannel(int32_t frequency) {
    const float megahertz = leadingFloat(formatNavFrequency(frequency));
    for (int channel = 1; channel <= 126; ++channel) {
        const TacanChannelPair& pair = tacanChannelTable[static_cast<std::size_t>(channel)];
        // A 0.0 entry is a channel without a pairing: it never matches.
        if (pair.x != 0.0f && pair.x == megahertz) {
            return format("%03dX", channel);
        }
        if (pair.y != 0.0f && pair.y == megahertz) {
            return format("%03dY", channel);
        }
    }
    return {};
}

int32_t FmsParser::tacanChannelToFrequency(std::string_view channel) {
    if (channel.size() != 4) {
        return 0;
    }
    std::size_t digits = 0;
    while (digits < channel.size() && entry::isDigit(channel[digits])) {
        ++digits;
    }
    const int32_t number = entry::decimalOf(channel.substr(0, digits));
    if (number < 1 || number > 126) {
        return 0;
    }
    const TacanChannelPair& pair = tacanChannelTable[static_cast<std::size_t>(number)];
    const float megahertz = channel[3] == 'Y' ? pair.y : pair.x;
    char text[16];
    const auto written =
        std::to_chars(text, text + sizeof text, megahertz, std::chars_format::fixed, 2);
    int32_t frequency = 0;
    if (!parseNavFrequency(std::string_view(text, static_cast<std::size_t>(written.ptr - text)),
                           frequency)) {
        return 0;
    }
    return frequency;
}

void FmsParser::labelNavaid(Navaid& navaid) {
    const std::string usage = navaid.usage == "B" ? "U" : navaid.usage;
    switch (navaid.navaidType) {
    case kNavaidVor:
        navaid.strType = "VOR";
        navaid.typeText = "V " + usage;
        break;
    case kNavaidVortac:
        navaid.strType = "VORTAC";
        navaid.typeText = "VT" + usage;
        break;
    case kNavaidTacan:
        navaid.strType = "TACAN";
        navaid.typeText = " T" + usage;
        break;
    case kNavaidVorDme:
        navaid.strType = "VORDME";
        navaid.typeText = "VD" + usage;
        break;
    case kNavaidNdb:
        navaid.strType = "NDB";
        break;
    case kNavaidNdbDme:
        navaid.strType = "NDBDME";
        navaid.typeText = " D" + usage;
        break;
    case kNavaidDme:
        navaid.strType = "DME";
        navaid.typeText = " D" + usage;
        break;
    default:
        return;
    }
    if (navaid.navaidType == kNavaidTacan || navaid.navaidType == kNavaidNdbDme ||
        navaid.navaidType == kNavaidDme) {
        navaid.frequency = tacanChannelToFrequency(navaid.channel);
    }
}

} // namespace tavi
