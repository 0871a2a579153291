// The cell size of glyfora-convert: given with --cell or stored, or chosen per picture
// from the number of columns or rows wanted.
#pragma once

#include <QSize>

namespace mGlyfora {

struct CellRequest {
    QSize cell;             // --cell, else the stored cell
    bool cellGiven = false; // --cell was given: its shape is the cells' shape
    int columns = 0;        // --width; 0: not given
    int rows = 0;           // --height; 0: not given
    double aspect = 0;      // --aspect, a cell's height over its width; 0: not given
};

// The cell for a region of width x height pixels (each at least 1). Without columns or
// rows, the cell as given. With columns, the narrowest cell that gives at most that many
// columns; with rows, the shortest that gives at most that many rows; its other side
// follows the cells' shape (the aspect, else the given cell's, else twice as tall as wide),
// rounded half to even, at least 1. With both, the larger of the two cells: the picture
// fits the box.
QSize ChooseCell(const CellRequest& request, qint64 width, qint64 height);

// The columns and rows of the looks beyond the program's scan, whose cells may have
// fractional edges: exactly the columns and rows asked; with one of them, the other from
// the region's shape and the cells' shape as above; with neither, the region over the
// cell. Each rounded half to even, at least 1.
QSize ChooseCells(const CellRequest& request, double width, double height);

} // namespace mGlyfora
