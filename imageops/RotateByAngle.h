// Rotation by any whole angle: the canvas grows to the turned picture's bounding box,
// each canvas pixel samples its nearest source pixel through the inverse turn, and the
// corners the picture does not cover keep the background colour.
#pragma once

#include "imageops/PictureSurface.h"

#include <QPoint>

namespace mGlyfora {

// Sine and cosine of the last angle turned by RotateByAngle, held together so that a
// fresh start is one assignment.
struct ImageValues {
    double RotationSin = 0.0;
    double RotationCos = 1.0;
};
inline ImageValues ProcessImage;
inline double& RotationSin = ProcessImage.RotationSin;
inline double& RotationCos = ProcessImage.RotationCos;

// The size of the turned canvas and where its top-left pixel lies in source pixels.
struct RotatedCanvas {
    qint64 widthTwips = 0;
    qint64 heightTwips = 0;
    int width = 0; // whole pixels covering the twips
    int height = 0;
    // Canvas and source share their centre, so the offset may be a half pixel.
    double offsetX = 0;
    double offsetY = 0;
};

// Turns the four corners of a source of the given pixel size, measured in twips, about
// its centre by the angle whose sine and cosine are given; the canvas is the bounding
// box of the turned corners, centred on the source's centre.
RotatedCanvas RotatedBounds(int sourceWidth, int sourceHeight, double sine, double cosine,
                            double twipsPerPixelX, double twipsPerPixelY);

// The source pixel that canvas pixel (tx, ty) shows, the nearest one to the canvas
// pixel's centre turned back about the source's centre; it may lie outside the source.
QPoint RotateSourcePoint(int sourceWidth, int sourceHeight, qint32 tx, qint32 ty, double offsetX,
                         double offsetY, double sine, double cosine);

// Turns the source by `degrees` into the destination: clockwise on the screen when
// `clockwise`, else counter-clockwise. False, with the destination unchanged, when the
// canvas cannot be allocated.
bool RotateByAngle(PictureSurface& destination, const PictureSurface& source, qint16 degrees,
                   bool clockwise, double twipsPerPixelX, double twipsPerPixelY);
// The same with the screen's twips per pixel.
bool RotateByAngle(PictureSurface& destination, const PictureSurface& source, qint16 degrees,
                   bool clockwise);

} // namespace mGlyfora
