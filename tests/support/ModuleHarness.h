#pragma once

#include "core/Aircraft.h"
#include "core/Imports.h"
#include "sim/Simulator.h"
#include "support/TempFolder.h"

#include <string>
#include <vector>

namespace tavi::test {

// The module linked into the test, running on the stand-in simulator in a temporary simulator
// folder: the module file lies in <root>/panel, so tavi.ini and tavi.log are there too.
class ModuleHarness {
public:
    ModuleHarness();
    ~ModuleHarness();
    ModuleHarness(const ModuleHarness&) = delete;
    ModuleHarness& operator=(const ModuleHarness&) = delete;

    // ModuleInit, then the flight starts and one tick runs the deferred start-up.
    void startModule();
    void init();
    void deinit();

    Aircraft& aircraft() { return *theAircraft; }
    std::vector<std::string> logLines() const;
    std::string iniPath() const { return (folder.path() / "panel" / "tavi.ini").string(); }
    void writeIni(const std::string& text) const;

    TempFolder folder;
    sim::Simulator simulator;
};

} // namespace tavi::test
