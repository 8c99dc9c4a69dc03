#pragma once

#include "avionics/RadioUnit.h"
#include "core/System.h"

#include <cstdint>
#include <string>

namespace tavi {

// The aircraft's radios: the two radio sides with their receivers, the COM audio selection of
// the audio panel, the transponder ident and the aircraft's ATC identification.
class Radio : public System {
public:
    // The longest ATC identification or flight number kept.
    static constexpr std::size_t kAtcTextLength = 15;

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // The audio panel's COM buttons: a selection goes off only while the other is on.
    void toggleCom1Audio();
    void toggleCom2Audio();
    bool isCom1AudioLit(const Aircraft& aircraft) const;
    bool isCom2AudioLit(const Aircraft& aircraft) const;
    void transponderIdent(uint32_t now);

    RadioUnit unit1{1};
    RadioUnit unit2{2};
    bool started = false;
    bool com1Audio = true;
    bool com2Audio = false;
    // Kept from the settings; nothing acts on it.
    bool enableSb3Integration = false;
    // The transponder replies with ident; ends by itself.
    bool identActive = false;
    // The side whose radio management unit shows the transponder.
    int32_t transponderSide = 1;
    // Panel token 354 while side 1's receivers have power, else 0.
    int32_t token354Value = 0;
    uint32_t token354Time = 0;
    // Last frame's: a NAV receiver of either side unpowered; a glide-slope receiver unpowered.
    bool navFailSeen = false;
    bool flag4Seen = false;
    // When either of them last became true.
    uint32_t radioFailTime = 0;
    uint32_t identTime = 0;
    std::string flightNumber;
    std::string atcId;

private:
    void updateToken354(const Aircraft& aircraft);
    void keepComAudio(const Aircraft& aircraft) const;
    void readAtcIdentification();
    void endIdent(uint32_t now);
};

} // namespace tavi
