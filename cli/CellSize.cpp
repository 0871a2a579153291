// Cell sizes from columns and rows.
#include "cli/CellSize.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <climits>

namespace mGlyfora {

namespace {

int Side(double length) {
    return platform::RoundHalfEven<int>(length, 1, INT_MAX);
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
                               : request.usualAspect;
}

} // namespace

QSize ChooseCells(const CellRequest& request, double width, double height) {
    const double shape = CellShape(request);
    const auto byColumns = [&] {
        return QSize(request.columns, Side(height / (width / request.columns * shape)));
    };
    const auto byRows = [&] {
        return QSize(Side(width / (height / request.rows / shape)), request.rows);
    };
    if (request.columns > 0 && request.rows > 0) {
        if (!request.box)
            return QSize(request.columns, request.rows);
        const QSize wide = byColumns();
        return wide.height() <= request.rows ? wide : byRows().boundedTo(wide);
    }
    if (request.columns > 0)
        return byColumns();
    if (request.rows > 0)
        return byRows();
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
