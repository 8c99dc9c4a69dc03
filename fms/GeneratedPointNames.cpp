#include "fms/GeneratedPointNames.h"

#include "core/Format.h"

namespace tavi {

std::string GeneratedPointNames::take(const char* prefix, int32_t& counter) {
    std::string name = format("%s%02d", prefix, counter);
    counter += 2;
    return name;
}

} // namespace tavi
