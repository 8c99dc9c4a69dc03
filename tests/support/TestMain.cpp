#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

// Fontconfig 2.14.1 loses a few bytes while it parses its configuration files, once a process.
// Its frames carry no frame pointers, so the leak can only be told by the library's name.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    // Tests never play to the machine's speakers: the module's device is OpenAL Soft's
    // speakerless one, whatever hardware the machine has.
    setenv("ALSOFT_DRIVERS", "null", 1);
    // The module must not depend on the locale; a comma locale catches conversions that do.
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
