// A picture load as the loader's tests read it: the picture, or a null image and the reason.
#pragma once

#include "imageops/PictureLoader.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

struct Loaded {
    QImage image;
    QString error;
    QSize shownSize;
};

inline Loaded Load(const QString& path, const std::function<QSize(QSize)>& enough = {}) {
    QString error;
    const std::optional<LoadedPicture> loaded = LoadPictureFile(path, &error, enough);
    if (!loaded)
        return Loaded{QImage(), error, QSize()};
    return Loaded{loaded->image, error, loaded->shownSize};
}
