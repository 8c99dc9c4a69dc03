#include "core/Format.h"

#include <cstdarg>
#include <cstdio>

namespace tavi {

std::string format(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, pattern, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, pattern, args);
    }
    va_end(args);
    return text;
}

} // namespace tavi
