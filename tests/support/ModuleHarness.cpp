#include "support/ModuleHarness.h"

#include <fstream>

namespace tavi::test {

ModuleHarness::ModuleHarness() : simulator(folder.path()) {
    std::filesystem::create_directories(folder.path() / "panel");
    simulator.setModulePath(folder.path() / "panel" / "tavi_davud.gau");
    simulator.fillImports(ImportTable);
}

ModuleHarness::~ModuleHarness() {
    deinit();
    for (platform::ImportEntry* entry = ImportTable; entry->id != 0; ++entry) {
        entry->table = nullptr;
    }
}

void ModuleHarness::init() {
    ModuleInit();
}

void ModuleHarness::deinit() {
    if (theAircraft) {
        ModuleDeinit();
    }
}

void ModuleHarness::startModule() {
    init();
    simulator.startFlight();
    simulator.step();
}

std::vector<std::string> ModuleHarness::logLines() const {
    std::ifstream in(folder.path() / "panel" / "tavi.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void ModuleHarness::writeIni(const std::string& text) const {
    folder.write("panel/tavi.ini", text);
    // The module reads its settings file once per start: a running aircraft reads it again as
    // a new start would.
    if (theAircraft) {
        theAircraft->buildPaths();
    }
}

} // namespace tavi::test
