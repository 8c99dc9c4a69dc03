#include "platform/panel/Gauge.h"
#include "platform/panel/ImportTable.h"
#include "sim/Simulator.h"
#include "support/BuiltFile.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

namespace fs = std::filesystem;

// The built module file, loaded the way the simulator loads it.
class LoadedModule {
public:
    explicit LoadedModule(const fs::path& file)
        : handle(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedModule() {
        if (handle) {
            dlclose(handle);
        }
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    template <typename T>
    T* symbol(const char* name) const {
        return handle ? static_cast<T*>(dlsym(handle, name)) : nullptr;
    }

    void* handle;
};

TEST(ModuleLoadTest, TheModuleFileStartsRunsAndStopsInsideTheSimulator) {
    TempFolder root;
    const fs::path modulePath = root.path() / "panel" / "tavi_davud.gau";
    fs::create_directories(modulePath.parent_path());
    fs::copy_file(builtFile("TAVI_MODULE_FILE", TAVI_MODULE_FILE), modulePath);

    LoadedModule module(modulePath);
    ASSERT_NE(module.handle, nullptr) << dlerror();
    auto* imports = module.symbol<platform::ImportEntry>("ImportTable");
    auto* linkage = module.symbol<platform::ModuleLinkage>("Linkage");
    ASSERT_NE(imports, nullptr);
    ASSERT_NE(linkage, nullptr);
    EXPECT_EQ(linkage->moduleId, platform::kModuleLinkageId);
    EXPECT_EQ(linkage->moduleVersion, platform::kModuleVersion);
    EXPECT_EQ(module.symbol<void>("_ZN4tavi10ModuleInitEv"), nullptr)
        << "only two symbols are exported";
    const std::vector<std::string> gaugeNames = {
        "MainPanel", "Overhead", "PFD",     "PFD2",     "MFD",      "MFD2",         "EICAS",
        "RMU1",      "RMU2",     "ISI",     "Pedestal", "Throttle", "ThrustRating", "VIV810",
        "Clock1",    "Clock2",   "WX",      "Brg1",     "Brg2",     "AP",           "PFD1VC",
        "PFD2VC",    "MFD1VC",   "MFD2VC",  "EICASVC",  "RMU1VC",   "RMU2VC",       "ISIVC",
        "VIV810VC",  "Caution",  "Warning", "Wiskey"};
    for (std::size_t i = 0; i < gaugeNames.size(); ++i) {
        ASSERT_NE(linkage->gauges[i], nullptr) << i;
        EXPECT_EQ(linkage->gauges[i]->name, gaugeNames[i]);
        EXPECT_EQ(linkage->gauges[i]->version, platform::kGaugeHeaderVersion);
    }
    EXPECT_EQ(linkage->gauges[gaugeNames.size()], nullptr);

    sim::Simulator simulator(root.path());
    simulator.setModulePath(modulePath);
    simulator.fillImports(imports);
    linkage->moduleInit();
    simulator.startFlight();
    simulator.stepSeconds(3.0);
    EXPECT_EQ(simulator.panel.keyEventHandlerCount(), 1u);
    EXPECT_GE(simulator.panel.tokenLookups(), 429 * 50);
    linkage->moduleDeinit();
    EXPECT_EQ(simulator.host.liveTimers(), 0u);

    std::ifstream log(modulePath.parent_path() / "tavi.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Simconnect is ok");
    // The FMS connects its database on its first frame, after the start-up.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Plane initialised"), lines.end());
    EXPECT_EQ(lines.back(), "Loaded config");
}

} // namespace
} // namespace tavi::test
