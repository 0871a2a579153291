// Moving the view with the keyboard and the mouse wheel: what each key and wheel turn does
// to the two scroll bars' values.
#pragma once

class ScrollModel;

namespace mGlyfora {

// Virtual key codes of the navigation keys and the modifier bits of a key event.
enum ViewKey : int {
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
};
enum KeyShift : int { ShiftMask = 1, CtrlMask = 2, AltMask = 4 };

// Moves the bars for one key press; other keys do nothing. The arithmetic is wide enough
// for any 32-bit range.
void MoveViewByKey(int keyCode, int shift, ScrollModel& hsbView, ScrollModel& vsbView);

// One wheel event: five steps of the vertical bar when it is shown, else of the horizontal
// bar when that is shown, else nothing. A positive delta (away from the user) goes back.
void MoveViewByWheel(int zDelta, bool hsbShown, bool vsbShown, ScrollModel& hsbView,
                     ScrollModel& vsbView);

} // namespace mGlyfora
