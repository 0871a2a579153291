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
    setGeometry(int(RoundHalfEven(left)), int(RoundHalfEven(top)),
                int(std::max<std::int64_t>(1, RoundHalfEven(width))),
                int(std::max<std::int64_t>(1, RoundHalfEven(height))));
}

void SelectionShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(Qt::black);
    pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
