// The picture routines on small pictures whose every pixel is known: quarter and half
// turns, rotation by an entered angle, resize, the mirrors and colour correction.
#include "imageops/AdjustColor.h"
#include "imageops/Mirror.h"
#include "imageops/PictureSurface.h"
#include "imageops/ResizePicture.h"
#include "imageops/RotateByAngle.h"
#include "imageops/RotateQuarter.h"

#include <QTest>

#include <cmath>

using namespace mGlyfora;

namespace {

constexpr QRgb Background = qRgb(1, 2, 3);

// Letter c becomes a colour whose three channels all differ, '.' the background.
QRgb LetterColour(QChar c) {
    if (c == u'.')
        return Background;
    const int v = c.unicode();
    return qRgb(v, 255 - v, (v * 3) & 0xFF);
}

QChar ColourLetter(QRgb rgb) {
    if ((rgb | 0xFF000000u) == (Background | 0xFF000000u))
        return u'.';
    const int v = qRed(rgb);
    return LetterColour(QChar(v)) == (rgb | 0xFF000000u) ? QChar(v) : u'?';
}

PictureSurface Table(const QStringList& rows) {
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, LetterColour(rows[y][x]));
    PictureSurface surface(Background);
    surface.Assign(image);
    return surface;
}

QStringList Rows(const PictureSurface& surface) {
    QStringList rows;
    const QImage& image = surface.Image();
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x)
            row += ColourLetter(image.pixel(x, y));
        rows << row;
    }
    return rows;
}

// Every pixel different: red and green from x, blue from y.
PictureSurface Numbered(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, (x >> 8) * 16 + (y >> 8), y & 0xFF));
    PictureSurface surface(Background);
    surface.Assign(image);
    return surface;
}

QRgb NumberedPixel(int x, int y) {
    return qRgb(x & 0xFF, (x >> 8) * 16 + (y >> 8), y & 0xFF);
}

QPoint NumberedPoint(QRgb rgb) {
    return QPoint(qRed(rgb) + (qGreen(rgb) >> 4) * 256, qBlue(rgb) + (qGreen(rgb) & 15) * 256);
}

} // namespace

class TestPictureRoutines : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void quarterTurns_data() {
        QTest::addColumn<int>("angle");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("90 clockwise") << 90 << QStringList{"DA", "EB", "FC"};
        QTest::newRow("90 counter-clockwise") << 270 << QStringList{"CF", "BE", "AD"};
        QTest::newRow("180") << 180 << QStringList{"FED", "CBA"};
    }
    void quarterTurns() {
        QFETCH(int, angle);
        QFETCH(QStringList, expected);
        const PictureSurface source = Table({"ABC", "DEF"});
        PictureSurface destination(Background);
        QVERIFY(RotateQuarter(destination, source, qint16(angle)));
        QCOMPARE(Rows(destination), expected);
        QCOMPARE(Rows(source), QStringList({"ABC", "DEF"}));
    }

    void turnsGiveThePictureBack_data() {
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("times");
        QTest::newRow("4 x 90") << 90 << 4;
        QTest::newRow("4 x 270") << 270 << 4;
        QTest::newRow("2 x 180") << 180 << 2;
    }
    void turnsGiveThePictureBack() {
        QFETCH(int, angle);
        QFETCH(int, times);
        // Wider than a block of the transposition, odd sizes.
        const PictureSurface original = Numbered(131, 70);
        PictureSurface picture(Background);
        CopyPicture(picture, original);
        for (int i = 0; i < times; ++i) {
            PictureSurface clip(Background);
            CopyPicture(clip, picture);
            QVERIFY(RotateQuarter(picture, clip, qint16(angle)));
            if (i + 1 < times && angle != 180)
                QCOMPARE(picture.Image().size(), (i % 2 ? QSize(131, 70) : QSize(70, 131)));
        }
        QCOMPARE(picture.Image(), original.Image());
    }

    void otherAngleOnlyClears() {
        PictureSurface destination(Background);
        destination.Assign(Table({"AB", "CD", "EF"}).Image());
        QVERIFY(RotateQuarter(destination, Table({"ABC", "DEF"}), 45));
        QCOMPARE(Rows(destination), QStringList({"..", "..", ".."}));
    }

    void angleZeroOrFullTurnKeepsThePicture_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("degrees");
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<double>("twipsPerPixel");
        for (const QSize size : {QSize(1, 1), QSize(7, 5), QSize(2, 3), QSize(100, 100)}) {
            const QByteArray name =
                QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
            QTest::newRow(name + " 0 cw") << size << 0 << true << 15.0;
            QTest::newRow(name + " 0 ccw 120 dpi") << size << 0 << false << 12.0;
            QTest::newRow(name + " 360 cw") << size << 360 << true << 15.0;
            QTest::newRow(name + " 360 ccw 144 dpi") << size << 360 << false << 10.0;
        }
    }
    void angleZeroOrFullTurnKeepsThePicture() {
        QFETCH(QSize, size);
        QFETCH(int, degrees);
        QFETCH(bool, clockwise);
        QFETCH(double, twipsPerPixel);
        const PictureSurface source = Numbered(size.width(), size.height());
        PictureSurface destination(Background);
        QVERIFY(RotateByAngle(destination, source, qint16(degrees), clockwise, twipsPerPixel,
                              twipsPerPixel));
        QCOMPARE(destination.Image(), source.Image());
    }

    // 100 x 100 at 15 twips per pixel is 1500 twips about the centre (750, 750); the
    // corners turned by 45 degrees reach 750 +- 1060.66, so x and y run from -311 to 1811:
    // 2122 twips, 141.47 pixels, covered by 142. At 12 twips: 600 +- 848.53, -249 to
    // 1449, 1698 twips = 141.5 pixels, again 142.
    void bounds45_data() {
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<int>("twips");
        QTest::newRow("clockwise") << true << 15.0 << 2122;
        QTest::newRow("counter-clockwise") << false << 15.0 << 2122;
        QTest::newRow("120 dpi") << true << 12.0 << 1698;
    }
    void bounds45() {
        QFETCH(bool, clockwise);
        QFETCH(double, twipsPerPixel);
        QFETCH(int, twips);
        const double rad = (clockwise ? -45 : 45) * 3.14159265358979 / 180;
        const RotatedCanvas canvas =
            RotatedBounds(100, 100, std::sin(rad), std::cos(rad), twipsPerPixel, twipsPerPixel);
        QCOMPARE(canvas.widthTwips, twips);
        QCOMPARE(canvas.heightTwips, twips);
        QCOMPARE(canvas.width, 142);
        QCOMPARE(canvas.height, 142);
        // Centres 49.5 and 70.5 share one point.
        QCOMPARE(canvas.offsetX, -21.0);
        QCOMPARE(canvas.offsetY, -21.0);
    }

    // Canvas (81, 71) lies 10.5 right of and 0.5 below the centre (70.5, 70.5). Turned
    // back by +45 degrees about the source centre (49.5, 49.5) it is (56.57, 57.28), so
    // (57, 57); by -45 it is (57.28, 42.43), so (57, 42). Canvas (72, 70), 1.5 right and
    // 0.5 up, comes from (50.91, 50.21) = (51, 50) and (50.21, 48.09) = (50, 48).
    void rotate45Pixels_data() {
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<QPoint>("target");
        QTest::addColumn<QPoint>("source");
        QTest::newRow("ccw right of centre") << false << QPoint(81, 71) << QPoint(57, 57);
        QTest::newRow("cw right of centre") << true << QPoint(81, 71) << QPoint(57, 42);
        QTest::newRow("ccw near centre") << false << QPoint(72, 70) << QPoint(51, 50);
        QTest::newRow("cw near centre") << true << QPoint(72, 70) << QPoint(50, 48);
    }
    void rotate45Pixels() {
        QFETCH(bool, clockwise);
        QFETCH(QPoint, target);
        QFETCH(QPoint, source);
        const PictureSurface picture = Numbered(100, 100);
        PictureSurface destination(Background);
        QVERIFY(RotateByAngle(destination, picture, 45, clockwise, 15, 15));
        QCOMPARE(destination.Image().size(), QSize(142, 142));
        QCOMPARE(destination.Image().pixel(target), NumberedPixel(source.x(), source.y()));
        const double rad = (clockwise ? -45 : 45) * 3.14159265358979 / 180;
        QCOMPARE(RotateSourcePoint(100, 100, target.x(), target.y(), -21, -21, std::sin(rad),
                                   std::cos(rad)),
                 source);
        // The four corner triangles keep the background.
        for (const QPoint corner : {QPoint(0, 0), QPoint(141, 0), QPoint(141, 141), QPoint(0, 141),
                                    QPoint(20, 20), QPoint(120, 120)})
            QCOMPARE(destination.Image().pixel(corner), Background | 0xFF000000u);
    }

    // Turned by 90 degrees the grid maps onto itself, so a turn by an entered angle is
    // the same as the quarter turn, pixel for pixel, for even and odd sizes alike.
    void rightAnglesMatchTheQuarterTurns_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("degrees");
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<int>("quarter");
        QTest::addColumn<double>("twipsPerPixel");
        for (const QSize size :
             {QSize(3, 2), QSize(5, 4), QSize(7, 7), QSize(4, 9), QSize(100, 100)}) {
            const QByteArray name =
                QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
            QTest::newRow(name + " 90 cw") << size << 90 << true << 90 << 15.0;
            QTest::newRow(name + " 90 ccw") << size << 90 << false << 270 << 15.0;
            QTest::newRow(name + " 180") << size << 180 << true << 180 << 15.0;
            QTest::newRow(name + " 270 cw") << size << 270 << true << 270 << 15.0;
            QTest::newRow(name + " 90 cw 120 dpi") << size << 90 << true << 90 << 12.0;
            QTest::newRow(name + " 90 ccw 144 dpi") << size << 90 << false << 270 << 10.0;
        }
        // Long strips: a sloppy pi leaves a cosine that shifts the far ends by a pixel.
        QTest::newRow("30000x1 90 ccw") << QSize(30000, 1) << 90 << false << 270 << 15.0;
        QTest::newRow("1x30000 90 cw") << QSize(1, 30000) << 90 << true << 90 << 15.0;
        QTest::newRow("30000x1 180") << QSize(30000, 1) << 180 << false << 180 << 15.0;
    }
    void rightAnglesMatchTheQuarterTurns() {
        QFETCH(QSize, size);
        QFETCH(int, degrees);
        QFETCH(bool, clockwise);
        QFETCH(int, quarter);
        QFETCH(double, twipsPerPixel);
        const PictureSurface source = Numbered(size.width(), size.height());
        PictureSurface byAngle(Background), byQuarter(Background);
        QVERIFY(RotateByAngle(byAngle, source, qint16(degrees), clockwise, twipsPerPixel,
                              twipsPerPixel));
        QVERIFY(RotateQuarter(byQuarter, source, qint16(quarter)));
        QCOMPARE(byAngle.Image(), byQuarter.Image());
    }

    // Nearest-neighbour sampling: every pixel the canvas shows lies within half a
    // pixel diagonal of the point that canvas pixel turns back to, and every canvas
    // pixel turning back well inside the picture shows it.
    void rotationSamplesTheNearestPixel_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("degrees");
        QTest::addColumn<bool>("clockwise");
        // The sine kept, as its angle with pi to 15 digits (3.14159265358979) gives it.
        QTest::addColumn<double>("sine");
        QTest::newRow("100x100 45 ccw") << QSize(100, 100) << 45 << false << 0.7071067811865469;
        QTest::newRow("100x100 30 cw") << QSize(100, 100) << 30 << true << -0.49999999999999956;
        QTest::newRow("37x23 200 ccw") << QSize(37, 23) << 200 << false << -0.3420201433256653;
        QTest::newRow("37x23 333 cw") << QSize(37, 23) << 333 << true << 0.45399049973955174;
    }
    void rotationSamplesTheNearestPixel() {
        QFETCH(QSize, size);
        QFETCH(int, degrees);
        QFETCH(bool, clockwise);
        QFETCH(double, sine);
        PictureSurface destination(Background);
        QVERIFY(RotateByAngle(destination, Numbered(size.width(), size.height()), qint16(degrees),
                              clockwise, 15, 15));
        QVERIFY2(RotationSin == sine, qPrintable(QString::number(RotationSin, 'g', 17)));
        const QImage& canvas = destination.Image();
        // Positive angles turn counter-clockwise on the screen (y grows downwards), so
        // the canvas point (u, v) from the centre came from (u cos - v sin, v cos + u sin).
        const double rad = (clockwise ? -degrees : degrees) * M_PI / 180;
        const double c = std::cos(rad), s = std::sin(rad);
        const double sourceCx = (size.width() - 1) / 2.0, sourceCy = (size.height() - 1) / 2.0;
        const double canvasCx = (canvas.width() - 1) / 2.0, canvasCy = (canvas.height() - 1) / 2.0;
        for (int ty = 0; ty < canvas.height(); ++ty) {
            for (int tx = 0; tx < canvas.width(); ++tx) {
                const double u = tx - canvasCx, v = ty - canvasCy;
                const double ex = sourceCx + u * c - v * s, ey = sourceCy + v * c + u * s;
                const QRgb shown = canvas.pixel(tx, ty);
                const bool wellInside =
                    ex > 0.01 && ey > 0.01 && ex < size.width() - 1.01 && ey < size.height() - 1.01;
                if (shown == (Background | 0xFF000000u)) {
                    QVERIFY2(!wellInside, qPrintable(QStringLiteral("%1,%2").arg(tx).arg(ty)));
                    continue;
                }
                const QPoint p = NumberedPoint(shown);
                QVERIFY2(std::abs(p.x() - ex) <= 0.501 && std::abs(p.y() - ey) <= 0.501,
                         qPrintable(QStringLiteral("%1,%2").arg(tx).arg(ty)));
            }
        }
    }

    void rotateTooLargeLeavesTheDestination() {
        // A 1 x 300000 strip turned by 45 degrees needs a canvas of 212133 pixels a side.
        const PictureSurface strip = Numbered(1, 300000);
        PictureSurface destination(Background);
        destination.Assign(Table({"AB"}).Image());
        QVERIFY(!RotateByAngle(destination, strip, 45, true, 15, 15));
        QCOMPARE(Rows(destination), QStringList({"AB"}));
    }

    // Destination pixel i of n samples source pixel floor((i + 0.5) * m / n).
    void resizeSampling_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("3 to 7") << 3 << 7 << QList<int>{0, 0, 1, 1, 1, 2, 2};
        QTest::newRow("7 to 3") << 7 << 3 << QList<int>{1, 3, 5};
        QTest::newRow("2 to 4") << 2 << 4 << QList<int>{0, 0, 1, 1};
        QTest::newRow("4 to 2") << 4 << 2 << QList<int>{1, 3};
        QTest::newRow("5 to 5") << 5 << 5 << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("5 to 1") << 5 << 1 << QList<int>{2};
    }
    void resizeSampling() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QList<int>, expected);
        // Columns: a gradient along x, one row; rows: the same turned.
        const PictureSurface wide = Numbered(from, 2);
        PictureSurface destination(Background);
        QVERIFY(ResizePicture(destination, wide, 3, to));
        QCOMPARE(destination.Image().size(), QSize(to, 3));
        for (int x = 0; x < to; ++x) {
            QCOMPARE(destination.Image().pixel(x, 0), NumberedPixel(expected[x], 0));
            QCOMPARE(destination.Image().pixel(x, 2), NumberedPixel(expected[x], 1));
        }
        const PictureSurface tall = Numbered(1, from);
        QVERIFY(ResizePicture(destination, tall, to, 1));
        QCOMPARE(destination.Image().size(), QSize(1, to));
        for (int y = 0; y < to; ++y)
            QCOMPARE(destination.Image().pixel(0, y), NumberedPixel(0, expected[y]));
    }

    void resizeZeroGivesNoPixels() {
        PictureSurface destination(Background);
        QVERIFY(ResizePicture(destination, Numbered(4, 3), 0, 5));
        QVERIFY(destination.IsEmpty());
        QVERIFY(ResizePicture(destination, Numbered(4, 3), 5, 0));
        QVERIFY(destination.IsEmpty());
    }

    void resizeFailureLeavesBoth_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::newRow("30000 x 30000") << 30000 << 30000;
        QTest::newRow("99999 x 99999") << 99999 << 99999;
        QTest::newRow("1 x 2147483647") << 1 << 2147483647;
        QTest::newRow("negative width") << 10 << -5;
        QTest::newRow("negative height") << -1 << 10;
    }
    void resizeFailureLeavesBoth() {
        QFETCH(int, height);
        QFETCH(int, width);
        const PictureSurface source = Table({"ABC", "DEF"});
        PictureSurface destination(Background);
        destination.Assign(Table({"GH"}).Image());
        QVERIFY(!ResizePicture(destination, source, height, width));
        QCOMPARE(Rows(destination), QStringList({"GH"}));
        QCOMPARE(Rows(source), QStringList({"ABC", "DEF"}));
    }

    void mirrors_data() {
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("3x1 left-right") << QStringList{"ABC"} << true << QStringList{"CBA"};
        QTest::newRow("3x1 top-bottom") << QStringList{"ABC"} << false << QStringList{"ABC"};
        QTest::newRow("3x2 left-right")
            << QStringList{"ABC", "DEF"} << true << QStringList{"CBA", "FED"};
        QTest::newRow("3x2 top-bottom")
            << QStringList{"ABC", "DEF"} << false << QStringList{"DEF", "ABC"};
        QTest::newRow("2x3 top-bottom")
            << QStringList{"AB", "CD", "EF"} << false << QStringList{"EF", "CD", "AB"};
    }
    void mirrors() {
        QFETCH(QStringList, picture);
        QFETCH(bool, horizontal);
        QFETCH(QStringList, expected);
        const PictureSurface source = Table(picture);
        PictureSurface once(Background), twice(Background);
        QVERIFY(horizontal ? MirrorHorizontal(once, source) : MirrorVertical(once, source));
        QCOMPARE(Rows(once), expected);
        QVERIFY(horizontal ? MirrorHorizontal(twice, once) : MirrorVertical(twice, once));
        QCOMPARE(Rows(twice), picture);
    }

    void adjustColor_data() {
        QTest::addColumn<QList<int>>("offsets");
        QTest::addColumn<QList<int>>("colour");
        QTest::addColumn<QList<int>>("expected");
        using L = QList<int>;
        QTest::newRow("+100 0 -100 on 200 100 50")
            << L{100, 0, -100} << L{200, 100, 50} << L{255, 100, 0};
        QTest::newRow("+100 0 -100 on 10 20 30")
            << L{100, 0, -100} << L{10, 20, 30} << L{110, 20, 0};
        QTest::newRow("nothing") << L{0, 0, 0} << L{17, 130, 254} << L{17, 130, 254};
        QTest::newRow("just to 255") << L{100, 100, 100} << L{155, 154, 156} << L{255, 254, 255};
        QTest::newRow("just to 0") << L{-100, -100, -100} << L{100, 101, 99} << L{0, 1, 0};
        QTest::newRow("green and blue alone") << L{0, 50, -20} << L{9, 8, 7} << L{9, 58, 0};
        QTest::newRow("extreme offsets") << L{32767, -32768, 0} << L{255, 0, 3} << L{255, 0, 3};
    }
    void adjustColor() {
        QFETCH(QList<int>, offsets);
        QFETCH(QList<int>, colour);
        QFETCH(QList<int>, expected);
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(qRgb(colour[0], colour[1], colour[2]));
        PictureSurface source(Background);
        source.Assign(image);
        PictureSurface destination(Background);
        QVERIFY(AdjustColor(destination, source, qint16(offsets[0]), qint16(offsets[1]),
                            qint16(offsets[2])));
        QCOMPARE(destination.Image().size(), QSize(3, 2));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(destination.Image().pixel(x, y),
                         qRgb(expected[0], expected[1], expected[2]));
        QCOMPARE(source.Image().pixel(1, 1), qRgb(colour[0], colour[1], colour[2]));
    }

    void previewsDoNotAccumulate() {
        PictureSurface view(Background);
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(qRgb(100, 40, 30));
        view.Assign(image);
        PictureSurface clip(Background);
        CopyPicture(clip, view); // the dialog's backup
        QVERIFY(AdjustColor(view, clip, 50, 0, 0));
        QVERIFY(AdjustColor(view, clip, 20, 0, 0));
        QCOMPARE(view.Image().pixel(1, 1), qRgb(120, 40, 30));
        QCOMPARE(clip.Image().pixel(1, 1), qRgb(100, 40, 30));
    }
};

QTEST_GUILESS_MAIN(TestPictureRoutines)
#include "tst_picture_routines.moc"
