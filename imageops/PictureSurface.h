// A picture surface: a retained 32-bit bitmap of whole pixels that keeps its image
// while hidden, takes the size of any picture assigned to it, keeps its size when
// cleared, and answers the invalid colour for a pixel outside the picture.
#pragma once

#include "platform/Colour.h"

#include <QImage>

class PictureSurface {
public:
    explicit PictureSurface(QRgb background = qRgb(255, 255, 255));

    // Takes the picture and its size; transparent pixels are laid onto the background.
    // False (surface unchanged) when the memory for it cannot be had.
    bool Assign(const QImage& picture);
    // Fills the surface with its background colour; the size stays.
    void Clear();
    // A cleared surface of the given size; false (unchanged) when it cannot be allocated.
    bool SetSize(int width, int height);

    int ScaleWidth() const { return image_.width(); }
    int ScaleHeight() const { return image_.height(); }
    bool IsEmpty() const { return image_.isNull(); }

    // The pixel's colour as 0x00BBGGRR, or the invalid colour outside the picture.
    Colour Point(int x, int y) const;

    // Always Format_RGB32 (or null while the surface has never held a picture).
    const QImage& Image() const { return image_; }
    QImage& MutableImage() { return image_; }

    QRgb Background() const { return background_; }
    void SetBackground(QRgb background) { background_ = background; }

    friend void CopyPicture(PictureSurface& destination, const PictureSurface& source);

private:
    QImage image_;
    QRgb background_;
};

// The destination takes the source's size and every pixel of it.
void CopyPicture(PictureSurface& destination, const PictureSurface& source);
