#include "navdata/Ils.h"

#include "core/Fs9Reader.h"

#include <array>

namespace tavi {

namespace {

struct IlsValues {
    int32_t category;
    double localizerCourse;
    bool hasDme;
};

// The keys of the ILS fields, in writing order, with the texts they are made of.
class IlsFields {
public:
    IlsFields(const std::string& prefix, IlsValues& values)
        : category(prefix + ".category"), course(prefix + ".crs"),
          hasDme(prefix + ".hasDme"), fields{
                                          field(category, &values.category, StateFieldType::Int32),
                                          field(course, &values.localizerCourse,
                                                StateFieldType::Double),
                                          field(hasDme, &values.hasDme, StateFieldType::Bool)} {}

    const std::array<StateField, 3>& all() const { return fields; }

private:
    static StateField field(const std::string& key, void* data, StateFieldType type) {
        StateField made;
        made.key = key.c_str();
        made.data = data;
        made.type = type;
        return made;
    }

    std::string category;
    std::string course;
    std::string hasDme;
    std::array<StateField, 3> fields;
};

} // namespace

bool Ils::save(const Fs9Reader& reader, const StateFile& file, const char* section,
               const std::string& prefix) const {
    bool saved = Waypoint::save(reader, file, section, prefix);
    IlsValues values{category, localizerCourse, hasDme};
    const IlsFields fields(prefix, values);
    for (const StateField& field : fields.all()) {
        saved = reader.saveField(section, field, file) && saved;
    }
    return saved;
}

void Ils::load(const Fs9Reader& reader, const StateFile& file, const char* section,
               const std::string& prefix) {
    Waypoint::load(reader, file, section, prefix);
    IlsValues values{category, localizerCourse, hasDme};
    const IlsFields fields(prefix, values);
    for (const StateField& field : fields.all()) {
        reader.loadField(section, field, file);
    }
    category = values.category;
    localizerCourse = values.localizerCourse;
    hasDme = values.hasDme;
}

} // namespace tavi
