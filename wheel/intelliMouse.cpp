// The wheel control on Qt: an application event filter over the host window's widgets
// sees their input first, as a replaced window procedure would.
#include "wheel/intelliMouse.h"

#include "wheel/WheelInput.h"
#include "wheel/mIntelli.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

intelliMouse::intelliMouse(QWidget* hostForm) : QObject(hostForm), host_(hostForm) {
    RollMessage_ = mIntelli::RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    qApp->installEventFilter(this);
}

intelliMouse::~intelliMouse() {
    qApp->removeEventFilter(this);
}

void intelliMouse::CtlEvent(qint32 uMsg, qint32 wParam, qint32 lParam) {
    const mIntelli::ControlEvent event =
        mIntelli::DecodeMessage(uMsg, wParam, lParam, RollMessage_);
    switch (event.kind) {
    case mIntelli::ControlEvent::MoveWheel:
        Q_EMIT MoveWheel(event.fwKeys, event.zDelta, event.Xpos, event.Ypos);
        break;
    case mIntelli::ControlEvent::MButtonDown:
        Q_EMIT MButtonDown(event.fwKeys, event.Xpos, event.Ypos);
        break;
    case mIntelli::ControlEvent::None:
        break;
    }
}

bool intelliMouse::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Wheel && type != QEvent::MouseButtonPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !host_ || widget->window() != host_ || !firstDelivery_.IsFirst(watched, event))
        return false;
    std::optional<mIntelli::WindowMessage> message;
    if (type == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        message = mIntelli::EncodeWheel(wheel->angleDelta(), wheel->globalPosition().toPoint(),
                                        wheel->buttons(), wheel->modifiers());
    } else {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::MiddleButton) {
            message = mIntelli::EncodeMiddleButtonDown(
                widget->mapTo(host_.data(), press->position().toPoint()), press->buttons(),
                press->modifiers());
        }
    }
    if (!message)
        return false;
    // A message that arrives while a handler runs (one that lets events through) raises
    // nothing; every message clears the flag as it leaves, so such a nested one also
    // re-opens the way for the next.
    if (!mIntelli::InWndProc) {
        mIntelli::InWndProc = true;
        CtlEvent(message->uMsg, message->wParam, message->lParam);
    }
    mIntelli::InWndProc = false;
    return false;
}
