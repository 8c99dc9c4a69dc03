#pragma once

namespace tavi::platform {

// Whether the machine has a sound card, or a sound server that would play for us.
bool machineHasSoundOutput();

} // namespace tavi::platform
