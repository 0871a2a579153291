// Mouse-up reports for widgets that have no such event of their own.
#include "app/MouseUpFilter.h"

#include <QMouseEvent>
#include <QWidget>

MouseUpFilter::MouseUpFilter(QWidget* widget, Area area, Handler handler)
    : QObject(widget), widget_(widget), area_(area), handler_(std::move(handler)) {
    widget->installEventFilter(this);
}

void MouseUpFilter::Watch(QWidget* widget, Area area, Handler handler) {
    new MouseUpFilter(widget, area, std::move(handler)); // owned by the widget
}

bool MouseUpFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_ || event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // A release a child did not take reaches the widget too: over a child with events of
    // its own it is not the widget's.
    const QPoint pos = mouse->position().toPoint();
    if (area_ == Area::OwnSurface && widget_->childAt(pos))
        return false;
    handler_(mouse->button(), mouse->modifiers(), mouse->globalPosition().toPoint());
    return false;
}
