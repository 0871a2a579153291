// A form's toolbar as the program builds it: fixed at the top, 16-pixel icons, and
// entries addressed by their 1-based index (an empty gap, separators and buttons), each
// named "tbrButtons(n)" with the index in the property "Index".
#pragma once

#include <QString>
#include <functional>

class QAction;
class QMainWindow;
class QToolBar;

namespace platform {

enum class ToolbarEntry { Gap, Separator, Button };

// The name of member `index` of a control array: "name(index)".
QString IndexedName(const char* name, int index);

// The form's toolbar "tbrToolbar": neither movable nor floatable, not in any menu.
QToolBar* AddFormToolbar(QMainWindow& form);

// Adds entry `index`; a button shows `icon` and runs `click` with its index.
QAction* AddToolbarEntry(QToolBar& toolbar, ToolbarEntry kind, int index, const char* icon,
                         const std::function<void(int)>& click);

} // namespace platform
