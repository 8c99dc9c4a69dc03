#pragma once

#include "setup/JoystickAssignment.h"
#include "setup/SettingsPage.h"

class QLabel;

namespace tavi::setup {

// "Joystick": the buttons for the touch-control steering and the autopilot's quick disconnect.
class CPage7 : public SettingsPage {
    Q_OBJECT

public:
    static constexpr JoystickAssignment kTcsDefault{0, 0};
    static constexpr JoystickAssignment kQuickDisconnectDefault{0, JoystickAssignment::kNoButton};

    explicit CPage7(CTaviSheet& sheet);

protected:
    void readKeys() override;
    void writeKeys() override;

private:
    struct Assignment {
        const char* key;
        JoystickAssignment fallback;
        JoystickAssignment value;
        QLabel* text;
    };

    // Dialog units.
    struct GroupLayout {
        const char* title;
        int y;
        int height;
        int textY;
        int buttonY;
    };

    void addGroup(Assignment& assignment, const GroupLayout& layout);
    void showAssignment(Assignment& assignment);
    void choose(Assignment& assignment);

    Assignment tcs;
    Assignment quickDisconnect;
};

} // namespace tavi::setup
