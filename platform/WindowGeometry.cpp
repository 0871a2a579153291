// Stored window geometry fitted to the available screen area.
#include "platform/WindowGeometry.h"

#include <algorithm>

namespace platform {

QRect FitWindowGeometry(const QRect& stored, const QRect& area, const QSize& designSize) {
    if (area.isEmpty())
        return stored;
    if (stored.width() > area.width() || stored.height() > area.height()) {
        const QSize size = designSize.boundedTo(area.size());
        return QRect(area.left() + (area.width() - size.width()) / 2,
                     area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
    }
    QRect fitted = stored;
    // 64-bit arithmetic: a stored position far off any screen must not wrap around.
    const auto place = [](int pos, int length, int start, int areaLength) {
        const long long last = (long long)start + areaLength - length;
        return int(std::clamp<long long>(pos, start, last));
    };
    fitted.moveLeft(place(stored.left(), stored.width(), area.left(), area.width()));
    fitted.moveTop(place(stored.top(), stored.height(), area.top(), area.height()));
    return fitted;
}

} // namespace platform
