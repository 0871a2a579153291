// A picture box on screen: shows its surface at one screen pixel per picture pixel and
// always has the surface's size. It reports its mouse buttons and moves in picture pixel
// coordinates, and says when a held button can no longer reach it.
#pragma once

#include "imageops/PictureSurface.h"

#include <QPointF>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    PictureSurface& Surface() { return surface_; }
    const PictureSurface& Surface() const { return surface_; }

    // Call after the surface changed: takes its size and repaints.
    void SurfaceChanged();

Q_SIGNALS:
    // Positions are in picture pixels; `globalPos` is the pointer on the screen.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    // Also without a button held, so a drag can see its button was let go elsewhere.
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF pos);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos,
                 QPoint globalPos);
    // The mouse went elsewhere without a release here: the window lost its activation,
    // the box was hidden, or the pointer was grabbed away.
    void MouseLost();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    PictureSurface surface_;
};
