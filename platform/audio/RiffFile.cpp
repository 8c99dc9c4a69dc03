#include "platform/audio/RiffFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

namespace tavi::platform::audio {

namespace {

constexpr uint64_t kHeaderBytes = 8;
constexpr uint64_t kFormTypeBytes = 4;

bool hasFormType(uint32_t id) {
    return id == fourCc("RIFF") || id == fourCc("LIST");
}

} // namespace

RiffFile::RiffFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

std::optional<RiffFile> RiffFile::load(const std::filesystem::path& path, uint64_t maxBytes) {
    std::error_code error;
    const uint64_t bytes = std::filesystem::file_size(path, error);
    if (error || bytes > maxBytes) {
        return std::nullopt;
    }
    std::ifstream stream(path, std::ios::binary);
    std::vector<uint8_t> contents(bytes);
    if (!stream.read(reinterpret_cast<char*>(contents.data()),
                     static_cast<std::streamsize>(bytes))) {
        return std::nullopt;
    }
    return RiffFile(std::move(contents));
}

bool RiffFile::readHeader(RiffChunk& chunk) {
    if (size() - position_ < kHeaderBytes) {
        return false;
    }
    const uint8_t* header = bytes_.data() + position_;
    chunk.id = littleEndian32(header);
    chunk.size = littleEndian32(header + 4);
    chunk.formType = 0;
    chunk.dataOffset = position_ + kHeaderBytes;
    return true;
}

uint64_t RiffFile::endOf(const RiffChunk& chunk) const {
    return std::min(chunk.dataOffset + chunk.size, size());
}

bool RiffFile::descend(RiffChunk& chunk) {
    RiffChunk found;
    if (!readHeader(found)) {
        return false;
    }
    uint64_t next = found.dataOffset;
    if (hasFormType(found.id)) {
        if (found.size < kFormTypeBytes || size() - found.dataOffset < kFormTypeBytes) {
            return false;
        }
        found.formType = littleEndian32(bytes_.data() + found.dataOffset);
        next += kFormTypeBytes;
    }
    chunk = found;
    position_ = next;
    return true;
}

bool RiffFile::descend(uint32_t id, const RiffChunk& parent, RiffChunk& chunk) {
    const uint64_t end = endOf(parent);
    while (position_ < end && end - position_ >= kHeaderBytes) {
        RiffChunk found;
        readHeader(found);
        if (found.id == id) {
            return descend(chunk);
        }
        const uint64_t padded = uint64_t{found.size} + (found.size & 1u);
        seek(found.dataOffset + padded);
    }
    return false;
}

void RiffFile::ascend(const RiffChunk& chunk) {
    seek(chunk.dataOffset + chunk.size + (chunk.size & 1u));
}

void RiffFile::seek(uint64_t offset) {
    position_ = std::min(offset, size());
}

std::size_t RiffFile::read(std::span<uint8_t> destination) {
    const uint64_t available = size() - position_;
    const std::size_t count =
        static_cast<std::size_t>(std::min<uint64_t>(destination.size(), available));
    if (count > 0) {
        std::memcpy(destination.data(), bytes_.data() + position_, count);
    }
    position_ += count;
    return count;
}

} // namespace tavi::platform::audio
