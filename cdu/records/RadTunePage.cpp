#include "cdu/records/RadTunePage.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

using Block = StateBlob<16>;

Block pack(const RadTunePage& page) {
    Block block;
    block.put<0>(page.adf1);
    block.put<4>(page.adf2);
    block.put<8>(page.com1);
    block.put<12>(page.com2);
    return block;
}

} // namespace

void RadTunePage::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                       const std::string& key) const {
    pack(*this).save(reader, file, section, key + ".data");
}

void RadTunePage::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                       const std::string& key) {
    Block block = pack(*this);
    block.load(reader, file, section, key + ".data");
    adf1 = block.get<0, int32_t>();
    adf2 = block.get<4, int32_t>();
    com1 = block.get<8, int32_t>();
    com2 = block.get<12, int32_t>();
}

} // namespace tavi
