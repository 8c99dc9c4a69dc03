#pragma once

#include <cstdlib>

namespace tavi::test {

// A program or module a test runs: the one the environment variable names (the sanitized test
// programs run the sanitized builds), else the one built with the test.
inline const char* builtFile(const char* variable, const char* builtWithTest) {
    const char* named = std::getenv(variable);
    return named != nullptr && *named != '\0' ? named : builtWithTest;
}

} // namespace tavi::test
