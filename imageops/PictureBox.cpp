// Drawing of a picture box and its mouse reports.
#include "imageops/PictureBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {
// The pixel under the pointer: a position inside pixel (x, y) reads as (x, y).
QPointF PixelPosition(const QMouseEvent& event) {
    const QPointF at = event.position();
    return {std::floor(at.x()), std::floor(at.y())};
}
} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
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

void PictureBox::mousePressEvent(QMouseEvent* event) {
    Q_EMIT MouseDown(event->button(), event->modifiers(), PixelPosition(*event));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT MouseMove(event->buttons(), event->modifiers(), PixelPosition(*event));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    Q_EMIT MouseUp(event->button(), event->modifiers(), PixelPosition(*event),
                   event->globalPosition().toPoint());
}

void PictureBox::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Q_EMIT MouseLost();
}

bool PictureBox::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::WindowDeactivate:
    case QEvent::UngrabMouse:
        Q_EMIT MouseLost();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}
