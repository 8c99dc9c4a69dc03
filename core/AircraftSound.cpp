// The aircraft's sounds at start-up.
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "core/sound/SoundManager.h"
#include "platform/files/Files.h"
#include "platform/profile/Profile.h"

namespace tavi {

void Aircraft::initSound() {
    // The sounds live below the simulator's own folder, not below the module's.
    const std::string folder =
        platform::files::folderOf(hostServices().executablePath()) + "Orvane\\TAVI Sounds\\";
    if (!soundManager) {
        return;
    }
    soundManager->setFolder(folder);
    soundManager->init();
    const int loaded = soundManager->loadAll();
    log(format("Sounds loaded: %d of %d", loaded, kAircraftSoundCount));
    const std::string volume = readIniString("Sound", "volume", "0");
    soundManager->setVolume(platform::profile::parseInt(volume));
}

} // namespace tavi
