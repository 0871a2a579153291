// Reads a picture file into a 32-bit image: every format Qt knows, the first frame of
// an animation, EXIF orientation applied, and a clear error for anything else.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>

struct LoadedPicture {
    QImage image;
    QSize shownSize; // the whole picture's size as shown, even when image was reduced
};

// Pictures whose decoded size would pass this many bytes are refused.
inline constexpr qint64 PictureAllocationLimitBytes = qint64(1) << 30;

// The decoded picture as it is in the file (it may carry transparency; a picture
// surface lays that onto its background when the picture is assigned to it), or nothing
// with the reason for the person in `error` (platform/ErrorText.h).
// Given `enough`, decoded already reduced where the format does it while decoding (JPEG's
// DCT scaling): `enough` gets the picture's size as shown and answers the smallest size
// that serves (an invalid size: the whole picture). The image is then at least that size.
std::optional<LoadedPicture> LoadPictureFile(const QString& path, QString* error,
                                             const std::function<QSize(QSize)>& enough = {});
