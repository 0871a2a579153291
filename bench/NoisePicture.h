// The benchmarks' picture: every pixel a different pseudo-random colour, so no run of
// equal pixels makes a routine look faster than it is. Made once per size.
#pragma once

#include "imageops/PictureSurface.h"

#include <QImage>

inline PictureSurface NoisePicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            line[x] = 0xFF000000u | (state >> 8);
        }
    }
    PictureSurface surface;
    surface.Assign(image);
    return surface;
}
