#include "displays/PanelElement.h"

namespace tavi {

void PanelElement::loadSettings(Aircraft&) {}
void PanelElement::draw(Aircraft&) {}
void PanelElement::addElectricLoad(Aircraft&, BusLoads&) {}
void PanelElement::updatePower(Aircraft&) {}
void PanelElement::saveState(const StateFile&) {}
void PanelElement::loadState(const StateFile&) {}
void PanelElement::clearBackground() {}
void PanelElement::drawDimOverlay() {}

} // namespace tavi
