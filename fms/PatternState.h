#pragma once

#include <string>

// The per-flight state blobs of the hold and procedure-turn records that the legs and the plans
// carry: each record is one blob under its key, every field at a fixed offset.
namespace tavi {

class Fs9Reader;
struct HoldingPattern;
struct ProcedureTurn;
struct StateFile;

// False when the write failed.
bool saveHoldingPattern(const HoldingPattern& hold, const Fs9Reader& reader, const StateFile& file,
                        const char* section, const std::string& key);
// A missing key leaves the record as it was.
void loadHoldingPattern(HoldingPattern& hold, const Fs9Reader& reader, const StateFile& file,
                        const char* section, const std::string& key);

bool saveProcedureTurn(const ProcedureTurn& turn, const Fs9Reader& reader, const StateFile& file,
                       const char* section, const std::string& key);
void loadProcedureTurn(ProcedureTurn& turn, const Fs9Reader& reader, const StateFile& file,
                       const char* section, const std::string& key);

} // namespace tavi
