#include "cdu/records/RecordState.h"

#include "core/Fs9Reader.h"
#include "navdata/Runway.h"

#include <algorithm>

namespace tavi {

namespace {

constexpr int32_t kMaxStoredRunways = 256;

StateField countField(const std::string& key, int32_t& count) {
    StateField field;
    field.key = key.c_str();
    field.data = &count;
    field.type = StateFieldType::Int32;
    field.size = sizeof count;
    return field;
}

} // namespace

bool saveRunwayList(const Fs9Reader& reader, const StateFile& file, const char* section,
                    const std::string& key, const std::vector<Runway>& runways) {
    int32_t count = static_cast<int32_t>(runways.size());
    const std::string countKey = key + ".count";
    bool saved = reader.saveField(section, countField(countKey, count), file);
    for (std::size_t i = 0; i < runways.size(); ++i) {
        saved = runways[i].save(reader, file, section, key + "." + std::to_string(i)) && saved;
    }
    return saved;
}

void loadRunwayList(const Fs9Reader& reader, const StateFile& file, const char* section,
                    const std::string& key, std::vector<Runway>& runways) {
    runways.clear();
    int32_t count = 0;
    const std::string countKey = key + ".count";
    reader.loadField(section, countField(countKey, count), file);
    // A damaged state file must not make the load build millions of runways: no airport or
    // procedure has more than this.
    count = std::min(count, kMaxStoredRunways);
    for (int32_t i = 0; i < count; ++i) {
        Runway runway;
        runway.load(reader, file, section, key + "." + std::to_string(i));
        runways.push_back(runway);
    }
}

void reloadStringList(const StateFile& file, const char* section, const std::string& key,
                      std::vector<std::string>& texts) {
    texts.clear();
    loadStringList(file, section, key.c_str(), texts);
}

} // namespace tavi
