#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The module must not depend on the locale; a comma locale catches conversions that do.
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
