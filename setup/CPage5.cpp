#include "setup/CPage5.h"

#include "setup/CTaviSheet.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace tavi::setup {

CPage5::CPage5(CTaviSheet& sheet)
    : SettingsPage(sheet, "Startup", 235, 156), modes(new QButtonGroup(this)) {
    modes->addButton(place(new QRadioButton("Dark and Cold"), 7, 7, 61, 10), 0);
    modes->addButton(place(new QRadioButton("Ready to Engine Start"), 7, 20, 87, 10), 1);
    modes->addButton(place(new QRadioButton("Running Engines"), 7, 34, 69, 10), 2);
    connect(modes, &QButtonGroup::idClicked, this, [this](int id) { startupMode = id; });
}

void CPage5::readKeys() {
    startupMode = sheet().readInt("Startup", "startupMode", 0);
    if (QAbstractButton* button = modes->button(startupMode)) {
        button->setChecked(true);
    }
}

void CPage5::writeKeys() {
    sheet().writeInt("Startup", "startupMode", startupMode);
}

} // namespace tavi::setup
