// Tells the first delivery of an input event from its propagation: an application event
// filter sees a key, wheel or mouse event again at every parent it is passed up to, and
// must act on it once. Keys travel up as the same event; wheel and mouse events as copies
// with the same time and screen position.
#pragma once

#include <QEvent>
#include <QInputEvent>
#include <QPointer>
#include <QWidget>

class FirstDelivery {
public:
    bool IsFirst(const QObject* receiver, const QEvent* event) {
        Mark mark{event, event->type(), 0, {}};
        if (event->isInputEvent())
            mark.timestamp = static_cast<const QInputEvent*>(event)->timestamp();
        if (event->isPointerEvent())
            mark.screen = static_cast<const QSinglePointEvent*>(event)->globalPosition();
        const bool sameEvent = mark.type == last_.type &&
                               (mark.event == last_.event ||
                                (event->isPointerEvent() && mark.timestamp == last_.timestamp &&
                                 mark.screen == last_.screen));
        const bool propagated =
            sameEvent && lastReceiver_ && receiver == lastReceiver_->parentWidget();
        last_ = mark;
        lastReceiver_ = qobject_cast<QWidget*>(const_cast<QObject*>(receiver));
        return !propagated;
    }

private:
    struct Mark {
        const QEvent* event = nullptr;
        QEvent::Type type = QEvent::None;
        quint64 timestamp = 0;
        QPointF screen;
    };
    Mark last_;
    QPointer<QWidget> lastReceiver_;
};
