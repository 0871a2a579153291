// Window geometry kept on the available screen area.
#include "platform/WindowGeometry.h"

#include "platform/DialogPlacement.h"

#include <algorithm>

namespace platform {

QRect KeptWithin(const QRect& outer, const QRect& area) {
    if (area.isEmpty())
        return outer;
    // 64-bit arithmetic: a position far off any screen must not wrap around.
    const auto place = [](int pos, int length, int start, int areaLength) {
        const long long last = std::max<long long>(start, (long long)start + areaLength - length);
        return int(std::clamp<long long>(pos, start, last));
    };
    QRect kept = outer;
    kept.moveLeft(place(outer.left(), outer.width(), area.left(), area.width()));
    kept.moveTop(place(outer.top(), outer.height(), area.top(), area.height()));
    return kept;
}

QRect FitWindowGeometry(const QRect& stored, const QRect& area, const QSize& designSize,
                        double twipsPerPixelX, double twipsPerPixelY) {
    if (area.isEmpty())
        return stored;
    if (stored.width() > area.width() || stored.height() > area.height()) {
        const QSize size = designSize.boundedTo(area.size());
        return QRect(CentredPixels(area.left(), area.width(), size.width(), twipsPerPixelX),
                     CentredPixels(area.top(), area.height(), size.height(), twipsPerPixelY),
                     size.width(), size.height());
    }
    return KeptWithin(stored, area);
}

} // namespace platform
