#pragma once

#include "platform/db/Database.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tavi::test {

// Writes the test region's navigation database (the fixture region round 47 N 8 E) into a
// simulator folder, where both the module and the stand-in simulator find it.
inline void writeRegionDatabase(const std::filesystem::path& simRoot) {
    const std::filesystem::path fixtures = TAVI_TEST_FIXTURES;
    auto read = [](const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    };
    platform::db::createDatabase(simRoot / "Orvane/Nd/nd.sqlite",
                                 read(fixtures / "../../data/nd/schema.sql") +
                                     read(fixtures / "navdb/region.sql"));
}

} // namespace tavi::test
