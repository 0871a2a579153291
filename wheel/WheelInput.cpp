// Encoding of wheel and middle-button input as window messages.
#include "wheel/WheelInput.h"

#include "wheel/mIntelli.h"

#include <algorithm>

namespace mIntelli {

namespace {
std::uint16_t Word(int value) {
    return std::uint16_t(std::int16_t(std::clamp(value, -32768, 32767)));
}
std::int32_t MakeLong(int low, int high) {
    return std::int32_t(std::uint32_t(Word(low)) | (std::uint32_t(Word(high)) << 16));
}
} // namespace

std::int32_t KeyStateFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    std::int32_t flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    return flags;
}

std::optional<WindowMessage> EncodeWheel(QPoint angleDelta, QPoint screenPosition,
                                         Qt::MouseButtons buttons,
                                         Qt::KeyboardModifiers modifiers) {
    // With Alt held, Qt on X11 hands a turn of the wheel over as a sideways one.
    const int delta =
        angleDelta.y() == 0 && (modifiers & Qt::AltModifier) ? angleDelta.x() : angleDelta.y();
    if (delta == 0)
        return std::nullopt;
    return WindowMessage{WM_MOUSEWHEEL, MakeLong(KeyStateFlags(buttons, modifiers), delta),
                         MakeLong(screenPosition.x(), screenPosition.y())};
}

WindowMessage EncodeMiddleButtonDown(QPoint clientPosition, Qt::MouseButtons buttons,
                                     Qt::KeyboardModifiers modifiers) {
    return WindowMessage{WM_MBUTTONDOWN, KeyStateFlags(buttons, modifiers),
                         MakeLong(clientPosition.x(), clientPosition.y())};
}

} // namespace mIntelli
