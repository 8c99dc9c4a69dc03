#include "navdata/SimulatorFolder.h"

#include "core/Imports.h"
#include "platform/files/Files.h"

namespace tavi {

std::string simulatorFolder() {
    const std::string executable = hostServices().executablePath();
    return platform::files::nativePath(platform::files::folderOf(executable)).string();
}

} // namespace tavi
