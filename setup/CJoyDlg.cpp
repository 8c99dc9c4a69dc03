#include "setup/CJoyDlg.h"

#include "setup/DialogUnits.h"

#include <QLabel>
#include <QPushButton>
#include <bit>

namespace tavi::setup {

CJoyDlg::CJoyDlg(JoystickSource& joysticks, QWidget* parent) : QDialog(parent), source(joysticks) {
    setWindowTitle("Press Joystick Button");
    const DialogUnits units(font());
    setFixedSize(units.size(154, 46));
    auto* text = new QLabel("Press Joystick Button", this);
    text->setGeometry(units.rect(43, 9, 69, 8));
    text->adjustSize();
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(units.rect(51, 24, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CJoyDlg::reject);
    connect(&timer, &QTimer::timeout, this, &CJoyDlg::poll);
    timer.start(kPollMs);
}

void CJoyDlg::poll() {
    for (int joystick = 0; joystick < JoystickSource::kJoystickCount; ++joystick) {
        const std::optional<uint32_t> buttons = source.buttons(joystick);
        if (buttons && *buttons != 0) {
            chosenJoystick = joystick;
            chosenButton = std::countr_zero(*buttons);
            timer.stop();
            accept();
            return;
        }
    }
}

void CJoyDlg::reject() {
    timer.stop();
    QDialog::reject();
}

} // namespace tavi::setup
