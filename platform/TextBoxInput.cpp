// Input helpers shared by the dialogs' text boxes.
#include "platform/TextBoxInput.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace platform {

namespace {
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int Tab = 9;

// Swallows the key presses of a numeric box that IsNumericKey refuses.
class NumericKeyFilter : public QObject {
public:
    explicit NumericKeyFilter(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int code = KeyAscii(*static_cast<QKeyEvent*>(event));
        // Enter and Esc belong to the dialog's default and cancel buttons, Tab to the
        // focus chain; keys typing no character edit or move as usual.
        if (code < 0 || code == Return || code == Escape || code == Tab)
            return false;
        return !IsNumericKey(quint16(code));
    }
};
} // namespace

void SelectAllText(QLineEdit& box) {
    // Start 0, length the whole text: the caret ends at the end, as in every other box.
    box.setSelection(0, box.text().size());
}

void SelectAllText(QPlainTextEdit& box) {
    QTextCursor cursor = box.textCursor();
    cursor.select(QTextCursor::Document);
    box.setTextCursor(cursor);
}

bool IsNumericKey(quint16 keyAscii) {
    switch (keyAscii) {
    case 3:  // Ctrl+C
    case 8:  // Backspace
    case 22: // Ctrl+V
    case 24: // Ctrl+X
        return true;
    default:
        return keyAscii >= '0' && keyAscii <= '9';
    }
}

int KeyAscii(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A &&
        key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Return;
    case Qt::Key_Escape:
        return Escape;
    case Qt::Key_Delete:
        return -1; // deletes without typing a character
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return -1;
    // More than one code unit (a character beyond 16 bits) is no digit: code 0 refuses it.
    return text.size() == 1 ? text.at(0).unicode() : 0;
}

void FilterNumericKeys(QLineEdit& box) {
    box.setAttribute(Qt::WA_InputMethodEnabled, false);
    box.installEventFilter(new NumericKeyFilter(&box));
}

} // namespace platform
