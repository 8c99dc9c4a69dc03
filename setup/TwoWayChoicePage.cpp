#include "setup/TwoWayChoicePage.h"

#include "setup/CTaviSheet.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

namespace tavi::setup {

TwoWayChoicePage::TwoWayChoicePage(CTaviSheet& sheet, const Layout& layout)
    : SettingsPage(sheet, layout.caption, layout.width, layout.height), key(layout.key),
      picture(place(new QLabel, layout.pictureArea)), options(new QButtonGroup(this)) {
    const QSize pictureSize = dialogUnits().rect(layout.pictureArea).size();
    pictures[0] = layout.picture(false, pictureSize);
    pictures[1] = layout.picture(true, pictureSize);
    options->addButton(place(new QRadioButton(layout.whenTrue.caption), layout.whenTrue.area), 1);
    options->addButton(place(new QRadioButton(layout.whenFalse.caption), layout.whenFalse.area), 0);
    connect(options, &QButtonGroup::idClicked, this, [this](int id) { choose(id == 1); });
}

void TwoWayChoicePage::choose(bool option) {
    chosen = option;
    options->button(option ? 1 : 0)->setChecked(true);
    picture->setPixmap(pictures[option ? 1 : 0]);
}

void TwoWayChoicePage::readKeys() {
    choose(sheet().readBool("Preferences", key, false));
}

void TwoWayChoicePage::writeKeys() {
    sheet().writeBool("Preferences", key, chosen);
}

} // namespace tavi::setup
