#include "cdu/records/RadialPattern.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

using Block = StateBlob<40>;

Block pack(const RadialPattern& pattern) {
    Block block;
    block.put<0>(pattern.inboundDistance);
    block.put<8>(pattern.inboundCourse);
    block.put<16>(pattern.outboundDistance);
    block.put<24>(pattern.outboundCourse);
    block.put<32>(pattern.inboundTrue);
    block.put<33>(pattern.outboundTrue);
    block.put<34>(pattern.headingSelect);
    block.put<36>(pattern.returnSubPage);
    return block;
}

} // namespace

void RadialPattern::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) const {
    pack(*this).save(reader, file, section, key);
}

void RadialPattern::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) {
    Block block = pack(*this);
    block.load(reader, file, section, key);
    inboundDistance = block.get<0, double>();
    inboundCourse = block.get<8, double>();
    outboundDistance = block.get<16, double>();
    outboundCourse = block.get<24, double>();
    inboundTrue = block.get<32, bool>();
    outboundTrue = block.get<33, bool>();
    headingSelect = block.get<34, bool>();
    returnSubPage = block.get<36, int32_t>();
}

} // namespace tavi
