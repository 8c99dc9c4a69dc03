// Writes a made-up navigation database of the size of the whole world's, for benchmarks.
#include "platform/db/Database.h"
#include "tools/navdb/WorldNavDatabase.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s OUTPUT.sqlite SCHEMA.sql [SEED]\n", argv[0]);
        return 2;
    }
    std::ifstream source(argv[2], std::ios::binary);
    if (!source) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[2]);
        return 1;
    }
    std::ostringstream schema;
    schema << source.rdbuf();
    const auto seed = static_cast<uint32_t>(argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 7);
    try {
        tavi::tools::writeWorldNavDatabase(argv[1], schema.str(), seed);
    } catch (const tavi::platform::db::DbError& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.description().c_str());
        return 1;
    }
    return 0;
}
