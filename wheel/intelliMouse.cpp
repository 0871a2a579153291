// The wheel control on Qt: an application event filter over the host window's widgets
// stands in for the replaced window procedure.
#include "wheel/intelliMouse.h"

#include "wheel/WheelInput.h"
#include "wheel/mIntelli.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace {
// The host's own procedure: Qt's normal handling follows the filter, so nothing is left to do.
std::int32_t HostWindowProcAddress() {
    static const std::int32_t address = mIntelli::RegisterWindowProcedure(
        [](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return std::int32_t(0); });
    return address;
}
} // namespace

intelliMouse::intelliMouse(QWidget* hostForm) : QObject(hostForm), host_(hostForm) {
    UserControl_Initialize();
    UserControl_ReadProperties();
}

intelliMouse::~intelliMouse() {
    UserControl_Terminate();
}

void intelliMouse::UserControl_Initialize() {
    mIntelli::PrevWndProc = -1;
    mIntelli::WheelControl = this;
    RollMessage_ = 0;
}

void intelliMouse::UserControl_ReadProperties() {
    RollMessage_ = mIntelli::RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    hostWindow_ = mIntelli::CreateWindowHandle(HostWindowProcAddress());
    HookWindow(hostWindow_);
    qApp->installEventFilter(this);
}

void intelliMouse::UserControl_Terminate() {
    qApp->removeEventFilter(this);
    UnhookWindow();
    mIntelli::DestroyWindowHandle(hostWindow_);
    if (mIntelli::WheelControl == this)
        mIntelli::WheelControl = nullptr;
}

void intelliMouse::HookWindow(std::int32_t window) {
    if (mIntelli::PrevWndProc != -1)
        return;
    HookedWnd_ = window;
    mIntelli::PrevWndProc =
        mIntelli::SetWindowLongA(window, mIntelli::GWL_WNDPROC, mIntelli::WheelWindowProcAddress());
}

void intelliMouse::UnhookWindow() {
    if (mIntelli::PrevWndProc == -1)
        return;
    mIntelli::SetWindowLongA(HookedWnd_, mIntelli::GWL_WNDPROC, mIntelli::PrevWndProc);
    mIntelli::PrevWndProc = -1;
}

void intelliMouse::CtlEvent(qint32 /*hWndX*/, qint32 uMsg, qint32 wParam, qint32 lParam) {
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
    if (message)
        mIntelli::SendMessageA(hostWindow_, message->uMsg, message->wParam, message->lParam);
    return false;
}
