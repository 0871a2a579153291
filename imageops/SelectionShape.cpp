// Selection rectangle geometry and drawing.
#include "imageops/SelectionShape.h"

#include "platform/Rounding.h"

#include <QPainter>

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
    setGeometry(int(RoundHalfEven(left)), int(RoundHalfEven(top)),
                int(std::max<std::int64_t>(1, RoundHalfEven(width))),
                int(std::max<std::int64_t>(1, RoundHalfEven(height))));
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
