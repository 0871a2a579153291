// Selection rectangle geometry and drawing.
#include "imageops/SelectionShape.h"

#include "platform/Rounding.h"

#include <QPainter>
#include <climits>

SelectionShape::SelectionShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void SelectionShape::SetRect(float left, float top, float width, float height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    using platform::RoundHalfEven;
    // A rectangle of no width still shows as a line.
    setGeometry(RoundHalfEven<int>(left), RoundHalfEven<int>(top),
                RoundHalfEven<int>(width, 1, INT_MAX), RoundHalfEven<int>(height, 1, INT_MAX));
}

void SelectionShape::SetBorderStyle(int style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    update();
}

void SelectionShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(Qt::black, 0);
    if (borderStyle_ == Dot)
        pen.setDashPattern({1, 1}); // every other pixel
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
