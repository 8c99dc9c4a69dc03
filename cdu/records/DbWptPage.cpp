#include "cdu/records/DbWptPage.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

using Block = StateBlob<8>;

Block pack(const DbWptPage& page) {
    Block block;
    block.put<0>(page.subPage);
    block.put<4>(page.pageCount);
    return block;
}

} // namespace

void DbWptPage::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                     const std::string& key) const {
    pack(*this).save(reader, file, section, key + ".data");
    waypoint.save(reader, file, section, key + ".wpt");
    airport.save(reader, file, section, key + ".apt");
    ils.save(reader, file, section, key + ".ils");
    navaid.save(reader, file, section, key + ".nid");
}

void DbWptPage::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                     const std::string& key) {
    Block block = pack(*this);
    block.load(reader, file, section, key + ".data");
    subPage = block.get<0, int32_t>();
    pageCount = block.get<4, int32_t>();
    waypoint.load(reader, file, section, key + ".wpt");
    airport.load(reader, file, section, key + ".apt");
    ils.load(reader, file, section, key + ".ils");
    navaid.load(reader, file, section, key + ".nid");
}

} // namespace tavi
