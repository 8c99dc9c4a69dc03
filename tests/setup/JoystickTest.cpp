#include "SheetFixture.h"
#include "setup/JoystickAssignment.h"

namespace tavi::test {
namespace {

using setup::JoystickAssignment;

struct Capture {
    const char* name;
    std::vector<std::pair<int, uint32_t>> held;
    std::optional<JoystickAssignment> chosen;
};

class CaptureTest : public testing::TestWithParam<Capture> {};

TEST_P(CaptureTest, TheLowestJoystickAndItsLowestButtonWin) {
    FakeJoysticks joysticks;
    for (int joystick = 0; joystick < FakeJoysticks::kJoystickCount; ++joystick) {
        joysticks.states[static_cast<std::size_t>(joystick)] = 0;
    }
    for (const auto& [joystick, buttons] : GetParam().held) {
        joysticks.states[static_cast<std::size_t>(joystick)] = buttons;
    }
    setup::CJoyDlg dialog(joysticks);
    dialog.show();
    EXPECT_TRUE(dialog.isPolling());
    EXPECT_EQ(dialog.windowTitle(), "Press Joystick Button");
    dialog.poll();
    if (GetParam().chosen) {
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isPolling());
        EXPECT_EQ((JoystickAssignment{dialog.joystick(), dialog.button()}), *GetParam().chosen);
    } else {
        EXPECT_TRUE(dialog.isVisible()) << "waits for a button";
        EXPECT_TRUE(dialog.isPolling());
        EXPECT_EQ(joysticks.reads, FakeJoysticks::kJoystickCount);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, CaptureTest,
    testing::Values(Capture{"ButtonsThreeAndFiveOfJoystickOne", {{1, 0b10100}}, {{1, 2}}},
                    Capture{"TwoJoysticksInOneTick", {{5, 0b1}, {2, 0x8000'0000}}, {{2, 31}}},
                    Capture{"NoButtonHeld", {}, std::nullopt}),
    [](const testing::TestParamInfo<Capture>& info) { return info.param.name; });

TEST(CaptureDialog, WaitsWithoutJoysticksUntilCancel) {
    FakeJoysticks joysticks;
    setup::CJoyDlg dialog(joysticks);
    dialog.show();
    for (int tick = 0; tick < 3; ++tick) {
        dialog.poll();
    }
    EXPECT_TRUE(dialog.isVisible());
    click(buttonNamed(dialog, "Cancel"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isPolling());
}

struct Assignment {
    const char* text;
    JoystickAssignment parsed;
};

class AssignmentTest : public testing::TestWithParam<Assignment> {};

TEST_P(AssignmentTest, IsReadAsJoystickColonButton) {
    const JoystickAssignment fallback{0, JoystickAssignment::kNoButton};
    EXPECT_EQ(JoystickAssignment::parse(GetParam().text, fallback), GetParam().parsed);
}

INSTANTIATE_TEST_SUITE_P(Texts, AssignmentTest,
                         testing::Values(Assignment{"2:5", {2, 5}}, Assignment{"0:-1", {0, -1}},
                                         Assignment{"12:3", {7, 3}}, Assignment{"-4:3", {0, 3}},
                                         Assignment{" 3: 4 pressed", {3, 4}},
                                         Assignment{"99999999999:1", {7, 1}},
                                         Assignment{"", {0, -1}}, Assignment{"abc", {0, -1}},
                                         Assignment{"3", {0, -1}}, Assignment{"3:", {0, -1}},
                                         Assignment{"3 :4", {0, -1}}, Assignment{"3:x", {0, -1}}));

TEST(JoystickAssignment, CaptionsCountFromOne) {
    EXPECT_EQ((JoystickAssignment{1, 2}.caption()), "Joystick 2, Button 3");
    EXPECT_EQ((JoystickAssignment{7, JoystickAssignment::kNoButton}.caption()), "Not Selected");
    EXPECT_EQ((JoystickAssignment{2, -1}.text()), "2:-1");
}

class JoystickPageTest : public SheetTest {
protected:
    QString tcsText() { return labelInGroup(*page, "TCS Button").text(); }
    QString quickDisconnectText() {
        return labelInGroup(*page, "Autopilot Quick Disconnect Button").text();
    }
    void open(const std::string& ini) {
        writeIni(ini);
        openSheet();
        page = &openPage("Joystick");
    }

    setup::SettingsPage* page = nullptr;
};

TEST_F(JoystickPageTest, StoredAssignmentsAreShownLimitedAndSaved) {
    open("[Joystick]\ntcsJoyButton=12:3\nqdJoyButton=2:5\n");
    EXPECT_EQ(tcsText(), "Joystick 8, Button 4");
    EXPECT_EQ(quickDisconnectText(), "Joystick 3, Button 6");
    click(buttonInGroup(*page, "Autopilot Quick Disconnect Button", "Remove"));
    EXPECT_EQ(quickDisconnectText(), "Not Selected");
    pressOk();
    EXPECT_EQ(valueOf(entries(), "Joystick", "tcsJoyButton"), "7:3");
    EXPECT_EQ(valueOf(entries(), "Joystick", "qdJoyButton"), "2:-1");
}

TEST_F(JoystickPageTest, MissingOrUnreadableAssignmentsGiveTheDefaults) {
    open("[Joystick]\ntcsJoyButton=abc\n");
    EXPECT_EQ(tcsText(), "Joystick 1, Button 1");
    EXPECT_EQ(quickDisconnectText(), "Not Selected");
    pressOk();
    EXPECT_EQ(valueOf(entries(), "Joystick", "tcsJoyButton"), "0:0");
    EXPECT_EQ(valueOf(entries(), "Joystick", "qdJoyButton"), "0:-1");
}

TEST_F(JoystickPageTest, ChooseTakesTheCapturedButtonAndCancelChangesNothing) {
    open("[Joystick]\nqdJoyButton=2:5\n");
    choose("TCS Button", [this](setup::CJoyDlg& dialog) {
        joysticks->states[1] = 0b10100;
        dialog.poll();
    });
    EXPECT_EQ(tcsText(), "Joystick 2, Button 3");
    choose("Autopilot Quick Disconnect Button", [this](setup::CJoyDlg& dialog) {
        joysticks->states[1] = std::nullopt;
        dialog.poll();
        EXPECT_TRUE(dialog.isVisible());
        click(buttonNamed(dialog, "Cancel"));
    });
    EXPECT_EQ(quickDisconnectText(), "Joystick 3, Button 6");
    pressOk();
    EXPECT_EQ(valueOf(entries(), "Joystick", "tcsJoyButton"), "1:2");
    EXPECT_EQ(valueOf(entries(), "Joystick", "qdJoyButton"), "2:5");
}

} // namespace
} // namespace tavi::test
