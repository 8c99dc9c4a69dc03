#pragma once

#include <cstdint>
#include <string>

namespace tavi {

// Radio frequencies in the simulator's binary-coded decimal layouts.
//
// COM and NAV ("Frequency BCD32"): the three MHz digits in bits 27..16, the three kHz digits in
// bits 15..4, bits 3..0 zero; 118.025 MHz is 0x01180250. The value 0 means no frequency.
// ADF ("Frequency ADF BCD32"): five digits of tenths of kHz in bits 31..12; 345.5 kHz is
// 0x03455000.
// Transponder code ("Bco16"): four octal digits, one per nibble; 7700 is 0x7700.

// The COM/NAV frequency of mhz and of khz rounded down to a multiple of 25.
int32_t makeFrequencyBcd(int mhz, int khz);
// Steps the MHz and the kHz apart, each wrapping within 118..136 MHz and 0..975 kHz without a
// carry between them. An empty frequency gives 118.000 and is not stepped.
int32_t stepComFrequency(int32_t bcd, int dMhz, int dKhz);
// The same within 108..117 MHz and 0..950 kHz; an empty frequency gives 108.000.
int32_t stepNavFrequency(int32_t bcd, int dMhz, int dKhz);
// The 25 kHz COM channel nearest a frequency the simulator holds, which may be an 8.33 kHz
// channel such as 118.005 or 118.015; never above 136.975. 0 stays 0.
int32_t nearestComChannel(int32_t bcd);
// "118.025"; empty for no frequency. Also the text of a NAV frequency.
std::string comFrequencyText(int32_t bcd);
// " 345.5"
std::string adfFrequencyText(int32_t bcd);
// "7700"
std::string transponderCodeText(int32_t code);

// An ADF frequency as its number of tenths of kHz, and back.
int32_t adfTenths(int32_t bcd);
int32_t makeAdfBcd(int32_t tenths);

} // namespace tavi
