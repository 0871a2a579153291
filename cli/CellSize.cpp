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

QSize ChooseCell(const CellRequest& request, qint64 width, qint64 height) {
    if (request.columns <= 0 && request.rows <= 0)
        return request.cell;
    const double shape = request.aspect > 0 ? request.aspect
                         : request.cellGiven
                             ? double(request.cell.height()) / double(request.cell.width())
                             : 2.0;
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
