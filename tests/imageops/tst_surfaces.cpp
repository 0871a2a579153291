// Picture surfaces, the whole-picture copy and the picture loader, including bad files.
#include "imageops/PictureLoader.h"
#include "imageops/PictureSurface.h"
#include "tests/support/FilePermissions.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {
QByteArray HugeBmpHeader(qint32 width, qint32 height) {
    QByteArray data(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            data[at + i] = char(v >> (8 * i) & 0xFF);
    };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, 54 + 16);
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height));
    data[26] = 1;  // planes
    data[28] = 24; // bits per pixel
    data.append(16, '\0');
    return data;
}
} // namespace

class TestSurfaces : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        return testsupport::WriteFile(path, bytes) ? path : QString();
    }

private Q_SLOTS:
    void init() { testsupport::ResetProcessValues(); }
    void surfaceRequirements() {
        PictureSurface surface(qRgb(10, 20, 30));
        QVERIFY(surface.Assign(testsupport::GradientImage(7, 5)));
        QCOMPARE(surface.ScaleWidth(), 7);
        QCOMPARE(surface.ScaleHeight(), 5);
        QCOMPARE(surface.Point(3, 2), platform::ColourFromRgb(qRgb(3, 2, 5)));
        QCOMPARE(surface.Point(7, 0), platform::InvalidColour);
        QCOMPARE(surface.Point(0, -1), platform::InvalidColour);
        surface.Clear();
        QCOMPARE(surface.ScaleWidth(), 7);
        QCOMPARE(surface.Point(6, 4), platform::ColourFromRgb(qRgb(10, 20, 30)));
    }

    void transparencyLaidOntoBackground() {
        QImage picture(2, 1, QImage::Format_ARGB32);
        picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
        picture.setPixel(1, 0, qRgba(255, 0, 0, 255));
        PictureSurface surface(qRgb(255, 255, 255));
        QVERIFY(surface.Assign(picture));
        QCOMPARE(surface.Point(0, 0), Colour(0x00FFFFFF));
        QCOMPARE(surface.Point(1, 0), Colour(0x000000FF));
    }

    void copyPictureTakesSizeAndPixels() {
        PictureSurface source;
        PictureSurface destination;
        QVERIFY(destination.SetSize(50, 50));
        QVERIFY(source.Assign(testsupport::GradientImage(9, 4)));
        CopyPicture(destination, source);
        QCOMPARE(destination.ScaleWidth(), 9);
        QCOMPARE(destination.ScaleHeight(), 4);
        QCOMPARE(destination.Point(8, 3), source.Point(8, 3));
        // Later edits of the source must not show through the copy.
        source.MutableImage().fill(qRgb(0, 0, 0));
        QCOMPARE(destination.Point(8, 3), platform::ColourFromRgb(qRgb(8, 3, 11)));
    }

    void loadsFormats_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("bmp") << "bmp";
        QTest::newRow("jpg") << "jpg";
        QTest::newRow("png") << "png";
    }
    void loadsFormats() {
        QFETCH(QString, format);
        const QString path = testsupport::WritePicture(testsupport::GradientImage(33, 17),
                                                       dir_.filePath(QStringLiteral("p.") + format),
                                                       format.toLatin1().constData());
        const LoadedPicture loaded = LoadPictureFile(path);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), QSize(33, 17));
    }

    void loadsBundledGif() {
        const LoadedPicture loaded =
            LoadPictureFile(QStringLiteral(GLYFORA_SOURCE_DIR "/resources/sample.gif"));
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        QCOMPARE(loaded.image.size(), QSize(160, 120));
    }

    void loadsPathWithSpacesAmpersandAndJapanese() {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("a b & 写真")));
        const QString path = testsupport::WritePicture(
            testsupport::GradientImage(4, 3),
            dir_.filePath(QStringLiteral("a b & 写真/猫 & 犬.bmp")), "bmp");
        QCOMPARE(LoadPictureFile(path).image.size(), QSize(4, 3));
    }

    void badFilesFailWithAReason_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty file") << "empty";
        QTest::newRow("truncated jpeg") << "truncated";
        QTest::newRow("text named .gif") << "text";
        QTest::newRow("directory") << "directory";
        QTest::newRow("missing") << "missing";
        QTest::newRow("100000 x 100000 header") << "huge";
        QTest::newRow("empty path") << "nopath";
    }
    void badFilesFailWithAReason() {
        QFETCH(QString, kind);
        QString path;
        if (kind == QLatin1String("empty")) {
            path = Write(QStringLiteral("empty.gif"), QByteArray());
        } else if (kind == QLatin1String("truncated")) {
            const QString full =
                testsupport::WritePicture(testsupport::GradientImage(300, 200),
                                          dir_.filePath(QStringLiteral("full.jpg")), "jpg");
            QFile file(full);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            path = Write(QStringLiteral("cut.jpg"), bytes.left(bytes.size() / 2));
        } else if (kind == QLatin1String("text")) {
            path = Write(QStringLiteral("notes.gif"), "This is not a picture.\n");
        } else if (kind == QLatin1String("directory")) {
            path = dir_.filePath(QStringLiteral("folder.gif"));
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QLatin1String("missing")) {
            path = dir_.filePath(QStringLiteral("gone.gif"));
        } else if (kind == QLatin1String("huge")) {
            path = Write(QStringLiteral("huge.bmp"), HugeBmpHeader(100000, 100000));
        }
        const LoadedPicture loaded = LoadPictureFile(path);
        QVERIFY(loaded.image.isNull());
        QVERIFY(!loaded.error.trimmed().isEmpty());
    }

    void unreadableFileFails() {
        const testsupport::PermissionsBind bind; // root too is refused the file
        QVERIFY(bind.Holds());
        const QString path = testsupport::WritePicture(
            testsupport::GradientImage(4, 4), dir_.filePath(QStringLiteral("locked.bmp")), "bmp");
        QFile::setPermissions(path, QFile::WriteOwner);
        const LoadedPicture loaded = LoadPictureFile(path);
        QVERIFY(loaded.image.isNull());
        QVERIFY(!loaded.error.isEmpty());
    }
};

GLYFORA_TEST_MAIN(TestSurfaces)
#include "tst_surfaces.moc"
