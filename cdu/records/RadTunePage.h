#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// The record behind RADIO TUNING and the NAV tuning list: the frequencies last entered (packed
// words, 0 for none), the stations tuned from the page and the side the list tunes.
class RadTunePage {
public:
    // The 16-byte block of the four recall frequencies under "<key>.data".
    void save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    int32_t adf1 = 0;
    int32_t adf2 = 0;
    int32_t com1 = 0;
    int32_t com2 = 0;
    int32_t nav1 = 0;
    int32_t nav2 = 0;
    std::string nav1Ident;
    std::string nav2Ident;
    bool nav1Manual = false;
    bool nav2Manual = false;
    // The sub-page of the tuning list: the NAV side it tunes, 1 or 2.
    int32_t navListSide = 1;
    int32_t navListReturnPage = 11;
};

} // namespace tavi
