#pragma once
// Painting one night sample over one pixel: the stroke colour and source-over compositing of
// straight-alpha ARGB values, each channel rounded to nearest.

#include <cstdint>

// The night colour's red, green and blue under the given alpha; the night pixel's own alpha
// plays no part.
inline std::uint32_t StrokeColour(std::uint8_t alpha, std::uint32_t nightColour) {
    return (std::uint32_t{alpha} << 24) | (nightColour & 0x00FFFFFFu);
}

inline std::uint32_t Channel(std::uint32_t colour, int shift) {
    return (colour >> shift) & 0xFFu;
}

// source over destination. Alpha 0 leaves the destination, alpha 255 replaces it, and over an
// opaque destination each channel is (source * a + destination * (255 - a)) / 255.
inline std::uint32_t SourceOver(std::uint32_t destination, std::uint32_t source) {
    const std::uint32_t sourceAlpha = source >> 24;
    if (sourceAlpha == 0) {
        return destination;
    }
    if (sourceAlpha == 255) {
        return source;
    }
    const std::uint32_t destinationAlpha = destination >> 24;
    const std::uint32_t remaining = 255 - sourceAlpha;
    if (destinationAlpha == 255) {
        std::uint32_t result = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const std::uint32_t mixed =
                Channel(source, shift) * sourceAlpha + Channel(destination, shift) * remaining;
            result |= ((mixed + 127) / 255) << shift;
        }
        return result;
    }
    // Translucent destination: weights scaled by 255 * 255 so that everything stays integral.
    const std::uint32_t coverage = sourceAlpha * 255 + destinationAlpha * remaining;
    std::uint32_t result = ((coverage + 127) / 255) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t mixed = Channel(source, shift) * sourceAlpha * 255 +
                                    Channel(destination, shift) * destinationAlpha * remaining;
        result |= ((2 * mixed + coverage) / (2 * coverage)) << shift;
    }
    return result;
}
