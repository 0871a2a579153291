// A form's controls as text, one line per control, to compare with the inventory a test
// writes out by hand. Each line is the control's objectName followed by what applies:
//   "caption"  key=<shortcut>  tip="<tool tip>"  index=<Index property>  buddy=<name>
//   and the words separator, icon (a picture on an action or label), checkable, checked,
//   default, disabled, hidden; a toolbar adds icons=<w>x<h> and, if so, movable, floatable;
//   a menu whose QMenu is named other than its action adds menu=<name>.
// Lines come in the form's own order (menus in tree order, toolbar entries in order, tab
// pages in tab order, other widgets as created), indented two spaces per named level.
// Unnamed widgets and Qt's own parts are passed through; a menu bar, menu or toolbar
// lists its actions. "disabled" and "hidden" are the control's own state, not its parent's.
#pragma once

#include <QString>

class QWidget;

namespace testsupport {

QString ControlList(const QWidget& form);

// Records a failure at `file`:`line` unless `actual` equals `expected` line by line (blank
// lines of `expected` ignored); the failure names the first line that differs.
bool CompareControlList(const QString& actual, const QString& expected, const char* file, int line);

} // namespace testsupport

// Compares a control list (or the list of `form`) with `expected`; on a difference the test
// stops there.
#define COMPARE_CONTROL_LIST(listed, expected)                                                     \
    do {                                                                                           \
        if (!testsupport::CompareControlList(listed, expected, __FILE__, __LINE__))                \
            return;                                                                                \
    } while (false)
#define COMPARE_CONTROLS(form, expected)                                                           \
    COMPARE_CONTROL_LIST(testsupport::ControlList(form), expected)
