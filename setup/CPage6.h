#pragma once

#include "setup/SettingsPage.h"

class QSlider;

namespace tavi::setup {

// "Sound": the cockpit's volume, tried out with a test sound.
class CPage6 : public SettingsPage {
    Q_OBJECT

public:
    explicit CPage6(CTaviSheet& sheet);

protected:
    void readKeys() override;
    void writeKeys() override;

private:
    void applyVolume();

    QSlider* volume;
};

} // namespace tavi::setup
