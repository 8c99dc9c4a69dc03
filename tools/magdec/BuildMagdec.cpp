// Builds the simulator's magnetic-variation file from the field model.
#include "tools/magdec/FieldModel.h"
#include "tools/magdec/MagdecFile.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bgl\n", argv[0]);
        return 2;
    }
    const bool written = tavi::tools::writeMagdecFile(argv[1], [](int column, int row) {
        return tavi::tools::rawFromDegrees(tavi::tools::modelVariation(row - 90.0, column));
    });
    if (!written) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
