// The wheel control's message module: the window-message numbers it understands, the
// decoding of those messages into wheel and middle-button events, the registered message
// names, and the busy flag of the control's message path.
#pragma once

#include <cstdint>

namespace mIntelli {

inline constexpr std::int32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::int32_t WM_MOUSEWHEEL = 0x020A;
// Key-state flags of mouse messages.
inline constexpr std::int32_t MK_LBUTTON = 0x0001;
inline constexpr std::int32_t MK_RBUTTON = 0x0002;
inline constexpr std::int32_t MK_SHIFT = 0x0004;
inline constexpr std::int32_t MK_CONTROL = 0x0008;
inline constexpr std::int32_t MK_MBUTTON = 0x0010;

// The same name gives the same number (0xC000 and up) for the whole process.
std::int32_t RegisterWindowMessageA(const char* name);

// The wheel's process-wide values, held together so that a fresh start is one assignment.
struct WheelValues {
    bool InWndProc = false; // set while CtlEvent runs for a message of the host window
};
inline WheelValues ProcessWheel;
inline bool& InWndProc = ProcessWheel.InWndProc;

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
