#include "setup/CPage6.h"

#include "setup/CTaviSheet.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace tavi::setup {

namespace {

constexpr int kSilent = -10000;
constexpr int kTickStep = 500;
// One decibel for an arrow key; the wheel moves three of them.
constexpr int kArrowStep = 100;

} // namespace

CPage6::CPage6(CTaviSheet& sheet)
    : SettingsPage(sheet, "Sound", 250, 157),
      volume(place(new QSlider(Qt::Horizontal), 38, 8, 164, 22)) {
    place(new QLabel("Volume:"), 7, 16, 26, 8);
    volume->setRange(kSilent, 0);
    volume->setTickInterval(kTickStep);
    volume->setTickPosition(QSlider::TicksBelow);
    volume->setSingleStep(kArrowStep);
    volume->setPageStep(kTickStep);
    auto* test = place(new QPushButton("Test"), 205, 14, 37, 14);
    // A drag is applied when the thumb is let go; keys and the wheel apply at once.
    connect(volume, &QSlider::sliderReleased, this, &CPage6::applyVolume);
    connect(volume, &QSlider::valueChanged, this, [this] {
        if (!volume->isSliderDown()) {
            applyVolume();
        }
    });
    connect(test, &QPushButton::clicked, this, [this] { this->sheet().sound().play(); });
}

void CPage6::applyVolume() {
    sheet().sound().setVolume(volume->value());
}

// The manager's volume may lie outside the slider's range; showing it must not change it.
void CPage6::readKeys() {
    const QSignalBlocker blocker(volume);
    volume->setValue(sheet().sound().volume());
}

void CPage6::writeKeys() {
    sheet().writeInt("Sound", "volume", sheet().sound().volume());
}

} // namespace tavi::setup
