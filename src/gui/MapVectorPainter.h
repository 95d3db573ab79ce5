// Paints the map of one time (a MapPicture) with a QPainter as lines, areas
// and texts, at any size: what the map's SVG and PDF hold, and its pixels at
// a size other than 800 × 640.
#pragma once

#include "gui/PictureExport.h"
#include "map/MapPicture.h"

#include <QSize>

class QPainter;

namespace kavrin {

// Paints `picture` on a white page of `size` units: the 800 × 640 picture
// scaled by the smaller of the two ratios, so that it keeps its proportions,
// and centred, the rest of a page of another shape left white. Each shape
// covers the pixels the raster canvas gives it (a pixel (x, y) is the square
// from x to x + 1, from y to y + 1), a line or outline at least one pixel wide.
void PaintMapVector(const MapPicture& picture, QPainter& painter, QSize size);

// The map at `size` in every format. At 800 × 640 its pixels are the raster
// canvas's exactly (PaintMapPicture); at another size they are painted by
// PaintMapVector without smoothing, so that the picture keeps the map's few
// colours. The source refers to `picture`, which must outlive it.
PictureSource MapPictureSource(const MapPicture& picture, QSize size);

}  // namespace kavrin
