// The headless map: the picture of one time, or of every time, of a saved
// project, drawn exactly as the map window draws it, as 24-bit bitmaps, PNG,
// SVG or PDF, and the pictures of every time as one animated GIF.
#pragma once

#include "BatchOptions.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// The title is Portuguese when the stored language is "Port"; the scale's
// caption follows the language applied at start-up.
struct MapLanguages {
    bool titleInPortuguese = false;
    bool captionInPortuguese = true;
};

// Draws and writes the pictures in the options' format and size; with --all
// they are FOLDER/T<time>.bmp (or the extension of --format; the folder is created). Returns the paths written. A time without
// its results file is an error, since no earlier picture stands in for it. Throws KavrinError.
// `whileFirstMapIsDrawn` runs on the calling thread while another one reads
// the project and draws the first map: what the painting needs starts there.
std::vector<std::string> PerformBatchMap(const BatchMapOptions& options, const BatchEnvironment& environment,
                                         const MapLanguages& languages, const std::function<void()>& whileFirstMapIsDrawn = {});

// Every time's map, in time order, as one looping GIF at exactly `to`, each
// map encoded as it is drawn. Refused, as in the animation window, when less
// than 50 MiB of memory is available (`availableMemory`, nothing when it
// cannot be told). Throws KavrinError.
void PerformBatchAnimate(const BatchAnimateOptions& options, const BatchEnvironment& environment, const MapLanguages& languages,
                         std::optional<std::uint64_t> availableMemory);

// The map of one time written as the bitmap `--to` with its world file beside
// it (".bpw"), which lays the picture's plot on the site as the project's
// placement (and each --set) says, or on the local x, y. Prints both paths,
// then the placement's note where it has one. Throws KavrinError; a refused
// placement writes nothing.
void PerformBatchMapWorld(const BatchGeoExportOptions& options, const BatchEnvironment& environment,
                          const MapLanguages& languages, std::ostream& out);

}  // namespace kavrin
