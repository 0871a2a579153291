// Cell sizes from columns and rows.
#include "cli/CellSize.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <climits>

namespace mGlyfora {

namespace {

int Side(double length) {
    return int(std::clamp<qint64>(platform::RoundHalfEven(length), 1, INT_MAX));
}

int Fewest(qint64 length, int count) {
    return int(std::min<qint64>((length + count - 1) / count, INT_MAX));
}

} // namespace

namespace {

// A cell's height over its width.
double CellShape(const CellRequest& request) {
    return request.aspect > 0  ? request.aspect
           : request.cellGiven ? double(request.cell.height()) / double(request.cell.width())
                               : 2.0;
}

} // namespace

QSize ChooseCells(const CellRequest& request, double width, double height) {
    const double shape = CellShape(request);
    if (request.columns > 0 && request.rows > 0)
        return QSize(request.columns, request.rows);
    if (request.columns > 0)
        return QSize(request.columns, Side(height / (width / request.columns * shape)));
    if (request.rows > 0)
        return QSize(Side(width / (height / request.rows / shape)), request.rows);
    return QSize(Side(width / request.cell.width()), Side(height / request.cell.height()));
}

QSize ChooseCell(const CellRequest& request, qint64 width, qint64 height) {
    if (request.columns <= 0 && request.rows <= 0)
        return request.cell;
    const double shape = CellShape(request);
    QSize cell(1, 1);
    if (request.columns > 0) {
        const int x = Fewest(width, request.columns);
        cell = cell.expandedTo(QSize(x, Side(x * shape)));
    }
    if (request.rows > 0) {
        const int y = Fewest(height, request.rows);
        cell = cell.expandedTo(QSize(Side(y / shape), y));
    }
    return cell;
}

} // namespace mGlyfora
