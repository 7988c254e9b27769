#include "render/SplitResample.h"

#include <exception>

#include "render/SideTask.h"

bool ResamplePieceOnTwoThreads(ConstPixelView map, const DrawPiece& piece, PixelView output,
                               const std::function<bool()>& stopRequested) {
    const int half = piece.destination.height / 2;
    bool lowerDrawn = false;
    bool upperDrawn = false;
    {
        const SideTask lower([&] {
            try {
                lowerDrawn = ResamplePieceRows(map, piece, half, piece.destination.height, output,
                                               stopRequested);
            } catch (const std::exception&) {
            }
        });
        upperDrawn = ResamplePieceRows(map, piece, 0, half, output, stopRequested);
    }
    return upperDrawn && lowerDrawn;
}
