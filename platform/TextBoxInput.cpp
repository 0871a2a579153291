// Input helpers shared by the dialogs' text boxes.
#include "platform/TextBoxInput.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace platform {

void SelectAllText(QLineEdit& box) {
    // Start 0, length the whole text: the caret ends at the end, as in every other box.
    box.setSelection(0, box.text().size());
}

void SelectAllText(QPlainTextEdit& box) {
    QTextCursor cursor = box.textCursor();
    cursor.select(QTextCursor::Document);
    box.setTextCursor(cursor);
}

} // namespace platform
