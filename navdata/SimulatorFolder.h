#pragma once

#include <string>

namespace tavi {

// The folder of the simulator's executable, with "/" separators and ending in "/"; the
// module's data files lie below it. Empty when the host names no executable.
std::string simulatorFolder();

} // namespace tavi
