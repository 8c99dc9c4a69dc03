#include "setup/CPage9.h"

#include "setup/CTaviSheet.h"

#include <QCheckBox>

namespace tavi::setup {

CPage9::CPage9(CTaviSheet& sheet)
    : SettingsPage(sheet, "Preferences", 231, 151),
      disableAxes(place(new QCheckBox("Disable joystick axes when AP is on"), 14, 12, 131, 10)),
      pauseAtTod(place(new QCheckBox("Pause FS at 20nm before TOD"), 14, 24, 115, 10)),
      infiniteBattery(place(new QCheckBox("Infinite battery"), 14, 36, 63, 10)) {}

void CPage9::readKeys() {
    // The module's own default: opening and closing this program must not change how the
    // aircraft flies.
    disableAxes->setChecked(sheet().readBool("FSUIPC", "disableAxes", true));
    pauseAtTod->setChecked(sheet().readBool("Preferences", "pauseAtTod", false));
    infiniteBattery->setChecked(sheet().readBool("Electric", "infiniteBattery", false));
}

void CPage9::writeKeys() {
    sheet().writeBool("FSUIPC", "disableAxes", disableAxes->isChecked());
    sheet().writeBool("Preferences", "pauseAtTod", pauseAtTod->isChecked());
    sheet().writeBool("Electric", "infiniteBattery", infiniteBattery->isChecked());
}

} // namespace tavi::setup
