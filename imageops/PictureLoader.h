// Reads a picture file into a 32-bit image: every format Qt knows, the first frame of
// an animation, EXIF orientation applied, and a clear error for anything else.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

struct LoadedPicture {
    QImage image;    // null on failure
    QString error;   // the reason, for the person, when image is null
    QSize shownSize; // the whole picture's size as shown, even when image was reduced
};

// Pictures whose decoded size would pass this many bytes are refused.
inline constexpr qint64 PictureAllocationLimitBytes = qint64(1) << 30;

// The decoded picture as it is in the file (it may carry transparency; a picture
// surface lays that onto its background when the picture is assigned to it).
LoadedPicture LoadPictureFile(const QString& path);

// The same, decoded already reduced where the format does it while decoding (JPEG's DCT
// scaling): `enough` gets the picture's size as shown and answers the smallest size that
// serves (an invalid size: the whole picture). The image is then at least that size.
LoadedPicture LoadPictureFile(const QString& path, const std::function<QSize(QSize)>& enough);
