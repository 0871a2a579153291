// Fitting a stored window geometry to the screen area it will be shown on.
#pragma once

#include <QRect>
#include <QSize>

namespace platform {

// The outer geometry to use for `stored` (pixels, screen coordinates) on a screen whose
// available area is `area`. A size that does not fit the area becomes `designSize`
// (itself bounded by the area) centred on the area; a window that would reach past the
// area is moved onto it. A stored geometry that fits is kept as it is.
QRect FitWindowGeometry(const QRect& stored, const QRect& area, const QSize& designSize);

} // namespace platform
