#include "cdu/records/RunwayDataPage.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

using Block = StateBlob<24>;

Block pack(const RunwayDataPage& page) {
    Block block;
    block.put<0>(page.subPage);
    block.put<4>(page.pageCount);
    block.put<8>(page.windDirection);
    block.put<12>(page.windSpeed);
    block.put<16>(page.oat);
    block.put<20>(page.oatFromSensor);
    block.put<21>(page.windEntered);
    return block;
}

} // namespace

void RunwayDataPage::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                          const std::string& key) const {
    pack(*this).save(reader, file, section, key + ".data");
    runway.save(reader, file, section, key + ".rwy");
}

void RunwayDataPage::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                          const std::string& key) {
    Block block = pack(*this);
    block.load(reader, file, section, key + ".data");
    subPage = block.get<0, int32_t>();
    pageCount = block.get<4, int32_t>();
    windDirection = block.get<8, int32_t>();
    windSpeed = block.get<12, int32_t>();
    oat = block.get<16, float>();
    oatFromSensor = block.get<20, bool>();
    windEntered = block.get<21, bool>();
    runway.load(reader, file, section, key + ".rwy");
}

} // namespace tavi
