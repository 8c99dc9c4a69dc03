#include "support/ModuleHarness.h"
#include "support/RecordingSystem.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr uint32_t kKeyA = 'A';
constexpr uint32_t kKeyF9 = 0x78;
constexpr uint32_t kShift = 16;
constexpr int32_t kCduPopup = 10000;

// Slot 12 claims 'A'; the FMS slot claims every letter.
class KeyboardTest : public testing::Test {
protected:
    void SetUp() override {
        module.startModule();
        std::set<uint32_t> letters;
        for (uint32_t key = 'A'; key <= 'Z'; ++key) {
            letters.insert(key);
        }
        delete module.aircraft().systems[12];
        module.aircraft().systems[12] = new RecordingSystem(journal, "12", {kKeyA});
        delete module.aircraft().systems[Aircraft::kFmsSlot];
        module.aircraft().systems[Aircraft::kFmsSlot] =
            new RecordingSystem(journal, "fms", letters);
    }

    bool press(uint32_t key) { return module.simulator.host.key(key, true); }

    ModuleHarness module;
    std::vector<std::string> journal;
};

TEST_F(KeyboardTest, CduPopupGivesTheFmsTheFirstOffer) {
    module.simulator.panel.setPanelWindowOpen(kCduPopup, true);
    EXPECT_TRUE(press(kKeyA));
    EXPECT_EQ(journal, (std::vector<std::string>{"key fms 65"}));
}

TEST_F(KeyboardTest, WithoutThePopupTheOtherSystemsAreAskedInSlotOrder) {
    EXPECT_TRUE(press(kKeyA));
    EXPECT_EQ(journal, (std::vector<std::string>{"key 12 65"}));
}

TEST_F(KeyboardTest, FmsDecliningLetsTheOthersSeeTheKey) {
    module.simulator.panel.setPanelWindowOpen(kCduPopup, true);
    EXPECT_FALSE(press(kKeyF9));
    EXPECT_EQ(journal, (std::vector<std::string>{"key fms 120", "key 12 120"}));
    ASSERT_EQ(module.simulator.host.keysReachingSimulator().size(), 1u);
    EXPECT_EQ(module.simulator.host.keysReachingSimulator()[0].virtualKey, kKeyF9);
}

TEST_F(KeyboardTest, KeyUpIsNeverOffered) {
    EXPECT_FALSE(module.simulator.host.key(kKeyA, false));
    EXPECT_TRUE(journal.empty());
}

TEST_F(KeyboardTest, ModifiersAreTrackedAndPassedOn) {
    module.simulator.host.key(kShift, true);
    EXPECT_TRUE(module.aircraft().shiftDown);
    press('B');
    module.simulator.host.key(kShift, false);
    EXPECT_FALSE(module.aircraft().shiftDown);
    press('B');
    EXPECT_EQ(journal, (std::vector<std::string>{"key 12 66 shift", "key 12 66"}));
    module.simulator.host.key('C', true, true);
    EXPECT_TRUE(module.aircraft().altDown);
}

TEST_F(KeyboardTest, KeysStayWithTheSimulatorWhileAMenuOrDialogIsOpen) {
    for (int situation = 0; situation < 2; ++situation) {
        journal.clear();
        module.simulator.host.setGuiFlags(situation == 0 ? platform::kGuiInMenuMode : 0);
        module.simulator.host.setDialogOpen(situation == 1);
        EXPECT_FALSE(module.simulator.host.key(kShift, true));
        EXPECT_FALSE(press(kKeyA));
        EXPECT_TRUE(journal.empty());
        EXPECT_FALSE(module.aircraft().shiftDown);
    }
}

TEST(KeyboardHookFailure, NoKeyReachesTheSystemsWhenTheHookCannotBeInstalled) {
    ModuleHarness module;
    module.simulator.host.failNextHookInstall();
    module.startModule();
    std::vector<std::string> journal;
    module.aircraft().systems[12] = new RecordingSystem(journal, "12", {kKeyA});
    EXPECT_FALSE(module.simulator.host.key(kKeyA, true));
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(module.aircraft().keyboardHook, 0u);
}

} // namespace
} // namespace tavi::test
