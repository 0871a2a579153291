// Wheel message module: message names and decoding.
#include "wheel/mIntelli.h"

#include <QByteArray>
#include <QHash>

namespace mIntelli {

namespace {
QHash<QByteArray, std::int32_t>& MessageNames() {
    static QHash<QByteArray, std::int32_t> names;
    return names;
}
std::int16_t LowWord(std::int32_t value) {
    return std::int16_t(std::uint16_t(std::uint32_t(value) & 0xFFFFu));
}
std::int16_t HighWord(std::int32_t value) {
    return std::int16_t(std::uint16_t(std::uint32_t(value) >> 16));
}
} // namespace

std::int32_t RegisterWindowMessageA(const char* name) {
    auto& names = MessageNames();
    const QByteArray key(name);
    const auto found = names.constFind(key);
    if (found != names.cend())
        return *found;
    const std::int32_t number = 0xC000 + std::int32_t(names.size());
    names.insert(key, number);
    return number;
}

ControlEvent DecodeMessage(std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam,
                           std::int32_t rollMessage) {
    ControlEvent event;
    if (uMsg == WM_MOUSEWHEEL) {
        event.kind = ControlEvent::MoveWheel;
        event.fwKeys = std::int16_t(wParam & 0xFF);
        event.zDelta = HighWord(wParam);
    } else if (rollMessage != 0 && uMsg == rollMessage) {
        // Every message of this protocol is one notch, whatever distance it carries.
        event.kind = ControlEvent::MoveWheel;
        event.zDelta = wParam >= 0 ? 120 : -120;
    } else if (uMsg == WM_MBUTTONDOWN) {
        event.kind = ControlEvent::MButtonDown;
        event.fwKeys = std::int16_t(wParam & 0xFF);
    } else {
        return event;
    }
    event.Xpos = LowWord(lParam);
    event.Ypos = HighWord(lParam);
    return event;
}

} // namespace mIntelli
