// The main window's command table: one row per menu, menu item, separator and toolbar
// button, from which the menus and the toolbar are built and their picture states set.
#pragma once

#include "app/frmMain.h"

#include <QKeySequence>
#include <QString>

enum class CommandKind {
    Menu,          // a menu on the bar, or a submenu of `parent`
    Item,          // a menu item; without a parent it is an action of the window only
    CheckItem,     // a menu item with a check mark
    Separator,     // a separator line in `parent`
    RecentItems,   // the twenty recent-file items
    ToolbarGap,    // toolbar placeholder (an empty gap)
    ToolbarSpacer, // toolbar separator
};

// What the picture-loaded and no-picture states do to a row (and to its button).
enum class PictureState {
    Unchanged,          // neither state touches it
    EnabledWithPicture, // enabled exactly while a picture is shown
    ShownWithPicture,   // shown exactly while a picture is shown
    DisabledByBoth,     // disabled by a load and by the no-picture state alike
};

struct CommandRow {
    CommandKind kind = CommandKind::Item;
    const char* parent = nullptr; // objectName of the menu it belongs to
    const char* name = nullptr;   // objectName, the control's own name
    QString caption{};
    QKeySequence shortcut{};
    void (frmMain::*handler)() = nullptr;           // a Menu row's runs when the menu opens
    int index = -1;                                 // member of a control array: its index
    void (frmMain::*indexedHandler)(int) = nullptr; // a control array's handler
    QMenu* frmMain::*menu = nullptr;                // member that receives a Menu row's menu
    QAction* frmMain::*action = nullptr;            // member that receives an item or separator
    PictureState state = PictureState::Unchanged;
    bool hidden = false; // hidden when built
    int button = 0;      // 1-based toolbar index, 0 for none
    QString tooltip{};
    const char* icon = nullptr; // the button's picture, a resource path
};
