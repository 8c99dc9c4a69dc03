// Reads a value of a state blob at its byte offset, as the blob's reader would.
#pragma once

#include <cstddef>
#include <cstring>
#include <vector>

namespace tavi::test {

template <typename Value>
Value valueAt(const std::vector<unsigned char>& bytes, std::size_t offset) {
    Value value;
    std::memcpy(&value, bytes.data() + offset, sizeof(Value));
    return value;
}

} // namespace tavi::test
