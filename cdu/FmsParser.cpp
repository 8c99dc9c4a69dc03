#include "cdu/FmsParser.h"

#include "core/Format.h"
#include "navdata/Navaid.h"

#include <cctype>
#include <charconv>

namespace tavi {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isIdentCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-';
}

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

// The digits read as hexadecimal: the binary-coded decimal form of a decimal number.
int32_t bcdOf(std::string_view digits) {
    int32_t value = 0;
    for (const char digit : digits) {
        value = value * 16 + (digit - '0');
    }
    return value;
}

int32_t decimalOf(std::string_view digits) {
    int32_t value = 0;
    for (const char digit : digits) {
        value = value * 10 + (digit - '0');
    }
    return value;
}

} // namespace

const std::array<TacanChannelPair, 127> tacanChannelTable = buildChannelTable();

bool FmsParser::isValidIdent(std::string_view text) {
    if (text.empty() || text.size() > 5 || text.front() == '-') {
        return false;
    }
    for (const char c : text) {
        if (!isIdentCharacter(c)) {
            return false;
        }
    }
    return true;
}

bool FmsParser::isTemporaryIdent(std::string_view text) {
    if (text.size() < 2 || text.size() > 6) {
        return false;
    }
    const char first = text.front();
    return (first == '*' || first == '#' || first == '&') && isValidIdent(text.substr(1));
}

bool FmsParser::parseNavFrequency(std::string_view text, int32_t& frequency) {
    if (text.empty()) {
        return false;
    }
    int dots = 0;
    for (const char c : text) {
        if (c == '.') {
            ++dots;
        } else if (!isDigit(c)) {
            return false;
        }
    }
    if (dots > 1) {
        return false;
    }
    std::string full(text);
    const std::size_t dot = full.find('.');
    if (dot == std::string::npos) {
        if (full.size() == 2) {
            full.insert(0, "1");
        }
        full += ".00";
    } else {
        const std::size_t decimals = full.size() - dot - 1;
        if (dot == 2) {
            full.insert(0, "1");
        }
        if (decimals == 1) {
            full += "0";
        } else if (decimals != 2) {
            return false;
        }
    }
    const std::size_t point = full.find('.');
    std::string_view megahertz = std::string_view(full).substr(0, point);
    const std::string_view hundredths = std::string_view(full).substr(point + 1);
    while (megahertz.size() > 1 && megahertz.front() == '0') {
        megahertz.remove_prefix(1);
    }
    // More digits than any NAV frequency has.
    if (megahertz.size() > 3) {
        return false;
    }
    const int32_t whole = decimalOf(megahertz);
    if (whole < 108 || whole > 117 || decimalOf(hundredths) % 5 != 0) {
        return false;
    }
    frequency = ((bcdOf(megahertz) << 8) | bcdOf(hundredths)) << 8;
    return true;
}

std::string FmsParser::formatNavFrequency(int32_t frequency) {
    const auto word = static_cast<uint32_t>(frequency);
    return format("%x.%02x", word >> 16, (word >> 8) & 0xFF);
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
    while (digits < channel.size() && isDigit(channel[digits])) {
        ++digits;
    }
    const int32_t number = decimalOf(channel.substr(0, digits));
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
