// The status-bar picture information and the picture's base name.
#pragma once

#include <QString>

namespace mGlyfora {

// "Image: W x H -> K KByte", where K is the character count of a text conversion
// with cells of x by y pixels, in kilobytes rounded half to even.
QString ImageInfoText(double width, double height, int x, int y);

// The file name without folder and last extension; the previous base name when the
// path has no folder separator or the name has no ".".
QString NextImageBaseName(const QString& path, const QString& previous);

} // namespace mGlyfora
