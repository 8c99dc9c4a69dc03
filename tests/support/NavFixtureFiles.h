#pragma once

#include "platform/db/Database.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The navigation data the tests build their databases from: the default schema and the test
// region of tests/fixtures/navdb.
namespace tavi::test {

inline const std::filesystem::path kFixtures = TAVI_TEST_FIXTURES;

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline std::string navSchema() {
    return readText(kFixtures / "../../data/nd/schema.sql");
}

inline std::string navRegion() {
    return readText(kFixtures / "navdb/region.sql");
}

// The test region's navigation database where a simulator folder keeps it.
inline void writeRegionDatabase(const std::filesystem::path& simRoot) {
    platform::db::createDatabase(simRoot / "Orvane/Nd/nd.sqlite", navSchema() + navRegion());
}

} // namespace tavi::test
