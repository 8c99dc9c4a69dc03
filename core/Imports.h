#pragma once

#include "platform/host/HostServices.h"
#include "platform/panel/ImportTable.h"
#include "platform/panel/PanelServices.h"
#include "platform/simconnect/SimConnect.h"

// The module's exports, read by the host by name.
extern "C" {
extern tavi::platform::ImportEntry ImportTable[];
extern tavi::platform::ModuleLinkage Linkage;
}

namespace tavi {

// The service tables the host wrote into ImportTable. A table the host left out answers as a
// simulator that knows nothing (zeros, nulls and failures), so the module never calls through
// a null pointer.
platform::PanelServices& panelServices();
platform::HostServices& hostServices();
platform::SimConnect& simConnectServices();

} // namespace tavi
