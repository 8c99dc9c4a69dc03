#include "support/FileSizeLimit.h"
#include "support/ModuleHarness.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tavi::test {
namespace {

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { module.init(); }

    void write(const std::string& text) { module.writeIni(text); }
    const TempFolder& folder() const { return module.folder; }

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

// A numeric setting outside its range or not a number: the default, and one line naming it.
struct BadSettingCase {
    const char* section;
    const char* key;
    const char* value;
    double expected;
};

const BadSettingCase kBadSettings[] = {
    {"Brakes", "overheat", "-1", 550.0},        {"Brakes", "scaleMax", "nan", 1000.0},
    {"Brakes", "scaleMaxGreen", "inf", 1000.0}, {"Autopilot", "maxBank", "1e999", 27.0},
    {"Autopilot", "maxPitch", "-25", 25.0},     {"Autopilot", "minPitch", "15", -15.0},
    {"Autopilot", "pitch_spd_Kp", "0x10", 2.0}, {"Preferences", "nmBeforeTod", "5O0", 20.0},
    {"Engines", "groundIgnitionN2", "", 18.0},  {"engines", "FLIGHTFUELVALVE", "12,5", 20.0},
};

TEST_F(SettingsTest, ANumericSettingOutOfRangeOrNotANumberGivesTheDefaultOnce) {
    platform::profile::Document ini;
    for (const BadSettingCase& c : kBadSettings) {
        ini.set(c.section, c.key, c.value);
    }
    ini.set("Autopilot", "halfBank", "12.5");
    ini.set("Startup", "startupMode", "7");
    write(ini.bytes());
    const Aircraft& aircraft = module.aircraft();
    for (const BadSettingCase& c : kBadSettings) {
        EXPECT_EQ(aircraft.readIniDouble(c.section, c.key, c.expected), c.expected) << c.key;
        EXPECT_EQ(aircraft.readIniDouble(c.section, c.key, c.expected), c.expected) << c.key;
        const std::vector<std::string> lines = module.logLines();
        const std::string line = std::string("tavi.ini: [") + c.section + "] " + c.key + "=" +
                                 c.value + " is not valid, the default is used";
        EXPECT_EQ(std::count(lines.begin(), lines.end(), line), 1) << line;
    }
    EXPECT_EQ(aircraft.readIniString("Preferences", "nmBeforeTod", "20"), "20");
    EXPECT_EQ(aircraft.readIniDouble("Autopilot", "halfBank", 14.0), 12.5);
    EXPECT_EQ(aircraft.readIniInt("Startup", "startupMode", 0), 7) << "any mode number is one";
}

TEST_F(SettingsTest, BadBrakeAndAutopilotSettingsDoNotReachTheSystems) {
    write("[Brakes]\noverheat=-1\nscaleMax=nan\n[Autopilot]\nmaxBank=nan\nmaxPitch=-25\n");
    module.simulator.startFlight();
    module.simulator.step();
    module.simulator.step();
    const Aircraft& aircraft = module.aircraft();
    EXPECT_EQ(aircraft.readIniDouble("Brakes", "overheat", 550.0), 550.0);
    EXPECT_TRUE(std::isfinite(aircraft.readIniDouble("Brakes", "scaleMax", 1000.0)));
    const std::vector<std::string> lines = module.logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "tavi.ini: [Autopilot] maxBank=nan is not valid, the default is used"),
              lines.end());
}

TEST_F(SettingsTest, TheFileIsReadOncePerStart) {
    write("[Preferences]\nsteeringAngle=12\n");
    module.simulator.startFlight();
    module.simulator.step();
    folder().write("panel/tavi.ini", "[Preferences]\nsteeringAngle=30\n");
    EXPECT_EQ(module.aircraft().readIniDouble("Preferences", "steeringAngle", 10.0), 12.0);
    EXPECT_TRUE(module.aircraft().writeIniInt("Preferences", "steeringAngle", 40));
    EXPECT_EQ(module.aircraft().readIniDouble("Preferences", "steeringAngle", 10.0), 40.0)
        << "the module's own writes are seen";
}

TEST_F(SettingsTest, AnIgnoredSettingsFileSaysWhyAndStartUpGoesOn) {
    const std::filesystem::path ini = module.iniPath();
    const std::pair<const char*, void (*)(const std::filesystem::path&)> cases[] = {
        {"not a regular file",
         [](const std::filesystem::path& path) {
             ::mkfifo(path.c_str(), 0600);
         }},
        {"not a regular file",
         [](const std::filesystem::path& path) {
             std::filesystem::create_directory(path);
         }},
        {"larger than 67108864 bytes",
         [](const std::filesystem::path& path) {
             std::ofstream(path) << "[Preferences]\nsteeringAngle=30\n";
             std::filesystem::resize_file(path, (64u << 20) + 1);
         }},
    };
    for (const auto& [why, make] : cases) {
        std::filesystem::remove_all(ini);
        make(ini);
        module.aircraft().buildPaths();
        EXPECT_EQ(module.aircraft().readIniDouble("Preferences", "steeringAngle", 10.0), 10.0);
        const std::vector<std::string> lines = module.logLines();
        EXPECT_EQ(lines.back(), std::string("tavi.ini ignored, ") + why + ": " + ini.string());
    }
    module.simulator.startFlight();
    module.simulator.step();
    const std::vector<std::string> lines = module.logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Plane initialised"), lines.end());
}

TEST_F(SettingsTest, LogLinesAreOneLineAndBounded) {
    module.aircraft().log("plan.fpl\nPlane initialised\r\x01");
    module.aircraft().log(std::string(10u << 20, 'x'));
    const std::vector<std::string> lines = module.logLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "plan.fpl\\x0APlane initialised\\x0D\\x01");
    EXPECT_EQ(lines.back(), std::string(1000, 'x') + " [cut]");
}

TEST_F(SettingsTest, ALinkedLogIsReplacedNotWrittenThrough) {
    const std::filesystem::path victim = folder().write("victim.txt", "keep me");
    const std::filesystem::path log = module.aircraft().logPath;
    std::filesystem::remove(log);
    std::filesystem::create_symlink(victim, log);
    module.aircraft().log("through a link?");
    module.aircraft().truncateLog();
    module.aircraft().log("after");
    EXPECT_EQ(TempFolder::read(victim), "keep me");
    EXPECT_FALSE(std::filesystem::is_symlink(std::filesystem::symlink_status(log)));
    EXPECT_EQ(module.logLines(), std::vector<std::string>{"after"});
}

TEST_F(SettingsTest, AnUnwritableLogGoesToStandardError) {
    module.aircraft().logPath = (folder().path() / "no such folder" / "tavi.log").string();
    testing::internal::CaptureStderr();
    module.aircraft().truncateLog();
    module.aircraft().log("Initialising plane");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot be written"), std::string::npos) << said;
    EXPECT_NE(said.find("tavi: Initialising plane\n"), std::string::npos) << said;
}

TEST_F(SettingsTest, ALogLineThatDoesNotFitOnTheDiskGoesToStandardErrorWhole) {
    module.aircraft().truncateLog();
    module.aircraft().log("Initialising plane");
    testing::internal::CaptureStderr();
    {
        // Room for the captured standard error (a file as well), not for the log's two lines.
        const FileSizeLimit diskFull(50);
        module.aircraft().log("Navigation database connected: nd.sqlite");
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(module.logLines(), std::vector<std::string>{"Initialising plane"});
    EXPECT_EQ(said, "tavi: Navigation database connected: nd.sqlite\n");
}

TEST_F(SettingsTest, UseFsuipcIsReadAtStartUp) {
    write("[FSUIPC]\nuseFsuipc=1\n");
    module.simulator.startFlight();
    module.simulator.step();
    EXPECT_TRUE(module.aircraft().useFsuipc);
}

} // namespace
} // namespace tavi::test
