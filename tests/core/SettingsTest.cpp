#include "support/ModuleHarness.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { module.init(); }

    void write(const std::string& text) { module.writeIni(text); }

    ModuleHarness module;
};

TEST_F(SettingsTest, PathsLieBesideTheModuleFile) {
    EXPECT_EQ(module.aircraft().iniPath, module.iniPath());
    EXPECT_EQ(module.aircraft().logPath, (module.folder.path() / "panel" / "tavi.log").string());
}

TEST_F(SettingsTest, NumbersAreReadLeniently) {
    write("[Sound]\nvolume=-2500dB\n[A]\nhalf=1.5\nalmost=0.9\ncomma=12,5\nword=yes\n"
          "two=2\nminus=-1\nempty=\n");
    const Aircraft& aircraft = module.aircraft();
    EXPECT_EQ(aircraft.readIniInt("Sound", "volume", 0), -2500);
    EXPECT_TRUE(aircraft.readIniBool("A", "half", false));
    EXPECT_FALSE(aircraft.readIniBool("A", "almost", true));
    EXPECT_DOUBLE_EQ(aircraft.readIniDouble("A", "comma", 0.0), 12.0);
    EXPECT_FALSE(aircraft.readIniBool("A", "word", true));
    EXPECT_TRUE(aircraft.readIniBool("A", "two", false));
    EXPECT_TRUE(aircraft.readIniBool("A", "minus", false));
    EXPECT_EQ(aircraft.readIniInt("A", "empty", 7), 0) << "an empty value is not the default";
    EXPECT_EQ(aircraft.readIniDouble("A", "empty", 7.0), 0.0);
    EXPECT_EQ(aircraft.readIniString("A", "empty", "x"), "");
}

TEST_F(SettingsTest, MissingKeysGiveTheDefaultsExactly) {
    write("[Autopilot]\nother=1\n");
    const Aircraft& aircraft = module.aircraft();
    EXPECT_EQ(aircraft.readIniDouble("Autopilot", "vs_lo_alt_Kp", -0.0000004), -0.0000004);
    EXPECT_EQ(aircraft.readIniInt("Autopilot", "missing", -2147483647 - 1), -2147483647 - 1);
    EXPECT_TRUE(aircraft.readIniBool("GDI+", "unload", true));
    EXPECT_EQ(aircraft.readIniString("Sound", "volume", "0"), "0");
}

TEST_F(SettingsTest, LongValuesAreCutTo63Characters) {
    const std::string eighty(80, 'x');
    write("[Fms]\nname=" + eighty + "\nnumber=" + std::string(70, '1') + "\n");
    EXPECT_EQ(module.aircraft().readIniString("Fms", "name", ""), eighty.substr(0, 63));
    EXPECT_EQ(module.aircraft().readIniInt("Fms", "number", 0), 2147483647);
}

TEST_F(SettingsTest, WritesCreateTheFileAndReadBack) {
    const Aircraft& aircraft = module.aircraft();
    EXPECT_TRUE(aircraft.writeIniInt("Startup", "startupMode", 2));
    EXPECT_TRUE(aircraft.writeIniString("Fms", "units", "kg"));
    EXPECT_EQ(aircraft.readIniInt("Startup", "startupMode", 0), 2);
    EXPECT_EQ(aircraft.readIniString("Fms", "units", ""), "kg");
}

TEST_F(SettingsTest, LogAppendsOneLinePerMessage) {
    const std::size_t before = module.logLines().size();
    module.aircraft().log("first");
    module.aircraft().log("second line");
    const std::vector<std::string> lines = module.logLines();
    ASSERT_EQ(lines.size(), before + 2);
    EXPECT_EQ(lines[before], "first");
    EXPECT_EQ(lines[before + 1], "second line");
}

TEST_F(SettingsTest, UnwritableLogLosesTheLineSilently) {
    module.aircraft().logPath = (module.folder.path() / "no such folder" / "tavi.log").string();
    module.aircraft().log("lost");
    module.aircraft().truncateLog();
    SUCCEED();
}

TEST_F(SettingsTest, UseFsuipcIsReadAtStartUp) {
    write("[FSUIPC]\nuseFsuipc=1\n");
    module.simulator.startFlight();
    module.simulator.step();
    EXPECT_TRUE(module.aircraft().useFsuipc);
}

} // namespace
} // namespace tavi::test
