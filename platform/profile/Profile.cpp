#include "platform/profile/Profile.h"

namespace tavi::platform::profile {

std::optional<std::string> lookup(const std::filesystem::path&, std::string_view,
                                  std::string_view) {
    return std::nullopt;
}

std::string read(const std::filesystem::path&, std::string_view, std::string_view,
                 std::string_view defaultValue, std::size_t bufferSize) {
    return std::string(defaultValue.substr(0, bufferSize == 0 ? 0 : bufferSize - 1));
}

bool write(const std::filesystem::path&, std::string_view, std::string_view, std::string_view) {
    return false;
}

int32_t parseInt(std::string_view) {
    return 0;
}

double parseDouble(std::string_view) {
    return 0.0;
}

} // namespace tavi::platform::profile
