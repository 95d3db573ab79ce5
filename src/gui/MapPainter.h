// Paints the map of one time on a 24-bit 800 × 640 picture.
#pragma once

#include "map/MapPicture.h"

#include <QFont>
#include <QImage>

namespace kavrin {

// The labels' font: a plain sans serif of 11 pixels, drawn without
// antialiasing, so a map holds only its own colours, black and white.
QFont MapFont();

// Loads the labels' font and draws its digits once, off the picture: the
// font database and the font's glyphs are ready before the first map is
// painted (a batch program does this while its map is being drawn).
void LoadMapFont();

// The shapes by the raster canvas's pixel rule, the texts black on white in
// the order of the list.
QImage PaintMapPicture(const MapPicture& picture);

// The 800 × 640 picture all white: what a drawing starts from.
QImage WhiteMapPicture();

}  // namespace kavrin
