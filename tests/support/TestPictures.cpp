// Test picture generation.
#include "tests/support/TestPictures.h"

#include <QImageWriter>

namespace testsupport {

QImage GradientImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x % 256, y % 256, (x + y) % 256);
    }
    return image;
}

QString WritePicture(const QImage& image, const QString& path, const char* format) {
    QImageWriter writer(path, format);
    writer.write(image);
    return path;
}

} // namespace testsupport
