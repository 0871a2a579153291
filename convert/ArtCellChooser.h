// The choice of each cell of a row of art: the character (and colours) of a style that
// best show the cell's samples, with the error carried between cells where it diffuses.
#pragma once

#include "convert/ArtEngine.h"
#include "convert/ArtWriter.h"

#include <memory>
#include <vector>

namespace mGlyfora {

// One row of cells' samples in linear light and their luminance, SamplesPerCell of the
// style a cell: sample (i, j) of cell x at [j * columns * width + x * width + i].
struct ArtPlanes {
    std::vector<float> r, g, b, y;
};

class ArtCellChooser {
public:
    explicit ArtCellChooser(const ArtRequest& request);
    ~ArtCellChooser();
    // The row's cells, in order: rows must come top to bottom.
    void Choose(const ArtPlanes& planes, std::vector<ArtCell>& cells);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace mGlyfora
