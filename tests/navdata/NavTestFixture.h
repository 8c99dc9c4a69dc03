#pragma once

#include "navdata/MagDev.h"
#include "navdata/NavDatabase.h"
#include "support/ExecutableHost.h"
#include "support/NavFixtureFiles.h"
#include "support/TempFolder.h"
#include "tools/magdec/MagdecFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

// The navigation database tests' simulator folder, built from the default schema and the test
// region of tests/fixtures/navdb.
namespace tavi::test {

using Lines = std::vector<std::string>;

// The schema without its NOT NULL rules, to store NULLs where the module expects values.
inline std::string relaxedNavSchema() {
    std::string text = navSchema();
    const std::string rule = " NOT NULL";
    for (std::size_t at = text.find(rule); at != std::string::npos; at = text.find(rule, at)) {
        text.erase(at, rule.size());
    }
    return text;
}

// A variation file with one value everywhere, loaded.
inline MagDev uniformMagDev(const std::filesystem::path& file, double degrees) {
    const uint16_t raw = tools::rawFromDegrees(degrees);
    EXPECT_TRUE(tools::writeMagdecFile(file, [raw](int, int) { return raw; }));
    MagDev magDev;
    EXPECT_TRUE(magDev.load(file));
    return magDev;
}

// Loaders that write what they were asked into the log, so their order shows among its lines.
class RecordingLoaders final : public NavDatabase::Loaders {
public:
    explicit RecordingLoaders(Lines& lines) : lines(lines) {}
    void loadPilotPoints(const std::string& folder) override {
        lines.push_back("<pilot points " + folder + ">");
    }
    void loadPerformance(const std::string& path) override {
        lines.push_back("<performance " + path + ">");
    }
    void loadStoredPlans(const std::string& folder) override {
        lines.push_back("<stored plans " + folder + ">");
    }

private:
    Lines& lines;
};

// A simulator folder with a navigation database and a database object logging into lines.
class NavDatabaseFixture : public testing::Test {
protected:
    NavDatabaseFixture()
        : host(root.path().string() + "/sim.exe"),
          magDev(uniformMagDev(root.path() / "grid.bgl", 2.0)),
          database(magDev, [this](std::string_view line) { lines.emplace_back(line); }),
          loaders(lines) {}

    std::string folder() const { return root.path().string() + "/"; }
    std::filesystem::path databaseFile() const { return root.path() / "Orvane/Nd/nd.sqlite"; }

    void connectTo(const std::string& script) {
        platform::db::createDatabase(databaseFile(), script);
        database.connect(loaders);
    }

    // The test region, connected, with the connection's log lines dropped.
    void connectToFixture() {
        connectTo(navSchema() + navRegion());
        lines.clear();
    }

    TempFolder root;
    ExecutableHost host;
    MagDev magDev;
    Lines lines;
    NavDatabase database;
    RecordingLoaders loaders;
};

} // namespace tavi::test
