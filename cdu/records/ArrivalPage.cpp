#include "cdu/records/ArrivalPage.h"

#include "cdu/records/RecordState.h"
#include "core/StateBlob.h"

namespace tavi {

namespace {

using Block = StateBlob<72>;

Block pack(const ArrivalPage& page) {
    Block block;
    block.put<0>(page.runwaySubPage);
    block.put<4>(page.runwayPageCount);
    block.put<8>(page.starSubPage);
    block.put<12>(page.starPageCount);
    block.put<16>(page.starTransitionSubPage);
    block.put<20>(page.starTransitionPageCount);
    block.put<24>(page.approachSubPage);
    block.put<28>(page.approachPageCount);
    block.put<32>(page.approachTransitionSubPage);
    block.put<36>(page.approachTransitionPageCount);
    block.put<40>(page.reviewSubPage);
    block.put<44>(page.reviewPageCount);
    putCounters<48>(block, page.fixNameCounters);
    return block;
}

// The choice texts in the order the state file keeps them, with their key suffixes.
template <class Page>
auto storedStrings(Page& page) {
    using Text = decltype(&page.star);
    return std::array<std::pair<const char*, Text>, 10>{
        {{".star", &page.star},
         {".starTransition", &page.starTransition},
         {".starSel", &page.starSel},
         {".starTransitionSel", &page.starTransitionSel},
         {".iap", &page.iap},
         {".iapFull", &page.iapFull},
         {".iapTransition", &page.iapTransition},
         {".iapSel", &page.iapSel},
         {".iapFullSel", &page.iapFullSel},
         {".iapTransitionSel", &page.iapTransitionSel}}};
}

} // namespace

void ArrivalPage::reset(const FlightPlanContext& context) {
    fpl.clear(context);
    fixNameCounters.fill(1);
    icao.clear();
    for (std::vector<Runway>* runways : {&arrRunways, &iapRunways, &starRunways}) {
        runways->clear();
    }
    for (std::vector<std::string>* texts :
         {&stars, &starTransitions, &iaps, &iapsFull, &iapTransitions}) {
        texts->clear();
    }
    for (const auto& [suffix, text] : storedStrings(*this)) {
        text->clear();
    }
    arrRwy.ident.clear();
    selArrRwy.ident.clear();
}

void ArrivalPage::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                       const std::string& key) const {
    pack(*this).save(reader, file, section, key + ".data");
    saveStringField(file, section, (key + ".icao").c_str(), icao);
    saveRunwayList(reader, file, section, key + ".arrRunways", arrRunways);
    saveStringList(file, section, (key + ".stars").c_str(), stars);
    saveStringList(file, section, (key + ".starTransitions").c_str(), starTransitions);
    saveStringList(file, section, (key + ".iaps").c_str(), iaps);
    saveStringList(file, section, (key + ".iapsFull").c_str(), iapsFull);
    saveStringList(file, section, (key + ".iapTransitions").c_str(), iapTransitions);
    saveRunwayList(reader, file, section, key + ".iapRunways", iapRunways);
    saveRunwayList(reader, file, section, key + ".starRunways", starRunways);
    arrRwy.save(reader, file, section, key + ".arrRwy");
    selArrRwy.save(reader, file, section, key + ".selArrRwy");
    for (const auto& [suffix, text] : storedStrings(*this)) {
        saveStringField(file, section, (key + suffix).c_str(), *text);
    }
    fpl.save(reader, file, section, key + ".fpl");
}

void ArrivalPage::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                       const std::string& key) {
    Block block = pack(*this);
    block.load(reader, file, section, key + ".data");
    runwaySubPage = block.get<0, int32_t>();
    runwayPageCount = block.get<4, int32_t>();
    starSubPage = block.get<8, int32_t>();
    starPageCount = block.get<12, int32_t>();
    starTransitionSubPage = block.get<16, int32_t>();
    starTransitionPageCount = block.get<20, int32_t>();
    approachSubPage = block.get<24, int32_t>();
    approachPageCount = block.get<28, int32_t>();
    approachTransitionSubPage = block.get<32, int32_t>();
    approachTransitionPageCount = block.get<36, int32_t>();
    reviewSubPage = block.get<40, int32_t>();
    reviewPageCount = block.get<44, int32_t>();
    getCounters<48>(block, fixNameCounters);
    icao = loadStringField(file, section, (key + ".icao").c_str());
    loadRunwayList(reader, file, section, key + ".arrRunways", arrRunways);
    reloadStringList(file, section, key + ".stars", stars);
    reloadStringList(file, section, key + ".starTransitions", starTransitions);
    reloadStringList(file, section, key + ".iaps", iaps);
    reloadStringList(file, section, key + ".iapsFull", iapsFull);
    reloadStringList(file, section, key + ".iapTransitions", iapTransitions);
    loadRunwayList(reader, file, section, key + ".iapRunways", iapRunways);
    loadRunwayList(reader, file, section, key + ".starRunways", starRunways);
    arrRwy.load(reader, file, section, key + ".arrRwy");
    selArrRwy.load(reader, file, section, key + ".selArrRwy");
    for (const auto& [suffix, text] : storedStrings(*this)) {
        *text = loadStringField(file, section, (key + suffix).c_str());
    }
    fpl.load(reader, file, section, key + ".fpl");
}

} // namespace tavi
