// The profile reader on a settings file of 200 keys: every lookup reads and scans the file.
#include "platform/profile/Profile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace profile = tavi::platform::profile;

constexpr int kSections = 10;
constexpr int kKeysPerSection = 20;

class ProfileFile {
public:
    ProfileFile() {
        std::string pattern = (fs::temp_directory_path() / "bench-profile-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::abort();
        }
        folder = pattern;
        std::ofstream out(path());
        for (int section = 0; section < kSections; ++section) {
            out << "; section " << section << "\r\n[Section" << section << "]\r\n";
            for (int key = 0; key < kKeysPerSection; ++key) {
                out << "  key" << key << " = \"value " << section * kKeysPerSection + key
                    << "\"\r\n";
            }
            out << "\r\n";
        }
    }
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;
    ~ProfileFile() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    fs::path path() const { return folder / "tavi.ini"; }

private:
    fs::path folder;
};

void lookupNearTheEnd(benchmark::State& state) {
    const ProfileFile file;
    if (profile::lookup(file.path(), "SECTION9", "KEY18") != "value 198") {
        state.SkipWithError("the key is not where the file puts it");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(profile::lookup(file.path(), "SECTION9", "KEY18"));
    }
}
BENCHMARK(lookupNearTheEnd);

void lookupMissingKey(benchmark::State& state) {
    const ProfileFile file;
    for (auto _ : state) {
        benchmark::DoNotOptimize(profile::read(file.path(), "Section9", "absent", "0", 64));
    }
}
BENCHMARK(lookupMissingKey);

} // namespace
