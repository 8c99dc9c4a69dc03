#pragma once

#include "platform/db/Database.h"
#include "support/ModuleHarness.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tavi::test {

// The test region's navigation database in the module's simulator folder, so the FMS connects
// and follows the CDU's power.
inline void writeRegionDatabase(ModuleHarness& module) {
    const std::filesystem::path fixtures = TAVI_TEST_FIXTURES;
    auto readText = [](const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    };
    platform::db::createDatabase(module.folder.path() / "Orvane/Nd/nd.sqlite",
                                 readText(fixtures / "../../data/nd/schema.sql") +
                                     readText(fixtures / "navdb/region.sql"));
}

} // namespace tavi::test
