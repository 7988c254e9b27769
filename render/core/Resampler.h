#pragma once
// The program's own scaling of the map onto the wallpaper, in two separable passes (down the
// map's columns, then along each destination row) with the weights of render/core/ResampleFilter.h.

#include <functional>

#include "render/core/PixelView.h"
#include "render/core/WallpaperGeometry.h"

// Destination rows drawn between two looks at the stop check.
constexpr int kResampleStripRows = 32;

// Draws piece.source of the map, scaled, into piece.destination of the output; no other output
// pixel changes. The map is a globe: filter taps past its left or right edge read round the
// other edge, so two pieces meet without a seam, and taps above or below it read its top or
// bottom row. stopRequested (may be empty) is asked before every strip of kResampleStripRows
// destination rows. Returns false when it asked to stop (the strips drawn so far stay) or when
// the piece does not fit: pixel sizes other than 3 or 4 bytes or differing between the two
// views, or a destination reaching outside the output. An empty piece draws nothing. Throws
// std::bad_alloc when there is no memory for its working buffers: the weights of one
// destination row and one column, and a row of floats as wide as the source.
bool ResamplePiece(ConstPixelView map, const DrawPiece& piece, PixelView output,
                   const std::function<bool()>& stopRequested);

// Only destination rows [firstRow, endRow) of the piece (cut to the piece), with the stop check
// asked before each strip of them; otherwise as ResamplePiece. Bands of one piece drawn apart
// give the pixels of the whole piece, so threads can share its rows.
bool ResamplePieceRows(ConstPixelView map, const DrawPiece& piece, int firstRow, int endRow,
                       PixelView output, const std::function<bool()>& stopRequested);

// Every piece of the geometry, left to right; the output is the screen-sized bitmap.
bool ResampleWallpaper(ConstPixelView map, const WallpaperGeometry& geometry, PixelView output,
                       const std::function<bool()>& stopRequested);
