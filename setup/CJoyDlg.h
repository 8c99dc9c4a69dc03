#pragma once

#include "setup/JoystickSource.h"

#include <QDialog>
#include <QTimer>
#include <cstdint>

namespace tavi::setup {

// Waits until a button is pressed on any joystick and answers which one: the joysticks are
// read every 50 ms; the lowest joystick with a button held wins, and its lowest button.
class CJoyDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPollMs = 50;

    explicit CJoyDlg(JoystickSource& joysticks, QWidget* parent = nullptr);

    // The result once the dialog has ended with OK.
    int32_t joystick() const { return chosenJoystick; }
    int32_t button() const { return chosenButton; }
    bool isPolling() const { return timer.isActive(); }

public slots:
    void poll();
    void reject() override;

private:
    JoystickSource& source;
    QTimer timer;
    int32_t chosenJoystick = 0;
    int32_t chosenButton = -1;
};

} // namespace tavi::setup
