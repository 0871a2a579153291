// Conversion window: construction, menus and toolbar, the stored settings, the life cycle
// (a person's close hides, File > Close and the main window's unload end it).
#include "textwin/frmText.h"

#include "app/WindowGeometry.h"
#include "platform/Dialogs.h"
#include "platform/FormToolbar.h"
#include "platform/FrameFit.h"
#include "platform/Rounding.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationSignals.h"
#include "platform/Twips.h"
#include "textwin/TextWindowSettings.h"
#include "textwin/frmTextTexts.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

using namespace frmTextTexts;

namespace {
// Design client area in twips (below the menu bar; the toolbar is inside it).
constexpr double DesignClientWidthTwips = 8280;
constexpr double DesignClientHeightTwips = 4830;

// The default position's edge: centred, halves to even, within the 16-bit range.
float DefaultEdgeTwips(int screen, int outer, double twipsPerPixel) {
    return std::clamp(platform::CentredTwips(screen, outer, twipsPerPixel), -32768.0f, 32767.0f);
}

} // namespace

frmText::frmText(platform::Dialogs& dialogs, platform::SettingsStore& store)
    : QMainWindow(nullptr), dialogs_(dialogs), store_(store) {
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(Caption);
    setContextMenuPolicy(Qt::NoContextMenu);
    rtfView = new ConversionView(this);
    rtfView->setObjectName(QStringLiteral("rtfView"));
    setCentralWidget(rtfView);
    rtfView->installEventFilter(this);
    BuildMenus();
    Form_Load();
}

frmText::~frmText() = default;

void frmText::BuildMenus() {
    struct Item {
        QMenu* menu;
        const char* name;
        const QString* caption; // null for a separator
        QKeySequence shortcut;
        void (frmText::*handler)();
        QAction* frmText::*member;
    };
    const auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    mnuFile = menu("mnuFile", FileMenu);
    mnuEdit = menu("mnuEdit", EditMenu);
    mnuView = menu("mnuView", ViewMenu);
    const Item items[] = {
        {mnuFile, "mnuFileOpen", &FileOpen, QKeySequence(Qt::CTRL | Qt::Key_O),
         &frmText::mnuFileOpen_Click, &frmText::mnuFileOpen},
        {mnuFile, "mnuBar1", nullptr, {}, nullptr, &frmText::mnuBar1},
        {mnuFile, "mnuSaveAs", &SaveAs, QKeySequence(Qt::Key_F12), &frmText::mnuSaveAs_Click,
         &frmText::mnuSaveAs},
        {mnuFile, "mnuBar2", nullptr, {}, nullptr, &frmText::mnuBar2},
        {mnuFile, "mnuPrint", &Print, QKeySequence(Qt::CTRL | Qt::Key_P), &frmText::mnuPrint_Click,
         &frmText::mnuPrint},
        {mnuFile, "mnuBar3", nullptr, {}, nullptr, &frmText::mnuBar3},
        {mnuFile, "mnuClose", &Close, {}, &frmText::mnuClose_Click, &frmText::mnuClose},
        {mnuEdit, "mnuCut", &Cut, QKeySequence(Qt::CTRL | Qt::Key_X), &frmText::mnuCut_Click,
         &frmText::mnuCut},
        {mnuEdit, "mnuCopy", &Copy, QKeySequence(Qt::CTRL | Qt::Key_C), &frmText::mnuCopy_Click,
         &frmText::mnuCopy},
        {mnuEdit, "mnuPaste", &Paste, QKeySequence(Qt::CTRL | Qt::Key_V), &frmText::mnuPaste_Click,
         &frmText::mnuPaste},
        {mnuEdit, "mnuDelete", &Delete, QKeySequence(Qt::Key_Delete), &frmText::mnuDelete_Click,
         &frmText::mnuDelete},
        {mnuEdit, "mnuBar4", nullptr, {}, nullptr, &frmText::mnuBar4},
        {mnuEdit, "mnuAllSelect", &AllSelect, QKeySequence(Qt::CTRL | Qt::Key_A),
         &frmText::mnuAllSelect_Click, &frmText::mnuAllSelect},
        {mnuView, "mnuFont", &Font, {}, &frmText::mnuFont_Click, &frmText::mnuFont},
        {mnuView,
         "mnuBackColor",
         &BackColor,
         {},
         &frmText::mnuBackColor_Click,
         &frmText::mnuBackColor},
    };
    for (const Item& item : items) {
        QAction* action =
            item.caption ? item.menu->addAction(*item.caption) : item.menu->addSeparator();
        action->setObjectName(QLatin1String(item.name));
        if (item.caption) {
            action->setShortcut(item.shortcut);
            connect(action, &QAction::triggered, this, item.handler);
        }
        this->*item.member = action;
    }
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmText::mnuEdit_Click);
}

void frmText::Form_Load() {
    LoadWindowSettings();
    SetupToolbar();
    // The toolbar's Cut, Copy and Paste follow the clipboard and the selection as they
    // change, whether the window is shown or not.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &frmText::tmrText_Timer);
    connect(rtfView, &QTextEdit::copyAvailable, this, &frmText::tmrText_Timer);
    connect(rtfView, &QTextEdit::selectionChanged, this, &frmText::tmrText_Timer);
    tmrText_Timer();
}

void frmText::SetupToolbar() {
    tbrToolbar = platform::AddFormToolbar(*this);

    using Style = platform::ToolbarEntry;
    struct Button {
        Style style;
        const char* icon;
    };
    const Button buttons[] = {
        {Style::Gap, nullptr},
        {Style::Button, ":/icons/open.svg"},
        {Style::Button, ":/icons/save.svg"},
        {Style::Separator, nullptr},
        {Style::Button, ":/icons/cut.svg"},
        {Style::Button, ":/icons/copy.svg"},
        {Style::Button, ":/icons/paste.svg"},
        {Style::Separator, nullptr},
        {Style::Button, ":/icons/print.svg"},
        {Style::Separator, nullptr},
        {Style::Button, ":/icons/font.svg"},
    };
    for (int index = 1; index <= 11; ++index) {
        const Button& b = buttons[index - 1];
        tbrButtons[index] = platform::AddToolbarEntry(*tbrToolbar, b.style, index, b.icon,
                                                      [this](int i) { tbrToolbar_ButtonClick(i); });
    }
    const std::pair<int, const QString*> tips[] = {{2, &OpenTip}, {3, &SaveAsTip}, {5, &CutTip},
                                                   {6, &CopyTip}, {7, &PasteTip},  {9, &PrintTip},
                                                   {11, &FontTip}};
    for (const auto& [index, tip] : tips)
        tbrButtons[index]->setToolTip(*tip);
}

void frmText::tbrToolbar_ButtonClick(int index) {
    switch (index) {
    case 2:
        mnuFileOpen_Click();
        break;
    case 3:
        mnuSaveAs_Click();
        break;
    case 5:
        mnuCut_Click();
        break;
    case 6:
        mnuCopy_Click();
        break;
    case 7:
        mnuPaste_Click();
        break;
    case 9:
        mnuPrint_Click();
        break;
    case 11:
        mnuFont_Click();
        break;
    default:
        break;
    }
}

void frmText::mnuClose_Click() {
    Q_EMIT UnloadRequested();
}

void frmText::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    SaveWindowSettings();
    // The toolbar stops following the clipboard and the selection.
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    disconnect(rtfView, nullptr, this, nullptr);
    closing_ = true;
}

void frmText::closeEvent(QCloseEvent* event) {
    // A logout (the session saving its state) or a termination signal closes for good,
    // so that it never waits on this window; the main window's unload then stores the
    // settings.
    if (closing_ || platform::TerminationRequested() || qGuiApp->isSavingSession()) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
}

void frmText::LoadWindowSettings() {
    const textwin::TextWindowSettings s = textwin::LoadTextWindowSettings(store_);
    const double tx = platform::TwipsPerPixelX();
    const double ty = platform::TwipsPerPixelY();
    // Before the first show the window has no frame: this is its client size.
    resize(int(platform::RoundHalfEven(DesignClientWidthTwips / tx)),
           int(platform::RoundHalfEven(DesignClientHeightTwips / ty)) +
               menuBar()->sizeHint().height());
    const QSize outer = frameGeometry().size();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const float defaultLeft = DefaultEdgeTwips(screenSize.width(), outer.width(), tx);
    const float defaultTop = DefaultEdgeTwips(screenSize.height(), outer.height(), ty);
    const float left = s.Left.value_or(defaultLeft);
    const float top = s.Top.value_or(defaultTop);
    const float height = s.Height.value_or(float(outer.height() * ty));
    const float width = s.Width.value_or(float(outer.width() * tx));
    const QRect stored(platform::PixelsFromTwips(left, tx, -platform::MaxWindowCoordinate,
                                                 platform::MaxWindowCoordinate),
                       platform::PixelsFromTwips(top, ty, -platform::MaxWindowCoordinate,
                                                 platform::MaxWindowCoordinate),
                       platform::PixelsFromTwips(width, tx, 1, platform::MaxWindowCoordinate),
                       platform::PixelsFromTwips(height, ty, 1, platform::MaxWindowCoordinate));
    // A geometry the screen cannot hold (another monitor, a damaged file) is fitted to
    // the screen the window's corner falls on.
    const QScreen* target = QGuiApplication::screenAt(stored.topLeft());
    if (!target)
        target = screen;
    const QRect fitted =
        target ? mGlyfora::FitWindowGeometry(stored, target->availableGeometry(), outer) : stored;
    move(fitted.topLeft());
    resize(fitted.size());
    const bool designSize = fitted.size() != stored.size();
    frameFit_.Arm({!designSize && s.Width.has_value(), !designSize && s.Height.has_value(),
                   designSize || !s.Left.has_value(), designSize || !s.Top.has_value()});

    QFont font(s.Font.Name);
    font.setBold(s.Font.Bold);
    font.setItalic(s.Font.Italic);
    font.setStrikeOut(s.Font.Strikethrough);
    font.setUnderline(s.Font.Underline);
    font.setPointSizeF(s.Font.Size);
    rtfView->SetBaseFont(font);
    rtfView->SetBackColor(s.BackColor);
    rtfView->SetSelColor(s.ForeColor);
}

void frmText::SaveWindowSettings() {
    textwin::TextWindowSettings s;
    const bool normal =
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    // Before the window manager has framed the window its frame is its size as loaded.
    const double tx = platform::TwipsPerPixelX();
    const double ty = platform::TwipsPerPixelY();
    const QRect outer = frameGeometry();
    if (platform::WindowPositionsKnown()) {
        s.Left = float(outer.x() * tx);
        s.Top = float(outer.y() * ty);
    }
    s.Height = float(outer.height() * ty);
    s.Width = float(outer.width() * tx);
    const QFont font = rtfView->BaseFont();
    s.Font.Name = font.family();
    s.Font.Bold = font.bold();
    s.Font.Italic = font.italic();
    s.Font.Strikethrough = font.strikeOut();
    s.Font.Underline = font.underline();
    s.Font.Size = float(font.pointSizeF());
    s.BackColor = rtfView->BackColor();
    // With colours mixed in the selection, the colour it starts with goes on.
    s.ForeColor = rtfView->SelColor().value_or(rtfView->LeadColor());
    textwin::SaveTextWindowSettings(store_, s, normal);
}

void frmText::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    frameFit_.Shown(*this);
}

void frmText::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    frameFit_.Moved(*this);
}

void frmText::ShowError(const QString& message) {
    dialogs_.Message(this, message, platform::MsgIcon::Critical);
}
