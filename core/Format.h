#pragma once

#include <string>

namespace tavi {

// printf-style formatting into a string; the module's log lines and stored values use the C
// library's formats.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

} // namespace tavi
