#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class Fs9Reader;
class Runway;
struct StateFile;

// The lists of the page records in the per-flight state: a count under "<key>.count", then each
// element under "<key>.<index>".
bool saveRunwayList(const Fs9Reader& reader, const StateFile& file, const char* section,
                    const std::string& key, const std::vector<Runway>& runways);
// Replaces the list by the stored runways; a missing count gives an empty list.
void loadRunwayList(const Fs9Reader& reader, const StateFile& file, const char* section,
                    const std::string& key, std::vector<Runway>& runways);
// Replaces the list by the stored texts.
void reloadStringList(const StateFile& file, const char* section, const std::string& key,
                      std::vector<std::string>& texts);

// The six name counters of a preview build, in a record's block from the offset on.
template <std::size_t Offset, class Block>
void putCounters(Block& block, const std::array<int32_t, 6>& counters) {
    block.template put<Offset>(counters[0]);
    block.template put<Offset + 4>(counters[1]);
    block.template put<Offset + 8>(counters[2]);
    block.template put<Offset + 12>(counters[3]);
    block.template put<Offset + 16>(counters[4]);
    block.template put<Offset + 20>(counters[5]);
}

template <std::size_t Offset, class Block>
void getCounters(const Block& block, std::array<int32_t, 6>& counters) {
    counters[0] = block.template get<Offset, int32_t>();
    counters[1] = block.template get<Offset + 4, int32_t>();
    counters[2] = block.template get<Offset + 8, int32_t>();
    counters[3] = block.template get<Offset + 12, int32_t>();
    counters[4] = block.template get<Offset + 16, int32_t>();
    counters[5] = block.template get<Offset + 20, int32_t>();
}

} // namespace tavi
