#include "setup/CPage8.h"

#include "setup/CTaviSheet.h"

#include <QLabel>
#include <QSlider>
#include <QToolTip>

namespace tavi::setup {

namespace {

struct ScreenRate {
    const char* label;
    const char* key;
    int y;
};

constexpr std::array<ScreenRate, CPage8::kScreens> kScreenRates{{
    {"PFD", "pfd", 7},
    {"MFD", "mfd", 25},
    {"EICAS", "eicas", 44},
    {"RMU", "rmu", 63},
    {"ISI", "isi", 82},
    {"FMS", "fms", 101},
}};

constexpr int kFullRate = 100;

} // namespace

CPage8::CPage8(CTaviSheet& sheet) : SettingsPage(sheet, "Displays", 247, 157) {
    for (std::size_t screen = 0; screen < kScreenRates.size(); ++screen) {
        const ScreenRate& rate = kScreenRates[screen];
        place(new QLabel(rate.label), 7, rate.y + 3, 25, 8);
        QSlider* slider = place(new QSlider(Qt::Horizontal), 34, rate.y, 160, 15);
        slider->setRange(0, kFullRate);
        slider->setTickPosition(QSlider::NoTicks);
        connect(slider, &QSlider::sliderMoved, slider, [slider](int value) {
            QToolTip::showText(QCursor::pos(), QString::number(value), slider);
        });
        place(new QLabel("percentage"), 196, rate.y + 3, 45, 8);
        sliders[screen] = slider;
    }
}

void CPage8::readKeys() {
    for (std::size_t screen = 0; screen < kScreenRates.size(); ++screen) {
        sliders[screen]->setValue(sheet().readInt("FPS", kScreenRates[screen].key, kFullRate));
    }
}

void CPage8::writeKeys() {
    for (std::size_t screen = 0; screen < kScreenRates.size(); ++screen) {
        sheet().writeInt("FPS", kScreenRates[screen].key, sliders[screen]->value());
    }
}

} // namespace tavi::setup
