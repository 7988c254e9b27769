#pragma once
// The day-and-night blend in memory: paints the night image over the day image wherever the
// sun is below the horizon, fading it in across the twilight band.
//
// Each pixel gets what painting its own sample gives: the alpha from the sun's altitude at the
// pixel's top-left corner, the night pixel at the same coordinates (its alpha discarded) composed
// source-over. A night sample outside a smaller night image repeats the night colour that was
// read last when the map is walked column by column, top to bottom; before the first read it
// is opaque black.

#include <cstdint>
#include <vector>

#include "render/core/NightPixels.h"
#include "render/core/TerminatorImage.h"
#include "solar/SunInstant.h"

class ColumnGate {
public:
    // Called once for every column, in column order, before that column is blended. Returning
    // false stops the blend; no later column is entered.
    virtual bool Enter(std::uint32_t column) = 0;

protected:
    ~ColumnGate() = default;
};

// Blends night into day in place; either may have three or four bytes a pixel (a three-byte day
// image is opaque, and keeps its layout). Returns false when the gate stopped it, in which case
// the day image holds an unfinished blend. Throws std::bad_alloc when its row and column tables
// cannot be allocated.
bool BlendTerminator(const SunInstant& sun, PixelView day, ConstPixelView night, ColumnGate& gate);

// The same with the night read area by area; it also returns false when an area is not at hand.
bool BlendTerminator(const SunInstant& sun, PixelView day, const NightPixels& night,
                     ColumnGate& gate);

// The night areas that blend reads for a day image of the given size, in the order it reads
// them; areas it reads nothing from are left out.
std::vector<PixelArea> NightAreasRead(const SunInstant& sun, std::uint32_t dayWidth,
                                      std::uint32_t dayHeight, std::uint32_t nightWidth,
                                      std::uint32_t nightHeight);
