// Input helpers shared by the dialogs' text boxes.
#pragma once

class QLineEdit;
class QPlainTextEdit;

namespace platform {

// Selects the whole text of a box, as a box does when it gets the focus.
void SelectAllText(QLineEdit& box);
void SelectAllText(QPlainTextEdit& box);

} // namespace platform
