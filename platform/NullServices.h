#pragma once

#include "platform/host/HostServices.h"
#include "platform/panel/PanelServices.h"
#include "platform/simconnect/SimConnect.h"

// Service tables that answer as a simulator that knows nothing: zeros, nulls and failures.
// They stand in for a table the host did not provide.
namespace tavi::platform {

PanelServices& nullPanelServices();
HostServices& nullHostServices();
SimConnect& nullSimConnect();

} // namespace tavi::platform
