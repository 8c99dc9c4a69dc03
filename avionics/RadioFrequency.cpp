#include "avionics/RadioFrequency.h"

#include "core/Format.h"

namespace tavi {

namespace {

constexpr int kComLowestMhz = 118;
constexpr int kComHighestMhz = 136;
constexpr int kComHighestKhz = 975;
constexpr int kNavLowestMhz = 108;
constexpr int kNavHighestMhz = 117;
constexpr int kNavHighestKhz = 950;
constexpr int kChannelSpacingKhz = 25;

// The number whose decimal digits the nibbles hold.
int32_t fromBcd(uint32_t nibbles, int digits) {
    int32_t number = 0;
    for (int digit = digits - 1; digit >= 0; --digit) {
        number = number * 10 + static_cast<int32_t>((nibbles >> (4 * digit)) & 0xF);
    }
    return number;
}

// The last `digits` decimal digits of a non-negative number, one per nibble.
uint32_t toBcd(int32_t number, int digits) {
    uint32_t nibbles = 0;
    for (int digit = 0; digit < digits; ++digit) {
        nibbles |= static_cast<uint32_t>(number % 10) << (4 * digit);
        number /= 10;
    }
    return nibbles;
}

int wrapAround(int value, int lowest, int highest) {
    if (value > highest) {
        return lowest;
    }
    if (value < lowest) {
        return highest;
    }
    return value;
}

int32_t stepFrequency(int32_t bcd, int dMhz, int dKhz, int lowestMhz, int highestMhz,
                      int highestKhz) {
    if (bcd == 0) {
        return makeFrequencyBcd(lowestMhz, 0);
    }
    const auto nibbles = static_cast<uint32_t>(bcd);
    const int mhz = fromBcd(nibbles >> 16, 3) + dMhz;
    const int khz = fromBcd(nibbles >> 4, 3) + dKhz;
    return makeFrequencyBcd(wrapAround(mhz, lowestMhz, highestMhz), wrapAround(khz, 0, highestKhz));
}

int nonNegative(int value) {
    return value < 0 ? 0 : value;
}

} // namespace

int32_t makeFrequencyBcd(int mhz, int khz) {
    const int channelKhz = nonNegative(khz) - nonNegative(khz) % kChannelSpacingKhz;
    return static_cast<int32_t>((toBcd(nonNegative(mhz), 3) << 16) | (toBcd(channelKhz, 3) << 4));
}

int32_t stepComFrequency(int32_t bcd, int dMhz, int dKhz) {
    return stepFrequency(bcd, dMhz, dKhz, kComLowestMhz, kComHighestMhz, kComHighestKhz);
}

int32_t stepNavFrequency(int32_t bcd, int dMhz, int dKhz) {
    return stepFrequency(bcd, dMhz, dKhz, kNavLowestMhz, kNavHighestMhz, kNavHighestKhz);
}

int32_t nearestComChannel(int32_t bcd) {
    if (bcd == 0) {
        return 0;
    }
    const auto nibbles = static_cast<uint32_t>(bcd);
    int mhz = fromBcd(nibbles >> 16, 3);
    int khz = (fromBcd(nibbles >> 4, 3) + kChannelSpacingKhz / 2) / kChannelSpacingKhz *
              kChannelSpacingKhz;
    if (khz > kComHighestKhz) {
        ++mhz;
        khz = 0;
    }
    if (mhz > kComHighestMhz) {
        mhz = kComHighestMhz;
        khz = kComHighestKhz;
    }
    return makeFrequencyBcd(mhz, khz);
}

std::string comFrequencyText(int32_t bcd) {
    if (bcd == 0) {
        return {};
    }
    const auto nibbles = static_cast<uint32_t>(bcd);
    return format("%x.%03x", nibbles >> 16, (nibbles >> 4) & 0xFFF);
}

std::string adfFrequencyText(int32_t bcd) {
    const auto nibbles = static_cast<uint32_t>(bcd);
    return format("%4x.%1x", nibbles >> 16, (nibbles >> 12) & 0xF);
}

std::string transponderCodeText(int32_t code) {
    return format("%04x", static_cast<uint32_t>(code));
}

int32_t adfTenths(int32_t bcd) {
    return fromBcd(static_cast<uint32_t>(bcd) >> 12, 5);
}

int32_t makeAdfBcd(int32_t tenths) {
    return static_cast<int32_t>(toBcd(nonNegative(tenths), 5) << 12);
}

} // namespace tavi
