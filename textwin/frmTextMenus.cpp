// Conversion window: the command table, the menus and the toolbar built from it and the
// toolbar's clicks.
#include "platform/CommandTable.h"
#include "textwin/frmText.h"
#include "textwin/frmTextTexts.h"

using namespace frmTextTexts;

const std::vector<platform::CommandRow<frmText>>& frmText::CommandTable() {
    using K = platform::CommandKind;
    static const std::vector<platform::CommandRow<frmText>> rows = {
        // File
        {.kind = K::Menu, .name = "mnuFile", .caption = FileMenu, .menu = &frmText::mnuFile},
        {.parent = "mnuFile",
         .name = "mnuFileOpen",
         .caption = FileOpen,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_O),
         .handler = &frmText::mnuFileOpen_Click,
         .action = &frmText::mnuFileOpen,
         .button = 2,
         .tooltip = OpenTip,
         .icon = ":/icons/open.svg"},
        {.kind = K::Separator, .parent = "mnuFile", .name = "mnuBar1", .action = &frmText::mnuBar1},
        {.parent = "mnuFile",
         .name = "mnuSaveAs",
         .caption = SaveAs,
         .shortcut = QKeySequence(Qt::Key_F12),
         .handler = &frmText::mnuSaveAs_Click,
         .action = &frmText::mnuSaveAs,
         .button = 3,
         .tooltip = SaveAsTip,
         .icon = ":/icons/save.svg"},
        {.kind = K::Separator, .parent = "mnuFile", .name = "mnuBar2", .action = &frmText::mnuBar2},
        {.parent = "mnuFile",
         .name = "mnuPrint",
         .caption = Print,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_P),
         .handler = &frmText::mnuPrint_Click,
         .action = &frmText::mnuPrint,
         .button = 9,
         .tooltip = PrintTip,
         .icon = ":/icons/print.svg"},
        {.kind = K::Separator, .parent = "mnuFile", .name = "mnuBar3", .action = &frmText::mnuBar3},
        {.parent = "mnuFile",
         .name = "mnuClose",
         .caption = Close,
         .handler = &frmText::mnuClose_Click,
         .action = &frmText::mnuClose},
        // Edit
        {.kind = K::Menu,
         .name = "mnuEdit",
         .caption = EditMenu,
         .handler = &frmText::mnuEdit_Click,
         .menu = &frmText::mnuEdit},
        {.parent = "mnuEdit",
         .name = "mnuCut",
         .caption = Cut,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_X),
         .handler = &frmText::mnuCut_Click,
         .action = &frmText::mnuCut,
         .button = 5,
         .tooltip = CutTip,
         .icon = ":/icons/cut.svg"},
        {.parent = "mnuEdit",
         .name = "mnuCopy",
         .caption = Copy,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_C),
         .handler = &frmText::mnuCopy_Click,
         .action = &frmText::mnuCopy,
         .button = 6,
         .tooltip = CopyTip,
         .icon = ":/icons/copy.svg"},
        {.parent = "mnuEdit",
         .name = "mnuPaste",
         .caption = Paste,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_V),
         .handler = &frmText::mnuPaste_Click,
         .action = &frmText::mnuPaste,
         .button = 7,
         .tooltip = PasteTip,
         .icon = ":/icons/paste.svg"},
        {.parent = "mnuEdit",
         .name = "mnuDelete",
         .caption = Delete,
         .shortcut = QKeySequence(Qt::Key_Delete),
         .handler = &frmText::mnuDelete_Click,
         .action = &frmText::mnuDelete},
        {.kind = K::Separator, .parent = "mnuEdit", .name = "mnuBar4", .action = &frmText::mnuBar4},
        {.parent = "mnuEdit",
         .name = "mnuAllSelect",
         .caption = AllSelect,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_A),
         .handler = &frmText::mnuAllSelect_Click,
         .action = &frmText::mnuAllSelect},
        // View
        {.kind = K::Menu, .name = "mnuView", .caption = ViewMenu, .menu = &frmText::mnuView},
        {.parent = "mnuView",
         .name = "mnuFont",
         .caption = Font,
         .handler = &frmText::mnuFont_Click,
         .action = &frmText::mnuFont,
         .button = 11,
         .tooltip = FontTip,
         .icon = ":/icons/font.svg"},
        {.parent = "mnuView",
         .name = "mnuBackColor",
         .caption = BackColor,
         .handler = &frmText::mnuBackColor_Click,
         .action = &frmText::mnuBackColor},
        // Toolbar places that stand for no menu item.
        {.kind = K::ToolbarGap, .button = 1},
        {.kind = K::ToolbarSpacer, .button = 4},
        {.kind = K::ToolbarSpacer, .button = 8},
        {.kind = K::ToolbarSpacer, .button = 10},
    };
    return rows;
}

void frmText::BuildMenus() {
    commands_.BuildMenus(*this);
}

void frmText::SetupToolbar() {
    commands_.BuildToolbar(*this);
}

void frmText::tbrToolbar_ButtonClick(int index) {
    commands_.Click(*this, index);
}
