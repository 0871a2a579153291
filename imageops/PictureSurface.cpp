// Picture surface storage and the whole-picture copy.
#include "imageops/PictureSurface.h"

#include <QPainter>

PictureSurface::PictureSurface(QRgb background) : background_(background | 0xFF000000u) {}

bool PictureSurface::Assign(const QImage& picture) {
    if (picture.isNull()) {
        Clear();
        return true;
    }
    QImage converted;
    if (picture.format() == QImage::Format_RGB32) {
        converted = picture;
    } else if (!picture.hasAlphaChannel()) {
        converted = picture.convertToFormat(QImage::Format_RGB32);
    } else {
        converted = QImage(picture.size(), QImage::Format_RGB32);
        if (!converted.isNull()) {
            converted.fill(background_);
            QPainter painter(&converted);
            painter.drawImage(0, 0, picture);
        }
    }
    if (converted.isNull())
        return false;
    image_ = converted;
    return true;
}

void PictureSurface::Clear() {
    if (!image_.isNull())
        image_.fill(background_);
}

bool PictureSurface::SetSize(int width, int height) {
    QImage blank(width, height, QImage::Format_RGB32);
    if (blank.isNull())
        return false;
    blank.fill(background_);
    image_ = blank;
    return true;
}

Colour PictureSurface::Point(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return platform::InvalidColour;
    const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    return platform::ColourFromRgb(line[x]);
}

void CopyPicture(PictureSurface& destination, const PictureSurface& source) {
    // Implicit sharing makes this one block copy, done when either side is next written.
    destination.image_ = source.image_;
}
