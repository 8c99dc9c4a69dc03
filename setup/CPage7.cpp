#include "setup/CPage7.h"

#include "setup/CJoyDlg.h"
#include "setup/CTaviSheet.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tavi::setup {

CPage7::CPage7(CTaviSheet& sheet)
    : SettingsPage(sheet, "Joystick", 235, 156), tcs{"tcsJoyButton", kTcsDefault, kTcsDefault,
                                                     nullptr},
      quickDisconnect{"qdJoyButton", kQuickDisconnectDefault, kQuickDisconnectDefault, nullptr} {
    addGroup(tcs, {"TCS Button", 7, 30, 21, 17});
    addGroup(quickDisconnect, {"Autopilot Quick Disconnect Button", 42, 33, 58, 55});
}

// A group box with the assignment's text, "Remove" and "Choose".
void CPage7::addGroup(Assignment& assignment, const GroupLayout& layout) {
    place(new QGroupBox(layout.title), 7, layout.y, 221, layout.height)->lower();
    assignment.text = place(new QLabel("None"), 14, layout.textY, 84, 8);
    auto* removeButton = place(new QPushButton("Remove"), 115, layout.buttonY, 50, 14);
    auto* chooseButton = place(new QPushButton("Choose"), 170, layout.buttonY, 50, 14);
    connect(removeButton, &QPushButton::clicked, this, [this, &assignment] {
        assignment.value.button = JoystickAssignment::kNoButton;
        showAssignment(assignment);
    });
    connect(chooseButton, &QPushButton::clicked, this, [this, &assignment] { choose(assignment); });
}

void CPage7::showAssignment(Assignment& assignment) {
    assignment.text->setText(QString::fromStdString(assignment.value.caption()));
}

void CPage7::choose(Assignment& assignment) {
    CJoyDlg dialog(sheet().joysticks(), this);
    if (dialog.exec() == QDialog::Accepted) {
        assignment.value = {dialog.joystick(), dialog.button()};
        showAssignment(assignment);
    }
}

void CPage7::readKeys() {
    for (Assignment* assignment : {&tcs, &quickDisconnect}) {
        const std::string text =
            sheet().readString("Joystick", assignment->key, assignment->fallback.text().c_str());
        assignment->value = JoystickAssignment::parse(text, assignment->fallback);
        showAssignment(*assignment);
    }
}

void CPage7::writeKeys() {
    sheet().writeString("Joystick", tcs.key, tcs.value.text());
    sheet().writeString("Joystick", quickDisconnect.key, quickDisconnect.value.text());
}

} // namespace tavi::setup
