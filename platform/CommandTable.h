// A form's command table: one row per menu, menu item, separator and toolbar entry. The
// form's menus and toolbar are built from its rows, its toolbar clicks run the row's handler,
// its two-state enabling (the main window: a picture shown or not) is applied from them, and a
// toolbar button is reached through the row of its command, never through its number.
// The form names its controls as every form does: `menuBar()`, `tbrToolbar`, `tbrButtons`.
#pragma once

#include "platform/FormToolbar.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QToolBar>
#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace platform {

enum class CommandKind {
    Menu,          // a menu on the bar, or a submenu of `parent`
    Item,          // a menu item; without a parent it is an action of the window only
    CheckItem,     // a menu item with a check mark
    Separator,     // a separator line in `parent`
    ItemArray,     // `count` hidden items "name(0)"..., each running `indexedHandler`
    ToolbarGap,    // toolbar placeholder (an empty gap)
    ToolbarSpacer, // toolbar separator
};

// What the form's two states do to a row and to its button.
enum class CommandState {
    Unchanged,      // neither state touches it
    EnabledWhenOn,  // enabled exactly in the "on" state
    ShownWhenOn,    // shown exactly in the "on" state
    DisabledInBoth, // disabled by either state
};

template <class Form> struct CommandRow {
    CommandKind kind = CommandKind::Item;
    const char* parent = nullptr; // objectName of the menu it belongs to
    const char* name = nullptr;   // objectName, the control's own name
    QString caption{};
    QKeySequence shortcut{};
    void (Form::*handler)() = nullptr;           // a Menu row's runs when the menu opens
    int index = -1;                              // member of a control array: its index
    int count = 0;                               // an ItemArray's number of items
    void (Form::*indexedHandler)(int) = nullptr; // a control array's handler
    QMenu* Form::*menu = nullptr;                // member that receives a Menu row's menu
    QAction* Form::*action = nullptr;            // member that receives an item or separator
    CommandState state = CommandState::Unchanged;
    bool hidden = false; // hidden when built
    int button = 0;      // 1-based toolbar index, 0 for none
    QString tooltip{};
    const char* icon = nullptr; // the button's picture, a resource path
};

// Fills a control array's members from the form's items "name(0)", "name(1)", ...
template <std::size_t N>
void FindArray(const QObject& form, const char* name, std::array<QAction*, N>& members) {
    for (std::size_t i = 0; i < N; ++i)
        members[i] = form.findChild<QAction*>(IndexedName(name, int(i)));
}

// The controls one form built from its table, row by row.
template <class Form> class FormCommands {
public:
    using Row = CommandRow<Form>;
    explicit FormCommands(const std::vector<Row>& rows) : rows_(rows) {}

    // The menus and items, in table order, on the form's menu bar.
    void BuildMenus(Form& form);
    // The form's toolbar `tbrToolbar` with its entries in button order, into `tbrButtons`.
    void BuildToolbar(Form& form);
    // Runs the handler of toolbar entry `index`; gaps, separators and unknown numbers do nothing.
    void Click(Form& form, int index) const;
    // The toolbar button of the command whose item is `action`.
    QAction* Button(QAction* Form::*action) const;
    // Applies the rows' CommandState for the "on" or "off" state.
    void ApplyState(bool on) const;

private:
    const std::vector<Row>& rows_;
    std::vector<QAction*> actions_; // per row: its menu action, item or separator
    std::vector<QAction*> buttons_; // per row: its toolbar entry
};

template <class Form> void FormCommands<Form>::BuildMenus(Form& form) {
    actions_.assign(rows_.size(), nullptr);
    QMenuBar* bar = form.menuBar();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        const QString name =
            row.index >= 0 ? IndexedName(row.name, row.index) : QLatin1String(row.name);
        QMenu* parent = row.parent ? bar->findChild<QMenu*>(QLatin1String(row.parent)) : nullptr;
        QAction* action = nullptr;
        switch (row.kind) {
        case CommandKind::Menu: {
            QMenu* menu = parent ? parent->addMenu(row.caption) : bar->addMenu(row.caption);
            menu->setObjectName(name);
            form.*row.menu = menu;
            action = menu->menuAction();
            if (row.handler)
                QObject::connect(menu, &QMenu::aboutToShow, &form, row.handler);
            break;
        }
        case CommandKind::Item:
        case CommandKind::CheckItem:
            action = parent ? parent->addAction(row.caption) : new QAction(row.caption, &form);
            action->setShortcut(row.shortcut);
            action->setCheckable(row.kind == CommandKind::CheckItem);
            if (!parent)
                form.addAction(action); // its shortcut works from the window
            if (row.handler)
                QObject::connect(action, &QAction::triggered, &form, row.handler);
            if (row.indexedHandler) {
                QObject::connect(action, &QAction::triggered, &form,
                                 [&form, handler = row.indexedHandler, index = row.index] {
                                     (form.*handler)(index);
                                 });
            }
            if (row.index >= 0)
                action->setProperty("Index", row.index);
            break;
        case CommandKind::Separator:
            action = parent->addSeparator();
            break;
        case CommandKind::ItemArray:
            for (int index = 0; index < row.count; ++index) {
                QAction* item = parent->addAction(QString());
                item->setObjectName(IndexedName(row.name, index));
                item->setProperty("Index", index);
                item->setVisible(false);
                QObject::connect(
                    item, &QAction::triggered, &form,
                    [&form, handler = row.indexedHandler, index] { (form.*handler)(index); });
            }
            break;
        case CommandKind::ToolbarGap:
        case CommandKind::ToolbarSpacer:
            break; // built with the toolbar
        }
        if (!action)
            continue;
        if (action->objectName().isEmpty())
            action->setObjectName(name);
        if (row.hidden)
            action->setVisible(false);
        if (row.action)
            form.*row.action = action;
        actions_[i] = action;
    }
}

template <class Form> void FormCommands<Form>::BuildToolbar(Form& form) {
    form.tbrToolbar = AddFormToolbar(form);
    buttons_.assign(rows_.size(), nullptr);
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].button > 0)
            order.push_back(i);
    }
    std::ranges::sort(order, {}, [this](std::size_t i) { return rows_[i].button; });
    for (std::size_t i : order) {
        const Row& row = rows_[i];
        const ToolbarEntry kind = row.kind == CommandKind::ToolbarGap      ? ToolbarEntry::Gap
                                  : row.kind == CommandKind::ToolbarSpacer ? ToolbarEntry::Separator
                                                                           : ToolbarEntry::Button;
        QAction* entry =
            AddToolbarEntry(*form.tbrToolbar, kind, row.button, row.icon,
                            [&form](int index) { form.tbrToolbar_ButtonClick(index); });
        if (kind == ToolbarEntry::Button)
            entry->setToolTip(row.tooltip);
        // A table row naming a button past the form's array is a fault of the table: it is
        // caught in every build, never written past the array.
        if (std::size_t(row.button) >= form.tbrButtons.size())
            qFatal("toolbar button %d of %s beyond the form's %zu buttons", row.button,
                   row.name ? row.name : "?", form.tbrButtons.size());
        form.tbrButtons[std::size_t(row.button)] = entry;
        buttons_[i] = entry;
    }
}

template <class Form> void FormCommands<Form>::Click(Form& form, int index) const {
    for (const Row& row : rows_) {
        if (row.button == index && row.handler) {
            (form.*row.handler)();
            return;
        }
    }
}

template <class Form> QAction* FormCommands<Form>::Button(QAction* Form::*action) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].action == action && rows_[i].button > 0)
            return buttons_.at(i);
    }
    qFatal("FormCommands::Button: no toolbar button for this command");
}

template <class Form> void FormCommands<Form>::ApplyState(bool on) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        QAction* action = actions_.at(i);
        QAction* button = buttons_.empty() ? nullptr : buttons_.at(i);
        switch (rows_[i].state) {
        case CommandState::Unchanged:
            break;
        case CommandState::EnabledWhenOn:
        case CommandState::DisabledInBoth:
            for (QAction* a : {action, button}) {
                if (a)
                    a->setEnabled(on && rows_[i].state == CommandState::EnabledWhenOn);
            }
            break;
        case CommandState::ShownWhenOn:
            if (action)
                action->setVisible(on);
            break;
        }
    }
}

} // namespace platform
