#include "cdu/pages/CommandedSpeed.h"

#include "avionics/Adc.h"
#include "avionics/AirData.h"
#include "cdu/FmsParser.h"
#include "core/Aircraft.h"
#include "fms/Fms.h"

namespace tavi {

CommandedSpeed commandedSpeed(const Fms& fms) {
    const VnavState& vnav = fms.vnav().state;
    const Adc* adc = fms.owner() ? fms.owner()->adc() : nullptr;
    const double vmo = Adc::vmo;
    const double mmo = Adc::mmo;
    const int32_t speed =
        vnav.speedCommandIas != 0 ? vnav.speedCommandIas : static_cast<int32_t>(vmo);
    const double mach = vnav.speedCommandMach != 0.0 ? vnav.speedCommandMach : mmo;
    const auto machCas =
        static_cast<int32_t>(casFromMachAtAltitude(mach, adc ? adc->pressureAltitude : 0.0));
    CommandedSpeed command;
    command.commanded = vnav.speedCommandIas != 0 || vnav.speedCommandMach != 0.0;
    command.speedText = speed >= vmo ? "VMO" : FmsParser::formatInteger(speed);
    command.machText = mach >= mmo ? "MMO" : FmsParser::formatMach(mach) + "M";
    command.speedLimits = speed < machCas;
    return command;
}

} // namespace tavi
