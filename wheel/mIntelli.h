// The wheel control's message module: the window-message numbers it understands, the
// decoding of those messages into wheel and middle-button events, the replacement window
// procedure with its busy flag, and the few window-system calls it needs (a window handle,
// its procedure, registered message names), kept here for the process since Qt has no
// window procedures of its own.
#pragma once

#include <QPointer>
#include <cstdint>
#include <functional>

class QObject;

namespace mIntelli {

inline constexpr std::int32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::int32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr std::int32_t GWL_WNDPROC = -4;
// Key-state flags of mouse messages.
inline constexpr std::int32_t MK_LBUTTON = 0x0001;
inline constexpr std::int32_t MK_RBUTTON = 0x0002;
inline constexpr std::int32_t MK_SHIFT = 0x0004;
inline constexpr std::int32_t MK_CONTROL = 0x0008;
inline constexpr std::int32_t MK_MBUTTON = 0x0010;

using WindowProcedure = std::function<std::int32_t(std::int32_t hWnd, std::int32_t uMsg,
                                                   std::int32_t wParam, std::int32_t lParam)>;

// The same name gives the same number (0xC000 and up) for the whole process.
std::int32_t RegisterWindowMessageA(const char* name);
// A procedure gets an address by which windows and CallWindowProcA refer to it.
std::int32_t RegisterWindowProcedure(WindowProcedure procedure);
// A window handle whose procedure is the one at `procedureAddress`; released by
// DestroyWindowHandle.
std::int32_t CreateWindowHandle(std::int32_t procedureAddress);
void DestroyWindowHandle(std::int32_t hWnd);
// With GWL_WNDPROC: gives the window a new procedure and returns the previous one
// (0 for an unknown window or index).
std::int32_t SetWindowLongA(std::int32_t hWnd, std::int32_t index, std::int32_t newLong);
std::int32_t CallWindowProcA(std::int32_t procedureAddress, std::int32_t hWnd, std::int32_t uMsg,
                             std::int32_t wParam, std::int32_t lParam);
// Hands a message to the window's current procedure.
std::int32_t SendMessageA(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam,
                          std::int32_t lParam);

// The control that receives the messages, called by its method's name "CtlEvent"
// (hWndX, uMsg, wParam, lParam as qint32); empty when none.
extern QPointer<QObject> WheelControl;
// The replaced procedure; -1 when no window is hooked.
extern std::int32_t PrevWndProc;
// Set while CtlEvent runs from the window procedure.
extern bool InWndProc;

std::int32_t WheelWindowProc(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam,
                             std::int32_t lParam);
// The address of WheelWindowProc, for SetWindowLongA.
std::int32_t WheelWindowProcAddress();

struct ControlEvent {
    enum Kind { None, MoveWheel, MButtonDown };
    Kind kind = None;
    std::int16_t fwKeys = 0;
    std::int16_t zDelta = 0;
    std::int16_t Xpos = 0;
    std::int16_t Ypos = 0;
    friend bool operator==(const ControlEvent&, const ControlEvent&) = default;
};

// The event one message raises, given the number of the registered roll message
// (0 while unregistered, when no message counts as one).
ControlEvent DecodeMessage(std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam,
                           std::int32_t rollMessage);

} // namespace mIntelli
