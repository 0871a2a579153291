// Main window: the command table, the menus and the toolbar built from it, the picture
// states of its rows, the toolbar's clicks, the Edit menu's and the paste button's
// clipboard states, the right-click File menu and the bar toggles.
#include "app/MouseUpFilter.h"
#include "app/frmMain.h"
#include "app/frmMainHelpTexts.h"
#include "app/frmMainTexts.h"
#include "platform/CommandTable.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

using namespace frmMainTexts;

namespace {
// What a picture shown (the "on" state) or none does to a row.
constexpr auto EnabledWithPicture = platform::CommandState::EnabledWhenOn;
constexpr auto ShownWithPicture = platform::CommandState::ShownWhenOn;
constexpr auto DisabledByBoth = platform::CommandState::DisabledInBoth;

bool ClipboardHoldsImage() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}
} // namespace

const std::vector<platform::CommandRow<frmMain>>& frmMain::CommandTable() {
    using K = platform::CommandKind;
    static const std::vector<platform::CommandRow<frmMain>> rows = {
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
         .icon = ":/icons/open.svg"},
        {.kind = K::Separator, .parent = "mnuFile", .name = "mnuBar1", .action = &frmMain::mnuBar1},
        {.kind = K::ItemArray,
         .parent = "mnuFile",
         .name = "mnuRecent",
         .count = int(std::tuple_size_v<decltype(frmMain::mnuRecent)>),
         .indexedHandler = &frmMain::mnuRecent_Click},
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
        // Edit
        {.kind = K::Menu,
         .name = "mnuEdit",
         .caption = EditMenu,
         .handler = &frmMain::mnuEdit_Click,
         .menu = &frmMain::mnuEdit},
        {.parent = "mnuEdit",
         .name = "mnuCopy",
         .caption = Copy,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_C),
         .handler = &frmMain::mnuCopy_Click,
         .action = &frmMain::mnuCopy,
         .state = EnabledWithPicture,
         .button = 4,
         .tooltip = CopyTip,
         .icon = ":/icons/copy.svg"},
        {.parent = "mnuEdit",
         .name = "mnuPaste",
         .caption = Paste,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_V),
         .handler = &frmMain::mnuPaste_Click,
         .action = &frmMain::mnuPaste,
         .button = 5,
         .tooltip = PasteTip,
         .icon = ":/icons/paste.svg"},
        // Image
        {.kind = K::Menu,
         .name = "mnuImage",
         .caption = ImageMenu,
         .menu = &frmMain::mnuImage,
         .state = ShownWithPicture},
        {.parent = "mnuImage",
         .name = "mnuNormalView",
         .caption = NormalView,
         .handler = &frmMain::mnuNormalView_Click,
         .action = &frmMain::mnuNormalView,
         .state = DisabledByBoth},
        {.parent = "mnuImage",
         .name = "mnuResize",
         .caption = Resize,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_S),
         .handler = &frmMain::mnuResize_Click,
         .action = &frmMain::mnuResize,
         .state = EnabledWithPicture,
         .button = 7,
         .tooltip = ResizeTip,
         .icon = ":/icons/resize.svg"},
        {.kind = K::Separator, .parent = "mnuImage", .name = "mnuBar2"},
        {.kind = K::Menu,
         .parent = "mnuImage",
         .name = "mnuRevolving",
         .caption = Revolving,
         .menu = &frmMain::mnuRevolving,
         .state = EnabledWithPicture},
        {.parent = "mnuRevolving",
         .name = "mnuAngle",
         .caption = Angle180,
         .index = 0,
         .indexedHandler = &frmMain::mnuAngle_Click},
        {.parent = "mnuRevolving",
         .name = "mnuAngle",
         .caption = Angle90Clockwise,
         .index = 1,
         .indexedHandler = &frmMain::mnuAngle_Click},
        {.parent = "mnuRevolving",
         .name = "mnuAngle",
         .caption = Angle90CounterClockwise,
         .index = 2,
         .indexedHandler = &frmMain::mnuAngle_Click},
        {.parent = "mnuRevolving",
         .name = "mnuAngleIn",
         .caption = AngleIn,
         .handler = &frmMain::mnuAngleIn_Click,
         .action = &frmMain::mnuAngleIn},
        {.kind = K::Separator, .parent = "mnuRevolving", .name = "mnuBar3"},
        {.parent = "mnuRevolving",
         .name = "mnuMirrorH",
         .caption = MirrorH,
         .handler = &frmMain::mnuMirrorH_Click,
         .action = &frmMain::mnuMirrorH},
        {.parent = "mnuRevolving",
         .name = "mnuMirrorV",
         .caption = MirrorV,
         .handler = &frmMain::mnuMirrorV_Click,
         .action = &frmMain::mnuMirrorV},
        {.kind = K::Separator, .parent = "mnuImage", .name = "mnuBar"},
        {.parent = "mnuImage",
         .name = "mnuColor",
         .caption = Color,
         .handler = &frmMain::mnuColor_Click,
         .action = &frmMain::mnuColor},
        // Run
        {.kind = K::Menu,
         .name = "mnuRun",
         .caption = RunMenu,
         .menu = &frmMain::mnuRun,
         .state = ShownWithPicture},
        {.parent = "mnuRun",
         .name = "mnuTextConversion",
         .caption = TextConversion,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_T),
         .handler = &frmMain::mnuTextConversion_Click,
         .action = &frmMain::mnuTextConversion,
         .state = EnabledWithPicture,
         .button = 9,
         .tooltip = TextConversionTip,
         .icon = ":/icons/text.svg"},
        {.kind = K::Separator, .parent = "mnuRun", .name = "mnuBar4"},
        {.parent = "mnuRun",
         .name = "mnuHTMLConversion",
         .caption = HTMLConversion,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_H),
         .handler = &frmMain::mnuHTMLConversion_Click,
         .action = &frmMain::mnuHTMLConversion,
         .state = EnabledWithPicture,
         .button = 10,
         .tooltip = HTMLConversionTip,
         .icon = ":/icons/html.svg"},
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
        {.kind = K::Separator, .parent = "mnuOptions", .name = "mnuBar5"},
        {.parent = "mnuOptions",
         .name = "mnuOption",
         .caption = Option,
         .handler = &frmMain::mnuOption_Click,
         .action = &frmMain::mnuOption,
         .button = 12,
         .tooltip = OptionTip,
         .icon = ":/icons/options.svg"},
        // Window
        {.kind = K::Menu, .name = "mnuWindow", .caption = WindowMenu, .menu = &frmMain::mnuWindow},
        {.parent = "mnuWindow",
         .name = "mnuShowText",
         .caption = ShowText,
         .shortcut = QKeySequence(Qt::CTRL | Qt::Key_W),
         .handler = &frmMain::mnuShowText_Click,
         .action = &frmMain::mnuShowText},
        // Help
        {.kind = K::Menu, .name = "mnuHelp", .caption = HelpMenu, .menu = &frmMain::mnuHelp},
        {.parent = "mnuHelp",
         .name = "mnuHelpTopics",
         .caption = HelpTopics,
         .handler = &frmMain::mnuHelpTopics_Click,
         .action = &frmMain::mnuHelpTopics},
        {.kind = K::Separator, .parent = "mnuHelp", .name = "mnuBar6"},
        {.parent = "mnuHelp",
         .name = "mnuAbout",
         .caption = About,
         .handler = &frmMain::mnuAbout_Click,
         .action = &frmMain::mnuAbout},
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
    commands_.BuildMenus(*this);
    platform::FindArray(*this, "mnuRecent", mnuRecent);
    platform::FindArray(*this, "mnuAngle", mnuAngle);
}

void frmMain::SetupToolbar() {
    commands_.BuildToolbar(*this);
    setContextMenuPolicy(Qt::NoContextMenu);

    MouseUpFilter::Watch(tbrToolbar, MouseUpFilter::Area::Whole,
                         [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos) {
                             tbrToolbar_MouseUp(button, shift, pos);
                         });
    // The picture, the scroll bars and the corner box have their own mouse events.
    MouseUpFilter::Watch(picBase, MouseUpFilter::Area::OwnSurface,
                         [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos) {
                             picBase_MouseUp(button, shift, pos);
                         });

    // The paste button follows the clipboard from now on; the clipboard says when it
    // changes, so nothing polls it.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &frmMain::tmrMain_Timer);
    tmrMain_Timer();
}

void frmMain::tbrToolbar_ButtonClick(int index) {
    commands_.Click(*this, index);
}

void frmMain::tbrToolbar_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint globalPos) {
    if (button == Qt::RightButton)
        mnuFile->popup(globalPos);
}

void frmMain::picBase_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint globalPos) {
    if (button == Qt::RightButton)
        mnuFile->popup(globalPos);
}

void frmMain::mnuEdit_Click() {
    mnuCopy->setEnabled(picView->isVisibleTo(this));
    mnuPaste->setEnabled(ClipboardHoldsImage());
}

void frmMain::tmrMain_Timer() {
    commands_.Button(&frmMain::mnuPaste)->setEnabled(ClipboardHoldsImage());
}

void frmMain::SetPictureCommands(bool loaded) {
    commands_.ApplyState(loaded);
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
