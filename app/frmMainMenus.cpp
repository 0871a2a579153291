// Main window: the command table, the menus and the toolbar built from it, the picture
// states of its rows, the toolbar's clicks and the bar toggles.
#include "app/frmMain.h"
#include "app/frmMainCommands.h"
#include "app/frmMainTexts.h"

#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

using namespace frmMainTexts;

namespace {
// Width of toolbar button 1, the empty gap before the first button.
constexpr int ToolbarGapWidth = 8;

QString IndexedName(const char* name, int index) {
    return QLatin1String(name) + u'(' + QString::number(index) + u')';
}
} // namespace

const std::vector<CommandRow>& frmMain::CommandTable() {
    using K = CommandKind;
    using P = PictureState;
    static const std::vector<CommandRow> rows = {
        // File
        {.kind = K::Menu, .name = "mnuFile", .caption = FileMenu, .menu = &frmMain::mnuFile},
        {.parent = "mnuFile",
         .name = "mnuFileOpen",
         .caption = FileOpen,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_O),
         .handler = &frmMain::mnuFileOpen_Click,
         .action = &frmMain::mnuFileOpen,
         .button = 2,
         .tooltip = OpenTip,
         .iconTheme = "document-open",
         .iconFallback = QStyle::SP_DialogOpenButton},
        {.kind = K::Separator, .parent = "mnuFile", .name = "mnuBar1", .action = &frmMain::mnuBar1},
        {.kind = K::RecentItems, .parent = "mnuFile", .name = "mnuRecent"},
        {.kind = K::Separator,
         .parent = "mnuFile",
         .name = "mnuBarRecent",
         .action = &frmMain::mnuBarRecent,
         .hidden = true},
        {.parent = "mnuFile",
         .name = "mnuExit",
         .caption = Exit,
         .handler = &frmMain::mnuExit_Click,
         .action = &frmMain::mnuExit},
        // Edit: copying has no command yet, so the item stays out of the menus; it and its
        // button keep the picture states.
        {.name = "mnuCopy",
         .caption = Copy,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_C),
         .action = &frmMain::mnuCopy,
         .state = P::EnabledWithPicture,
         .button = 4,
         .tooltip = CopyTip,
         .iconTheme = "edit-copy",
         .iconFallback = QStyle::SP_FileIcon},
        // Image
        {.kind = K::Menu,
         .name = "mnuImage",
         .caption = ImageMenu,
         .menu = &frmMain::mnuImage,
         .state = P::ShownWithPicture},
        {.parent = "mnuImage",
         .name = "mnuNormalView",
         .caption = NormalView,
         .action = &frmMain::mnuNormalView,
         .state = P::DisabledByBoth},
        {.parent = "mnuImage",
         .name = "mnuResize",
         .caption = Resize,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_S),
         .action = &frmMain::mnuResize,
         .state = P::EnabledWithPicture,
         .button = 7,
         .tooltip = ResizeTip,
         .iconTheme = "transform-scale",
         .iconFallback = QStyle::SP_TitleBarMaxButton},
        {.kind = K::Separator, .parent = "mnuImage", .name = "mnuBar2"},
        {.kind = K::Menu,
         .parent = "mnuImage",
         .name = "mnuRevolving",
         .caption = Revolving,
         .menu = &frmMain::mnuRevolving,
         .state = P::EnabledWithPicture},
        // Run
        {.kind = K::Menu,
         .name = "mnuRun",
         .caption = RunMenu,
         .menu = &frmMain::mnuRun,
         .state = P::ShownWithPicture},
        {.parent = "mnuRun",
         .name = "mnuTextConversion",
         .caption = TextConversion,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_T),
         .action = &frmMain::mnuTextConversion,
         .state = P::EnabledWithPicture,
         .button = 9,
         .tooltip = TextConversionTip,
         .iconTheme = "format-justify-left",
         .iconFallback = QStyle::SP_FileDialogDetailedView},
        {.kind = K::Separator, .parent = "mnuRun", .name = "mnuBar4"},
        {.parent = "mnuRun",
         .name = "mnuHTMLConversion",
         .caption = HTMLConversion,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_H),
         .action = &frmMain::mnuHTMLConversion,
         .state = P::EnabledWithPicture,
         .button = 10,
         .tooltip = HTMLConversionTip,
         .iconTheme = "text-html",
         .iconFallback = QStyle::SP_DriveNetIcon},
        // Options
        {.kind = K::Menu,
         .name = "mnuOptions",
         .caption = OptionsMenu,
         .menu = &frmMain::mnuOptions},
        {.kind = K::CheckItem,
         .parent = "mnuOptions",
         .name = "mnuToolBar",
         .caption = ToolBar,
         .handler = &frmMain::mnuToolBar_Click,
         .action = &frmMain::mnuToolBar},
        {.kind = K::CheckItem,
         .parent = "mnuOptions",
         .name = "mnuStatusBar",
         .caption = StatusBar,
         .handler = &frmMain::mnuStatusBar_Click,
         .action = &frmMain::mnuStatusBar},
        // Toolbar places that stand for no menu item.
        {.kind = K::ToolbarGap, .button = 1},
        {.kind = K::ToolbarSpacer, .button = 3},
        {.kind = K::ToolbarSpacer, .button = 6},
        {.kind = K::ToolbarSpacer, .button = 8},
        {.kind = K::ToolbarSpacer, .button = 11},
    };
    return rows;
}

void frmMain::BuildMenus() {
    const std::vector<CommandRow>& table = CommandTable();
    commandActions_.assign(table.size(), nullptr);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const CommandRow& row = table[i];
        const QString name = QLatin1String(row.name);
        QMenu* parent =
            row.parent ? menuBar()->findChild<QMenu*>(QLatin1String(row.parent)) : nullptr;
        QAction* action = nullptr;
        switch (row.kind) {
        case CommandKind::Menu: {
            QMenu* menu = parent ? parent->addMenu(row.caption) : menuBar()->addMenu(row.caption);
            menu->setObjectName(name);
            this->*row.menu = menu;
            action = menu->menuAction();
            break;
        }
        case CommandKind::Item:
        case CommandKind::CheckItem:
            action = parent ? parent->addAction(row.caption) : new QAction(row.caption, this);
            action->setShortcut(row.shortcut);
            action->setCheckable(row.kind == CommandKind::CheckItem);
            if (!parent)
                addAction(action); // its shortcut works from the window
            if (row.handler)
                connect(action, &QAction::triggered, this, row.handler);
            break;
        case CommandKind::Separator:
            action = parent->addSeparator();
            break;
        case CommandKind::RecentItems:
            for (int index = 0; index < int(mnuRecent.size()); ++index) {
                QAction* item = parent->addAction(QString());
                item->setObjectName(IndexedName(row.name, index));
                item->setProperty("Index", index);
                item->setVisible(false);
                connect(item, &QAction::triggered, this, [this, index] { mnuRecent_Click(index); });
                mnuRecent[index] = item;
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
            this->*row.action = action;
        commandActions_[i] = action;
    }
}

void frmMain::SetupToolbar() {
    tbrToolbar = addToolBar(QStringLiteral("tbrToolbar"));
    tbrToolbar->setObjectName(QStringLiteral("tbrToolbar"));
    tbrToolbar->setMovable(false);
    tbrToolbar->setFloatable(false);
    tbrToolbar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    const std::vector<CommandRow>& table = CommandTable();
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].button > 0)
            order.push_back(i);
    }
    std::ranges::sort(order, {}, [&](std::size_t i) { return table[i].button; });
    for (std::size_t i : order) {
        const CommandRow& row = table[i];
        QAction* button = nullptr;
        if (row.kind == CommandKind::ToolbarGap) {
            auto* gap = new QWidget(tbrToolbar);
            gap->setFixedWidth(ToolbarGapWidth);
            button = tbrToolbar->addWidget(gap);
        } else if (row.kind == CommandKind::ToolbarSpacer) {
            button = tbrToolbar->addSeparator();
        } else {
            const QIcon icon = QIcon::fromTheme(QLatin1String(row.iconTheme),
                                                style()->standardIcon(row.iconFallback));
            const int index = row.button;
            button = tbrToolbar->addAction(icon, QString(), this,
                                           [this, index] { tbrToolbar_ButtonClick(index); });
            button->setToolTip(row.tooltip);
        }
        button->setObjectName(IndexedName("tbrButtons", row.button));
        button->setProperty("Index", row.button);
        tbrButtons[row.button] = button;
    }
}

void frmMain::tbrToolbar_ButtonClick(int index) {
    for (const CommandRow& row : CommandTable()) {
        if (row.button == index && row.handler) {
            (this->*row.handler)();
            return;
        }
    }
}

void frmMain::SetPictureCommands(bool loaded) {
    const std::vector<CommandRow>& table = CommandTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        QAction* action = commandActions_[i];
        QAction* button = table[i].button > 0 ? tbrButtons[table[i].button] : nullptr;
        switch (table[i].state) {
        case PictureState::Unchanged:
            break;
        case PictureState::EnabledWithPicture:
            for (QAction* a : {action, button}) {
                if (a)
                    a->setEnabled(loaded);
            }
            break;
        case PictureState::ShownWithPicture:
            if (action)
                action->setVisible(loaded);
            break;
        case PictureState::DisabledByBoth:
            for (QAction* a : {action, button}) {
                if (a)
                    a->setEnabled(false);
            }
            break;
        }
    }
}

void frmMain::mnuToolBar_Click() {
    tbrToolbar->setVisible(mnuToolBar->isChecked());
    // The viewport takes the bar's room now, so the layout below sees its new size.
    layout()->activate();
    Form_Resize();
}

void frmMain::mnuStatusBar_Click() {
    sbrUnder->setVisible(mnuStatusBar->isChecked());
    layout()->activate();
    Form_Resize();
}
