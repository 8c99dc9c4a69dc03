#pragma once

#include "setup/SettingsPage.h"

class QCheckBox;

namespace tavi::setup {

// "Preferences": joystick axes under the autopilot, the pause before the top of descent and the
// infinite battery.
class CPage9 : public SettingsPage {
    Q_OBJECT

public:
    explicit CPage9(CTaviSheet& sheet);

protected:
    void readKeys() override;
    void writeKeys() override;

private:
    QCheckBox* disableAxes;
    QCheckBox* pauseAtTod;
    QCheckBox* infiniteBattery;
};

} // namespace tavi::setup
