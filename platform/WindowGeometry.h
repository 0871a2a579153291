// Keeping a window's outer geometry on the screen area it will be shown on.
#pragma once

#include <QRect>
#include <QSize>

namespace platform {

// `outer` moved the least it takes to lie within `area`; an extent larger than the area's
// starts at the area's near edge.
QRect KeptWithin(const QRect& outer, const QRect& area);

// The outer geometry to use for `stored` (pixels, screen coordinates) on a screen whose
// available area is `area`. A size that does not fit the area becomes `designSize`, shrunk
// to fit the area, centred on the area (twipsPerPixelX/Y as the centring rule needs them);
// a window that would reach past the area is moved onto it. A stored geometry that fits is
// kept as it is.
QRect FitWindowGeometry(const QRect& stored, const QRect& area, const QSize& designSize,
                        double twipsPerPixelX, double twipsPerPixelY);

} // namespace platform
