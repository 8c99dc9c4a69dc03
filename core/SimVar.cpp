#include "core/SimVar.h"

#include "core/Imports.h"

namespace tavi {

SimVar::SimVar(const char* name, const char* units, int32_t index)
    : name(name), units(units), variableId(panelServices().aircraftVariableId(name)),
      unitsId(panelServices().unitsId(units)), index(index) {}

double SimVar::read() {
    value = panelServices().readAircraftVariable(variableId, unitsId, index);
    return value;
}

} // namespace tavi
