// A picture load as the loader's tests read it (the picture, or a null image and the reason),
// and the scratch folder they write their pictures into.
#pragma once

#include "imageops/PictureLoader.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
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

// A test whose pictures are written into a folder of its own, removed with it.
class PictureFolderTest : public QObject {
protected:
    QTemporaryDir dir_;

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        return testsupport::WriteFile(QFile::encodeName(path), bytes) ? path : QString();
    }
};
