// A picture box on screen: shows its surface at one screen pixel per picture pixel and
// always has the surface's size.
#pragma once

#include "imageops/PictureSurface.h"

#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    PictureSurface& Surface() { return surface_; }
    const PictureSurface& Surface() const { return surface_; }

    // Call after the surface changed: takes its size and repaints.
    void SurfaceChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureSurface surface_;
};
