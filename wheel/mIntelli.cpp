// Wheel message module: decoding, the replacement window procedure and its window-system
// stand-ins.
#include "wheel/mIntelli.h"

#include <QByteArray>
#include <QHash>
#include <QMetaObject>
#include <QObject>
#include <vector>

namespace mIntelli {

QPointer<QObject> WheelControl;
std::int32_t PrevWndProc = -1;
bool InWndProc = false;

namespace {
QHash<QByteArray, std::int32_t>& MessageNames() {
    static QHash<QByteArray, std::int32_t> names;
    return names;
}
std::vector<WindowProcedure>& Procedures() {
    static std::vector<WindowProcedure> procedures;
    return procedures;
}
QHash<std::int32_t, std::int32_t>& Windows() {
    static QHash<std::int32_t, std::int32_t> windows;
    return windows;
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

std::int32_t RegisterWindowProcedure(WindowProcedure procedure) {
    Procedures().push_back(std::move(procedure));
    return std::int32_t(Procedures().size());
}

std::int32_t CreateWindowHandle(std::int32_t procedureAddress) {
    static std::int32_t next = 0x10000;
    next += 4;
    Windows().insert(next, procedureAddress);
    return next;
}

void DestroyWindowHandle(std::int32_t hWnd) {
    Windows().remove(hWnd);
}

std::int32_t SetWindowLongA(std::int32_t hWnd, std::int32_t index, std::int32_t newLong) {
    auto& windows = Windows();
    const auto found = windows.find(hWnd);
    if (index != GWL_WNDPROC || found == windows.end())
        return 0;
    const std::int32_t previous = *found;
    *found = newLong;
    return previous;
}

std::int32_t CallWindowProcA(std::int32_t procedureAddress, std::int32_t hWnd, std::int32_t uMsg,
                             std::int32_t wParam, std::int32_t lParam) {
    const auto& procedures = Procedures();
    if (procedureAddress < 1 || std::size_t(procedureAddress) > procedures.size())
        return 0;
    // A copy: the procedure may register others while it runs.
    const WindowProcedure procedure = procedures[std::size_t(procedureAddress) - 1];
    return procedure ? procedure(hWnd, uMsg, wParam, lParam) : 0;
}

std::int32_t SendMessageA(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam,
                          std::int32_t lParam) {
    const std::int32_t procedure = Windows().value(hWnd, 0);
    return CallWindowProcA(procedure, hWnd, uMsg, wParam, lParam);
}

std::int32_t WheelWindowProc(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam,
                             std::int32_t lParam) {
    if (!InWndProc) {
        InWndProc = true;
        if (WheelControl) {
            QMetaObject::invokeMethod(WheelControl.data(), "CtlEvent", Qt::DirectConnection,
                                      Q_ARG(qint32, hWnd), Q_ARG(qint32, uMsg),
                                      Q_ARG(qint32, wParam), Q_ARG(qint32, lParam));
        }
    }
    const std::int32_t result = CallWindowProcA(PrevWndProc, hWnd, uMsg, wParam, lParam);
    InWndProc = false;
    return result;
}

std::int32_t WheelWindowProcAddress() {
    static const std::int32_t address = RegisterWindowProcedure(&WheelWindowProc);
    return address;
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
