// Pictures made by the tests themselves: solid or patterned images written to files.
#pragma once

#include <QImage>
#include <QString>

namespace testsupport {

// A w x h picture whose pixel (x, y) has red x % 256, green y % 256 and blue (x + y) % 256.
QImage GradientImage(int width, int height);
// Writes the image in the given format ("bmp", "gif", "jpg", "png"); returns the path.
QString WritePicture(const QImage& image, const QString& path, const char* format);

} // namespace testsupport
