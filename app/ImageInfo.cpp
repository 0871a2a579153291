// Status text arithmetic and base names.
#include "app/ImageInfo.h"

#include "platform/Rounding.h"

namespace mGlyfora {

QString ImageInfoText(double width, double height, int x, int y) {
    using platform::RoundHalfEven;
    const qint64 w = RoundHalfEven(width);
    const qint64 h = RoundHalfEven(height);
    // 64-bit throughout: big pictures must not overflow the count.
    const qint64 cells = (x > 0 && y > 0) ? (h / y) * (w / x) : 0;
    const qint64 kilobytes = RoundHalfEven(double(cells) / 1024.0);
    return QStringLiteral("Image: %1 x %2 -> %3 KByte").arg(w).arg(h).arg(kilobytes);
}

QString NextImageBaseName(const QString& path, const QString& previous) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return previous;
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return previous;
    return name.left(dot);
}

} // namespace mGlyfora
