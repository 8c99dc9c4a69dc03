#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Tests never play to the machine's speakers: the module's device is OpenAL Soft's
    // speakerless one, whatever hardware the machine has.
    setenv("ALSOFT_DRIVERS", "null", 1);
    // The module must not depend on the locale; a comma locale catches conversions that do.
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
