#include "platform/audio/SoundOutput.h"

#include <cstdlib>
#include <filesystem>

namespace tavi::platform {

bool machineHasSoundOutput() {
    namespace fs = std::filesystem;
    if (std::getenv("PULSE_SERVER")) {
        return true;
    }
    std::error_code error;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime && fs::exists(fs::path(runtime) / "pulse" / "native", error)) {
        return true;
    }
    for (fs::directory_iterator it("/dev/snd", error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().starts_with("pcmC")) {
            return true;
        }
    }
    return false;
}

} // namespace tavi::platform
