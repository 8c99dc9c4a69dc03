#include "cdu/records/DeparturePage.h"

#include "cdu/records/RecordState.h"
#include "core/StateBlob.h"

namespace tavi {

namespace {

using Block = StateBlob<64>;

Block pack(const DeparturePage& page) {
    Block block;
    block.put<0>(page.runwaySubPage);
    block.put<4>(page.runwayPageCount);
    block.put<8>(page.sidSubPage);
    block.put<12>(page.sidPageCount);
    block.put<16>(page.transitionSubPage);
    block.put<20>(page.transitionPageCount);
    block.put<24>(page.reviewSubPage);
    block.put<28>(page.reviewPageCount);
    block.put<32>(page.reviewReturnPage);
    block.put<36>(page.reviewReturnSubPage);
    putCounters<40>(block, page.fixNameCounters);
    return block;
}

} // namespace

void DeparturePage::reset(const FlightPlanContext& context) {
    fpl.clear(context);
    fixNameCounters.fill(1);
    icao.clear();
    sid.clear();
    sidTransition.clear();
    depRunways.clear();
    sids.clear();
    sidTransitions.clear();
}

void DeparturePage::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) const {
    pack(*this).save(reader, file, section, key + ".data");
    saveStringField(file, section, (key + ".icao").c_str(), icao);
    saveRunwayList(reader, file, section, key + ".depRunways", depRunways);
    saveStringList(file, section, (key + ".sids").c_str(), sids);
    saveStringList(file, section, (key + ".sidTransitions").c_str(), sidTransitions);
    depRwy.save(reader, file, section, key + ".depRwy");
    saveStringField(file, section, (key + ".sid").c_str(), sid);
    saveStringField(file, section, (key + ".sidTransition").c_str(), sidTransition);
    fpl.save(reader, file, section, key + ".fpl");
}

void DeparturePage::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) {
    Block block = pack(*this);
    block.load(reader, file, section, key + ".data");
    runwaySubPage = block.get<0, int32_t>();
    runwayPageCount = block.get<4, int32_t>();
    sidSubPage = block.get<8, int32_t>();
    sidPageCount = block.get<12, int32_t>();
    transitionSubPage = block.get<16, int32_t>();
    transitionPageCount = block.get<20, int32_t>();
    reviewSubPage = block.get<24, int32_t>();
    reviewPageCount = block.get<28, int32_t>();
    reviewReturnPage = block.get<32, int32_t>();
    reviewReturnSubPage = block.get<36, int32_t>();
    getCounters<40>(block, fixNameCounters);
    icao = loadStringField(file, section, (key + ".icao").c_str());
    loadRunwayList(reader, file, section, key + ".depRunways", depRunways);
    reloadStringList(file, section, key + ".sids", sids);
    reloadStringList(file, section, key + ".sidTransitions", sidTransitions);
    depRwy.load(reader, file, section, key + ".depRwy");
    sid = loadStringField(file, section, (key + ".sid").c_str());
    sidTransition = loadStringField(file, section, (key + ".sidTransition").c_str());
    fpl.load(reader, file, section, key + ".fpl");
}

} // namespace tavi
