#include "setup/SoundManagerPlayer.h"

#include <QDebug>

namespace tavi::setup {

SoundManagerPlayer::SoundManagerPlayer(const std::filesystem::path& programFolder,
                                       SoundManager::DeviceOpener openDevice)
    : sounds([](std::string_view line) { qInfo().noquote() << QByteArrayView(line); },
             std::move(openDevice)) {
    sounds.setFolder((programFolder / "").string());
    sounds.init();
    sounds.load(kTestSound, "sound.wav");
}

void SoundManagerPlayer::setVolume(int32_t volume) {
    shownVolume = volume;
    sounds.setVolume(volume);
}

bool SoundManagerPlayer::play() {
    return sounds.play(kTestSound);
}

} // namespace tavi::setup
