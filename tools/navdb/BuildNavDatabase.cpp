// Builds a navigation database file from SQL source files, run in the order given.
#include "platform/db/Database.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.sqlite SOURCE.sql...\n", argv[0]);
        return 2;
    }
    std::string script;
    for (int index = 2; index < argc; ++index) {
        std::ifstream source(argv[index], std::ios::binary);
        if (!source) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[index]);
            return 1;
        }
        std::ostringstream text;
        text << source.rdbuf();
        script += text.str();
        script += '\n';
    }
    try {
        tavi::platform::db::createDatabase(argv[1], script);
    } catch (const tavi::platform::db::DbError& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.description().c_str());
        return 1;
    }
    return 0;
}
