#include "render/core/EmbeddedProfile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kApp2 = 0xE2;
constexpr char kIccSignature[] = "ICC_PROFILE"; // with its null: 12 bytes
constexpr std::size_t kChunkHeader = sizeof kIccSignature + 2;
// A file's header segments are few; a walk longer than this is a damaged or hostile file.
constexpr int kMaxSegments = 4096;
constexpr std::size_t kProfileHeader = 128;

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value = value << 8 | bytes[at + i];
    }
    return value;
}

// The profile's description as plain characters: a version 2 'desc' holds ASCII, a version 4
// 'mluc' UTF-16 records of which the first is taken. Empty when there is none or it is damaged.
std::string Description(std::span<const std::uint8_t> profile) {
    if (profile.size() < kProfileHeader + 4) {
        return {};
    }
    const std::uint32_t tags = BigEndian(profile, kProfileHeader, 4);
    for (std::uint64_t tag = 0; tag < tags; ++tag) {
        const std::uint64_t entry = kProfileHeader + 4 + tag * 12;
        if (entry + 12 > profile.size()) {
            return {};
        }
        const std::uint64_t offset = BigEndian(profile, entry + 4, 4);
        const std::uint64_t size = BigEndian(profile, entry + 8, 4);
        if (BigEndian(profile, entry, 4) != 0x64657363 /* desc */) {
            continue;
        }
        if (offset + size > profile.size() || size < 12) {
            return {};
        }
        const auto data = profile.subspan(offset, size);
        const std::uint32_t type = BigEndian(data, 0, 4);
        std::string text;
        if (type == 0x64657363 /* desc */) {
            const std::uint64_t count = BigEndian(data, 8, 4);
            for (std::uint64_t i = 0; i < count && 12 + i < data.size(); ++i) {
                text += static_cast<char>(data[12 + i]);
            }
        } else if (type == 0x6D6C7563 /* mluc */ && size >= 28 && BigEndian(data, 8, 4) > 0) {
            const std::uint64_t length = BigEndian(data, 20, 4);
            const std::uint64_t start = BigEndian(data, 24, 4);
            for (std::uint64_t i = 0; i + 1 < length && start + i + 1 < data.size(); i += 2) {
                const std::uint32_t unit = BigEndian(data, start + i, 2);
                text += unit < 0x80 ? static_cast<char>(unit) : '?';
            }
        }
        return text;
    }
    return {};
}

} // namespace

std::vector<std::uint8_t> JpegEmbeddedProfile(const ReadBytesAt& read) {
    std::array<std::uint8_t, 4> head{};
    if (!read(0, std::span(head).first(2)) || head[0] != kMarker || head[1] != kStartOfImage) {
        return {};
    }
    std::vector<std::vector<std::uint8_t>> chunks;
    std::uint64_t offset = 2;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        if (!read(offset, std::span(head).first(2)) || head[0] != kMarker) {
            return {};
        }
        const std::uint8_t marker = head[1];
        if (marker == kMarker) {
            ++offset; // a fill byte before the marker
            continue;
        }
        if (marker == kStartOfScan || marker == kEndOfImage) {
            break;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            offset += 2; // markers without a segment
            continue;
        }
        if (!read(offset + 2, std::span(head).first(2))) {
            return {};
        }
        const std::uint32_t length = BigEndian(head, 0, 2);
        if (length < 2) {
            return {};
        }
        if (marker == kApp2 && length - 2 > kChunkHeader) {
            std::vector<std::uint8_t> payload(length - 2);
            if (!read(offset + 4, payload)) {
                return {};
            }
            if (std::memcmp(payload.data(), kIccSignature, sizeof kIccSignature) == 0) {
                const std::uint8_t number = payload[sizeof kIccSignature];
                const std::uint8_t count = payload[sizeof kIccSignature + 1];
                if (number == 0 || number > count || (!chunks.empty() && chunks.size() != count)) {
                    return {};
                }
                chunks.resize(count);
                if (!chunks[number - 1].empty()) {
                    return {};
                }
                chunks[number - 1].assign(payload.begin() + kChunkHeader, payload.end());
            }
        }
        offset += 2 + std::uint64_t{length};
    }
    std::vector<std::uint8_t> profile;
    for (const auto& chunk : chunks) {
        if (chunk.empty()) {
            return {};
        }
        profile.insert(profile.end(), chunk.begin(), chunk.end());
    }
    // The profile's own header gives its size; a shorter profile was cut.
    if (profile.size() < kProfileHeader || BigEndian(profile, 0, 4) > profile.size()) {
        return {};
    }
    return profile;
}

ProfileKind KindOfProfile(std::span<const std::uint8_t> profile) {
    if (profile.size() < kProfileHeader || BigEndian(profile, 16, 4) != 0x52474220 /* RGB */) {
        return {};
    }
    return {true, Description(profile).find("sRGB") != std::string::npos};
}
