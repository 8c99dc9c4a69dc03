#include "core/RequestVariable.h"

#include "core/Imports.h"

namespace tavi {

double takeRequestValue(int32_t variableId) {
    if (variableId < 0) {
        return 0.0;
    }
    platform::PanelServices& panel = panelServices();
    const double value = panel.readNamedVariable(variableId);
    if (value != 0.0) {
        panel.writeNamedVariable(variableId, 0.0);
    }
    return value;
}

bool takeRequest(int32_t variableId) {
    return takeRequestValue(variableId) != 0.0;
}

} // namespace tavi
