#include "setup/SettingsPage.h"

#include <QShowEvent>
#include <algorithm>

namespace tavi::setup {

SettingsPage::SettingsPage(CTaviSheet& sheet, QString caption, int width, int height)
    : owner(sheet), title(std::move(caption)), units(font()) {
    setMinimumSize(units.size(width, height));
}

void SettingsPage::readOnce() {
    if (!keysRead) {
        keysRead = true;
        readKeys();
    }
}

void SettingsPage::writeIfShown() {
    if (keysRead) {
        writeKeys();
    }
}

void SettingsPage::showEvent(QShowEvent* event) {
    readOnce();
    QWidget::showEvent(event);
}

void SettingsPage::placeControl(QWidget* control, QRect area) {
    control->setParent(this);
    const QSize wanted = control->sizeHint();
    area.setWidth(std::max(area.width(), wanted.width()));
    area.setHeight(std::max(area.height(), wanted.height()));
    control->setGeometry(area);
}

} // namespace tavi::setup
