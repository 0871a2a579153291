// Input helpers shared by the dialogs' text boxes.
#pragma once

#include <QtGlobal>

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;

namespace platform {

// Selects the whole text of a box, as a box does when it gets the focus.
void SelectAllText(QLineEdit& box);
void SelectAllText(QPlainTextEdit& box);

// The character codes a numeric box lets through: Ctrl+C (3), Backspace (8), Ctrl+V (22),
// Ctrl+X (24) and the digits "0" to "9".
bool IsNumericKey(quint16 keyAscii);

// The character code a key press types, as a key-press event reports it (Ctrl+letter is
// 1 to 26), or -1 for a key that types none (arrows, Delete, function keys).
int KeyAscii(const QKeyEvent& event);

// Makes `box` a numeric box: key presses typing a character that IsNumericKey refuses are
// swallowed; Enter, Esc and Tab still reach the dialog. Pasted text is not filtered.
// Input methods are off in the box.
void FilterNumericKeys(QLineEdit& box);

} // namespace platform
