// Qt's wheel and middle-button input written as the window messages the wheel control
// decodes: the message number and its two parameters.
#pragma once

#include <QPoint>
#include <Qt>
#include <cstdint>
#include <optional>

namespace mIntelli {

struct WindowMessage {
    std::int32_t uMsg = 0;
    std::int32_t wParam = 0;
    std::int32_t lParam = 0;
    friend bool operator==(const WindowMessage&, const WindowMessage&) = default;
};

// The key-state flags (MK_*) for the buttons held and the modifiers.
std::int32_t KeyStateFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// A wheel turn: the wheel message when the vertical distance is not 0 (a purely sideways
// turn gives none, except with Alt held: that is the vertical turn Qt turned sideways).
// Distance and screen position are clamped to 16 bits; Alt has no key-state flag.
std::optional<WindowMessage> EncodeWheel(QPoint angleDelta, QPoint screenPosition,
                                         Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// A middle-button press at a position in the host window's client area.
WindowMessage EncodeMiddleButtonDown(QPoint clientPosition, Qt::MouseButtons buttons,
                                     Qt::KeyboardModifiers modifiers);

} // namespace mIntelli
