#include "navdata/PilotPoint.h"

#include "core/Fs9Reader.h"

namespace tavi {

namespace {

StateField typeField(const std::string& key, int32_t& type) {
    StateField field;
    field.key = key.c_str();
    field.data = &type;
    field.type = StateFieldType::Int32;
    return field;
}

} // namespace

bool PilotPoint::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                      const std::string& prefix) const {
    bool saved = Waypoint::save(reader, file, section, prefix);
    int32_t type = static_cast<int32_t>(ppType);
    const std::string typeKey = prefix + ".ppType";
    saved = reader.saveField(section, typeField(typeKey, type), file) && saved;
    return saveStringField(file, section, (prefix + ".pbd").c_str(), definition) && saved;
}

void PilotPoint::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                      const std::string& prefix) {
    Waypoint::load(reader, file, section, prefix);
    int32_t type = static_cast<int32_t>(ppType);
    const std::string typeKey = prefix + ".ppType";
    reader.loadField(section, typeField(typeKey, type), file);
    ppType = static_cast<PilotPointType>(type);
    definition = loadStringField(file, section, (prefix + ".pbd").c_str());
}

} // namespace tavi
