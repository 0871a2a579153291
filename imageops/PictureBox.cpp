// Drawing of a picture box.
#include "imageops/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_.SetBackground(palette().color(QPalette::Base).rgb());
}

void PictureBox::SurfaceChanged() {
    setFixedSize(surface_.ScaleWidth(), surface_.ScaleHeight());
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    // Only the exposed part is drawn, so a big picture scrolls cheaply.
    painter.drawImage(area.topLeft(), surface_.Image(), area);
}
