#pragma once
// The program's resampling on both of a machine's cores.

#include <functional>

#include "render/core/Resampler.h"

// Draws the lower half of the piece's destination rows on a second thread while this thread
// draws the upper half; otherwise as ResamplePiece. Throws std::bad_alloc as it does.
bool ResamplePieceOnTwoThreads(ConstPixelView map, const DrawPiece& piece, PixelView output,
                               const std::function<bool()>& stopRequested);
