#pragma once
// Colour profiles carried inside picture files, found without a decoder's help: a JPEG file
// carries its profile in APP2 "ICC_PROFILE" segments before its scan, in numbered chunks.
// Every length and number is checked; the file is read only where the walk leads.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Fills `to` with the file's bytes at `offset`; false when there are not that many there.
using ReadBytesAt = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> to)>;

// The profile of a JPEG file, its chunks joined in order; empty when the file is no JPEG, has
// no profile, or its chunks are inconsistent (missing, repeated, miscounted or cut short).
std::vector<std::uint8_t> JpegEmbeddedProfile(const ReadBytesAt& read);

// Whether the ICC profile describes RGB pixels, and whether it names itself an sRGB profile
// (its description mentions "sRGB"), in which case the pixels need no conversion.
struct ProfileKind {
    bool rgb = false;
    bool srgb = false;
};
ProfileKind KindOfProfile(std::span<const std::uint8_t> profile);
